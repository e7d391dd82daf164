#include "support/form_state.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "support/fakes.h"

namespace tastomat {
namespace {

constexpr const char* kDir = test::kSettingsDir;
constexpr const char* kFile = test::kSettingsFile;
constexpr const char* kBackup = test::kSettingsBackup;

// A control of any kind, holding every kind of value.
struct FakeControl final : FormControl {
    FakeControl(std::string n, ControlKind k) : name(std::move(n)), control_kind(k) {}
    std::string name;
    ControlKind control_kind;
    std::string value_text;
    double value_number = 0;
    int value_index = -1;
    bool value_checked = false;
    std::vector<bool> items;

    const std::string& component_name() const override { return name; }
    ControlKind kind() const override { return control_kind; }
    std::string text() const override { return value_text; }
    void set_text(const std::string& t) override { value_text = t; }
    double number() const override { return value_number; }
    void set_number(double v) override { value_number = v; }
    int index() const override { return value_index; }
    void set_index(int i) override { value_index = i; }
    bool checked() const override { return value_checked; }
    void set_checked(bool c) override { value_checked = c; }
    int item_count() const override { return static_cast<int>(items.size()); }
    bool item_checked(int i) const override { return items[static_cast<size_t>(i)]; }
    void set_item_checked(int i, bool c) override { items[static_cast<size_t>(i)] = c; }
};

struct FakeForm final : FormComponents {
    std::string name = "Programmliste";
    std::vector<std::unique_ptr<FakeControl>> controls;
    FakeControl& add(const std::string& n, ControlKind k) {
        controls.push_back(std::make_unique<FakeControl>(n, k));
        return *controls.back();
    }
    std::string component_name() const override { return name; }
    std::vector<FormControl*> components() const override {
        std::vector<FormControl*> list;
        for (const auto& c : controls) list.push_back(c.get());
        return list;
    }
};

struct FormStateTest : ::testing::Test {
    test::FakeFileSystem files;
    Windows1252 cp;
    FormStateFile storage{files, cp, ','};
    FakeForm form;

    FormStateTest() { files.add_dir(kDir); }

