// The hotkey component against the real RegisterHotKey: one system-wide combination can
// belong to one window only, and the component must keep its Registered state honest.
#include <gtest/gtest.h>

#include <memory>

#include "components/fishotkey_win.h"

namespace tastomat {
namespace {

// Unlikely to be taken by anything else in the test prefix.
constexpr TShortCut kCtrlAltF9 = kShortCutCtrl | kShortCutAlt | 120;
constexpr TShortCut kCtrlAltF10 = kShortCutCtrl | kShortCutAlt | 121;

std::unique_ptr<Tfishotkey> armed(TShortCut key) {
    auto hotkey = std::make_unique<Tfishotkey>();
    hotkey->SetKey(key);
    return hotkey;
}

TEST(Fishotkey, TwoComponentsWithOneCombinationOnlyTheFirstRegisters) {
    auto first = armed(kCtrlAltF9);
    auto second = armed(kCtrlAltF9);
    EXPECT_TRUE(first->Registered());
    EXPECT_FALSE(second->Registered());
}

TEST(Fishotkey, SameKeyAgainDoesNotRetryButEnablingDoes) {
    auto first = armed(kCtrlAltF9);
    auto second = armed(kCtrlAltF9);
    ASSERT_FALSE(second->Registered());

    first->SetEnabled(false);
    EXPECT_FALSE(first->Registered());
    second->SetKey(kCtrlAltF9);  // unchanged value: nothing happens
    EXPECT_FALSE(second->Registered());
    second->SetEnabled(true);  // explicit retry
    EXPECT_TRUE(second->Registered());

    first->SetEnabled(true);  // now taken by the second one
    EXPECT_FALSE(first->Registered());
}

TEST(Fishotkey, ChangingTheKeyReleasesTheOldCombination) {
    auto first = armed(kCtrlAltF9);
    first->SetKey(kCtrlAltF10);
    EXPECT_TRUE(first->Registered());
    auto second = armed(kCtrlAltF9);
    EXPECT_TRUE(second->Registered());
    auto third = armed(kCtrlAltF10);
    EXPECT_FALSE(third->Registered());
}

TEST(Fishotkey, KeyChangedWhileDisabledIsOnlyStored) {
    Tfishotkey hotkey;
    hotkey.SetEnabled(false);
    hotkey.SetKey(kCtrlAltF9);
    EXPECT_EQ(hotkey.Key(), kCtrlAltF9);
    EXPECT_FALSE(hotkey.Registered());
    auto other = armed(kCtrlAltF9);
    EXPECT_TRUE(other->Registered());
}

TEST(Fishotkey, DestroyingTheComponentFreesItsCombination) {
    auto first = armed(kCtrlAltF9);
    ASSERT_TRUE(first->Registered());
    first.reset();
    auto second = armed(kCtrlAltF9);
    EXPECT_TRUE(second->Registered());
}

TEST(Fishotkey, LoadedRegistersOnlyWhenEnabled) {
    Tfishotkey enabled;
    Tfishotkey disabled;
    disabled.SetEnabled(false);
    // Set the stored key the way a window description would, then load.
    enabled.SetEnabled(false);
    enabled.SetKey(kCtrlAltF9);
    enabled.SetEnabled(true);
    disabled.SetKey(kCtrlAltF10);
    disabled.Loaded();
    EXPECT_TRUE(enabled.Registered());
    EXPECT_FALSE(disabled.Registered());
}

}  // namespace
}  // namespace tastomat
