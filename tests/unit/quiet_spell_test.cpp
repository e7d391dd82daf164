#include "app/quiet_spell.h"

#include <gtest/gtest.h>

#include <vector>

namespace tastomat {
namespace {

using std::chrono::milliseconds;

TEST(QuietSpell, WorkWaitsForTheLauncherToBeLeftAloneForTheWholeSpell) {
    struct Ask {
        int at_ms;
        bool busy;
        bool over;
    };
    struct Case {
        const char* name;
        std::vector<Ask> asks;
    };
    const Case cases[] = {
        {"right after the start", {{0, false, false}, {299, false, false}, {300, false, true}}},
        {"the badge up at start",
         {{10, true, false}, {300, true, false}, {500, false, false}, {600, false, true}}},
        {"the badge up and hidden again: the spell counts from its last sight",
         {{400, false, true},
          {450, true, false},
          {500, false, false},
          {749, false, false},
          {750, false, true}}},
        {"never over while busy, however long", {{5000, true, false}, {9000, true, false}}},
        {"no ask while busy: nothing is known of it", {{1000, false, true}, {1001, false, true}}},
    };
    const auto start = QuietSpell::Clock::time_point{} + std::chrono::hours(1);
    for (const Case& c : cases) {
        QuietSpell spell(milliseconds(300), start);
        for (const Ask& ask : c.asks)
            EXPECT_EQ(spell.over(ask.busy, start + milliseconds(ask.at_ms)), ask.over)
                << c.name << " at " << ask.at_ms << " ms";
    }
}

}  // namespace
}  // namespace tastomat