    // The settings window's input components as it creates them, buttons among them.
    void settings_window() {
        form.add("GroupBox1", ControlKind::Other);
        form.add("okbut", ControlKind::Other);
        form.add("kuerzel", ControlKind::LabeledEdit).value_text = "Alt+F12";
        form.add("programme", ControlKind::ListBox);
        form.add("PopupMenu1", ControlKind::Other);
        form.add("Parameter1", ControlKind::MenuItem);
        form.add("Verzeichnis1", ControlKind::MenuItem);
        form.add("loeschen", ControlKind::MenuItem);
    }
    FakeControl& control(const std::string& name) {
        for (auto& c : form.controls)
            if (c->name == name) return *c;
        throw std::logic_error(name);
    }
    void save() { SaveFormState(form, kFile, storage); }
    bool load() { return LoadFormState(form, kFile, storage); }
};

TEST_F(FormStateTest, FirstSaveAppendsTheWindowSectionAndTheMarkerByteForByte) {
    settings_window();
    save();
    EXPECT_EQ(files.content(kFile),
              "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=Alt+F12\r\nprogramme=-1\r\n"
              "Parameter1=0\r\nVerzeichnis1=0\r\nloeschen=0\r\n\r\n"
              "[Check]\r\nWroteSuccesful=1\r\n\r\n");
}

TEST_F(FormStateTest, ExistingSectionsKeepTheirPlacesAndNewKeysAreAppended) {
    files.add_file(kFile,
                   "[Buchstaben]\r\nA=x.exe\r\n\r\n[Programmliste]\r\nloeschen=1\r\n"
                   "fremd=ja\r\n\r\n[Fremd]\r\nk=v\r\n");
    settings_window();
    save();
    EXPECT_EQ(files.content(kFile),
              "[Buchstaben]\r\nA=x.exe\r\n\r\n"
              "[Programmliste]\r\nloeschen=0\r\nfremd=ja\r\nSektionVorhanden=1\r\n"
              "kuerzel=Alt+F12\r\nprogramme=-1\r\nParameter1=0\r\nVerzeichnis1=0\r\n\r\n"
              "[Fremd]\r\nk=v\r\n\r\n[Check]\r\nWroteSuccesful=1\r\n\r\n");
}

TEST_F(FormStateTest, EveryKindIsWrittenUnderItsKeysAndReadBack) {
    form.add("edit", ControlKind::Edit).value_text = "a=b c";
    auto& numeric = form.add("zahl", ControlKind::NumericEdit);
    numeric.value_text = "1.5 typed";
    numeric.value_number = 1.5;
    auto& combo = form.add("combo", ControlKind::ComboBox);
    combo.value_text = "zwei";
    combo.value_index = 1;
    form.add("check", ControlKind::CheckBox).value_checked = true;
    form.add("radio", ControlKind::RadioGroup).value_index = 2;
    form.add("liste", ControlKind::ListBox).value_index = -1;
    form.add("laufwerke", ControlKind::CheckListBox).items = {true, false, true};
    form.add("datum", ControlKind::DateTimePicker).value_number = 46000.25;
    form.add("regler", ControlKind::TrackBar).value_index = 7;
    form.add("pfad", ControlKind::FolderPathEdit).value_text = "C:\\Daten\\";
    save();
    EXPECT_EQ(files.content(kFile),
              "[Programmliste]\r\nSektionVorhanden=1\r\nedit=a=b c\r\nzahl=1,5\r\n"
              "combo=zwei\r\ncomboI=1\r\ncheck=1\r\nradio=2\r\nliste=-1\r\nlaufwerke=3\r\n"
              "laufwerke0=1\r\nlaufwerke1=0\r\nlaufwerke2=1\r\ndatum=46000,25\r\nregler=7\r\n"
              "pfad=C:\\Daten\\\r\n\r\n[Check]\r\nWroteSuccesful=1\r\n\r\n");

    for (auto& c : form.controls) {
        c->value_text.clear();
        c->value_number = 0;
        c->value_index = 0;
        c->value_checked = false;
        c->items.assign(c->items.size(), false);
    }
    EXPECT_TRUE(load());
    EXPECT_EQ(control("edit").value_text, "a=b c");
    EXPECT_EQ(numeric.value_number, 1.5);
    EXPECT_EQ(numeric.value_text, "");  // a numeric edit restores its value only
    EXPECT_EQ(combo.value_text, "zwei");
    EXPECT_EQ(combo.value_index, 1);
    EXPECT_TRUE(control("check").value_checked);
    EXPECT_EQ(control("radio").value_index, 2);
    EXPECT_EQ(control("liste").value_index, -1);
    EXPECT_EQ(control("laufwerke").items, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(control("datum").value_number, 46000.25);
    EXPECT_EQ(control("regler").value_index, 7);
    EXPECT_EQ(control("pfad").value_text, "C:\\Daten\\");
}

TEST_F(FormStateTest, StoredTextWinsOverTheStoredComboIndex) {
    // The combo's text is set after its index, so the text read last is what shows.
    struct Combo final : FormControl {
        std::string name = "combo", shown;
        std::vector<std::string> items{"eins", "zwei"};
        std::vector<std::string> calls;
        const std::string& component_name() const override { return name; }
        ControlKind kind() const override { return ControlKind::ComboBox; }
        std::string text() const override { return shown; }
        void set_text(const std::string& t) override { calls.emplace_back("text"), shown = t; }
        int index() const override { return -1; }
        void set_index(int i) override {
            calls.emplace_back("index");
            if (i >= 0) shown = items[static_cast<size_t>(i)];
        }
    };
    struct OneCombo final : FormComponents {
        Combo* combo;
        std::string component_name() const override { return "Programmliste"; }
        std::vector<FormControl*> components() const override { return {combo}; }
    };
    Combo combo;
    OneCombo window;
    window.combo = &combo;
    files.add_file(kFile,
                   "[Programmliste]\r\nSektionVorhanden=1\r\ncombo=frei\r\ncomboI=1\r\n"
                   "[Check]\r\nWroteSuccesful=1\r\n");
    EXPECT_TRUE(LoadFormState(window, kFile, storage));
    EXPECT_EQ(combo.calls, (std::vector<std::string>{"index", "text"}));
    EXPECT_EQ(combo.shown, "frei");
}

TEST_F(FormStateTest, MarkerPresentRefreshesTheBackupAndRestoresTheControls) {
    settings_window();
    const std::string content =
        "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=Strg+Alt+K\r\n"
        "[Check]\r\nWroteSuccesful=1\r\n";
    files.add_file(kFile, content);
    files.add_file(kBackup, "old");
    EXPECT_TRUE(load());
    EXPECT_EQ(control("kuerzel").value_text, "Strg+Alt+K");
    EXPECT_EQ(files.content(kBackup), content);
    EXPECT_EQ(files.content(kFile), content);  // the load never writes the file
}

TEST_F(FormStateTest, MissingZeroOrBrokenMarkerPutsTheBackupBackBeforeReading) {
    for (const std::string check :
         {"", "[Check]\r\nWroteSuccesful=0\r\n", "[Check]\r\nWroteSuccesful=ja\r\n"}) {
        SCOPED_TRACE(check);
        FakeForm fresh;
        fresh.add("kuerzel", ControlKind::LabeledEdit).value_text = "Alt+F12";
        const std::string good =
            "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=Strg+F9\r\n\r\n"
            "[Buchstaben]\r\nE=C:\\gut.exe\r\n\r\n[Check]\r\nWroteSuccesful=1\r\n\r\n";
        files.add_file(kFile, "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=Umsch+F1\r\n" +
                                  check + "[Buchstaben]\r\nE=C:\\kaputt.exe\r\n");
        files.add_file(kBackup, good);
        EXPECT_TRUE(LoadFormState(fresh, kFile, storage));
        EXPECT_EQ(fresh.controls[0]->value_text, "Strg+F9");
        EXPECT_EQ(files.content(kFile), good);  // so the table is read from the backup too
    }
}

TEST_F(FormStateTest, WithoutMarkerAndWithoutAWholeBackupTheFileIsReadAsItIs) {
    settings_window();
    const std::string content = "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=F5\r\n";
    struct Case {
        const char* what;
        std::optional<std::string> backup;
        bool unreadable = false;
    };
    const Case cases[] = {
        {"no backup", std::nullopt},
        {"backup without marker", "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=F6\r\n"},
        {"binary garbage", std::string("\x00\xFF[\x01=\x02\r\n\x9D\x81", 10)},
        {"unreadable backup", "[Check]\r\nWroteSuccesful=1\r\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        files.files.clear();
        files.unreadable.clear();
        files.add_file(kFile, content);
        if (c.backup) files.add_file(kBackup, *c.backup);
        if (c.unreadable) files.unreadable.insert(test::FakeFileSystem::key(kBackup));
        EXPECT_TRUE(load());
        EXPECT_EQ(control("kuerzel").value_text, "F5");
        EXPECT_EQ(files.content(kFile), content);
        EXPECT_EQ(files.has_file(kBackup), c.backup.has_value());
    }
}

TEST_F(FormStateTest, FirstStartFindsNothingAndCreatesNoFile) {
    settings_window();
    EXPECT_FALSE(load());
    EXPECT_EQ(control("kuerzel").value_text, "Alt+F12");
    EXPECT_FALSE(files.has_file(kFile));
    EXPECT_FALSE(files.has_file(kBackup));
    EXPECT_EQ(files.writes, 0);
}

TEST_F(FormStateTest, SectionWithoutOrWithZeroPresenceFlagRestoresNothing) {
    for (const std::string flag : {"", "SektionVorhanden=0\r\n"}) {
        SCOPED_TRACE(flag);
        FakeForm fresh;
        fresh.add("kuerzel", ControlKind::LabeledEdit).value_text = "Alt+F12";
        files.add_file(kFile, "[Programmliste]\r\n" + flag +
                                  "kuerzel=Strg+K\r\n[Check]\r\nWroteSuccesful=1\r\n");
        EXPECT_FALSE(LoadFormState(fresh, kFile, storage));
        EXPECT_EQ(fresh.controls[0]->value_text, "Alt+F12");
    }
}

TEST_F(FormStateTest, MissingOrUnparsableKeysKeepTheControlsValues) {
    auto& edit = form.add("kuerzel", ControlKind::LabeledEdit);
    edit.value_text = "Alt+F12";
    auto& list = form.add("programme", ControlKind::ListBox);
    list.value_index = 3;
    auto& number = form.add("zahl", ControlKind::NumericEdit);
    number.value_number = 2.5;
    auto& item = form.add("loeschen", ControlKind::MenuItem);
    item.value_checked = true;
    files.add_file(kFile,
                   "[Programmliste]\r\nSektionVorhanden=1\r\nprogramme=drei\r\nzahl=x\r\n"
                   "[Check]\r\nWroteSuccesful=1\r\n");
    EXPECT_TRUE(load());
    EXPECT_EQ(edit.value_text, "Alt+F12");
    EXPECT_EQ(list.value_index, 3);
    EXPECT_EQ(number.value_number, 2.5);
    EXPECT_TRUE(item.value_checked);
}

TEST_F(FormStateTest, CheckListCountBeyondItsItemsOnlySetsExistingItems) {
    auto& drives = form.add("laufwerke", ControlKind::CheckListBox);
    drives.items = {false, false};
    files.add_file(kFile,
                   "[Programmliste]\r\nSektionVorhanden=1\r\nlaufwerke=4\r\nlaufwerke0=1\r\n"
                   "laufwerke1=1\r\nlaufwerke2=1\r\nlaufwerke3=1\r\n"
                   "[Check]\r\nWroteSuccesful=1\r\n");
    EXPECT_TRUE(load());
    EXPECT_EQ(drives.items, (std::vector<bool>{true, true}));
    // And a smaller stored count leaves the items after it alone.
    drives.items = {false, false};
    files.add_file(kFile,
                   "[Programmliste]\r\nSektionVorhanden=1\r\nlaufwerke=1\r\nlaufwerke0=1\r\n"
                   "laufwerke1=1\r\n[Check]\r\nWroteSuccesful=1\r\n");
    EXPECT_TRUE(load());
    EXPECT_EQ(drives.items, (std::vector<bool>{true, false}));
}

// The start arms the launcher hotkey from this before the settings window exists: it must
// be exactly what the window's load restores afterwards, and it must write nothing.
TEST_F(FormStateTest, StoredControlTextIsWhatTheLoadRestoresAndWritesNothing) {
    const std::string marker = "[Check]\r\nWroteSuccesful=1\r\n";
    struct Case {
        const char* what;
        std::optional<std::string> file, backup;
        std::optional<std::string> expected;
        bool unreadable = false;
    };
    const Case cases[] = {
        {"marker", "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=Strg+F9\r\n" + marker,
         std::nullopt, "Strg+F9"},
        {"no marker, whole backup", "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=F1\r\n",
         "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=F6\r\n" + marker, "F6"},
        {"no marker, broken backup", "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=F1\r\n",
         "[Programmliste]\r\nkuerzel=F6\r\n", "F1"},
        {"section not present", "[Programmliste]\r\nSektionVorhanden=0\r\nkuerzel=F2\r\n" + marker,
         std::nullopt, std::nullopt},
        {"key missing", "[Programmliste]\r\nSektionVorhanden=1\r\n" + marker, std::nullopt,
         std::nullopt},
        {"empty value", "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=\r\n" + marker,
         std::nullopt, ""},
        {"first start", std::nullopt, std::nullopt, std::nullopt},
        {"unreadable", "[Programmliste]\r\nSektionVorhanden=1\r\nkuerzel=F3\r\n", std::nullopt,
         std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        files.files.clear();
        files.unreadable.clear();
        if (c.file) files.add_file(kFile, *c.file);
        if (c.backup) files.add_file(kBackup, *c.backup);
        if (c.unreadable) files.unreadable.insert(test::FakeFileSystem::key(kFile));
        const auto before = files.files;
        const int writes = files.writes;
        if (c.unreadable) {
            EXPECT_THROW(stored_control_text(kFile, "Programmliste", "kuerzel", storage),
                         FileError);
            continue;
        }
        const auto stored = stored_control_text(kFile, "Programmliste", "kuerzel", storage);
        EXPECT_EQ(stored, c.expected);
        EXPECT_EQ(files.files, before);
        EXPECT_EQ(files.writes, writes);
        FakeForm window;
        window.add("kuerzel", ControlKind::LabeledEdit).value_text = "Alt+F12";
        LoadFormState(window, kFile, storage);
        EXPECT_EQ(window.controls[0]->value_text, stored.value_or("Alt+F12"));
    }
}

TEST(FormFloat, UsesTheGivenSeparatorBothWays) {
    EXPECT_EQ(format_form_float(0.1, ','), "0,1");
    EXPECT_EQ(format_form_float(-3, ','), "-3");
    double v = 0;
    EXPECT_TRUE(parse_form_float(" 12,75 ", ',', v));
    EXPECT_EQ(v, 12.75);
    EXPECT_FALSE(parse_form_float("1,5x", ',', v));
    EXPECT_FALSE(parse_form_float("", ',', v));
    EXPECT_FALSE(parse_form_float("nan", ',', v));
}

}  // namespace
}  // namespace tastomat
