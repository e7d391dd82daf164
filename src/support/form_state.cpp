#include "support/form_state.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>

#include "support/decimal_text.h"
#include "support/settings_location.h"
#include "table/ini_file.h"

namespace tastomat {
namespace {

constexpr const char* kPresentKey = "SektionVorhanden";
constexpr const char* kMarkerSection = "Check";
constexpr const char* kMarkerKey = "WroteSuccesful";

bool has_marker(const IniFile& ini) { return ini.read_integer(kMarkerSection, kMarkerKey, 0) != 0; }

// Only a copy that a completed save produced may replace the settings file: a damaged or
// missing backup would take the user's file with it, so the file is then read as it is.
bool backup_is_whole(const std::string& backup, const FormStateFile& storage) {
    try {
        return has_marker(IniFile(backup, storage.files, storage.code_page));
    } catch (const FileError&) {
        return false;
    }
}

double read_float(const IniFile& ini, const std::string& section, const std::string& key,
                  double default_value, char separator) {
    double value = 0;
    const std::string text = ini.read_string(section, key, "");
    return parse_form_float(text, separator, value) ? value : default_value;
}

void save_control(IniFile& ini, const std::string& section, const FormControl& c, char separator) {
    const std::string& name = c.component_name();
    switch (c.kind()) {
        case ControlKind::Edit:
        case ControlKind::LabeledEdit:
        case ControlKind::FolderPathEdit:
            ini.write_string(section, name, c.text());
            return;
        case ControlKind::NumericEdit:
            // A numeric edit is a plain edit too: its text goes first and its value then
            // replaces it under the same key.
            ini.write_string(section, name, c.text());
            ini.write_string(section, name, format_form_float(c.number(), separator));
            return;
        case ControlKind::ComboBox:
            ini.write_string(section, name, c.text());
            ini.write_integer(section, name + "I", c.index());
            return;
        case ControlKind::CheckBox:
        case ControlKind::MenuItem:
            ini.write_bool(section, name, c.checked());
            return;
        case ControlKind::RadioGroup:
        case ControlKind::ListBox:
        case ControlKind::TrackBar:
            ini.write_integer(section, name, c.index());
            return;
        case ControlKind::CheckListBox: {
            const int count = c.item_count();
            ini.write_integer(section, name, count);
            for (int i = 0; i < count; ++i)
                ini.write_bool(section, name + std::to_string(i), c.item_checked(i));
            return;
        }
        case ControlKind::DateTimePicker:
            ini.write_string(section, name, format_form_float(c.number(), separator));
            return;
        case ControlKind::Other:
            return;
    }
}

void load_control(const IniFile& ini, const std::string& section, FormControl& c, char separator) {
    const std::string& name = c.component_name();
    switch (c.kind()) {
        case ControlKind::ComboBox:
            // The index selects an item first; the stored text, read last, wins.
            c.set_index(ini.read_integer(section, name + "I", c.index()));
            c.set_text(ini.read_string(section, name, c.text()));
            return;
        case ControlKind::Edit:
        case ControlKind::LabeledEdit:
        case ControlKind::FolderPathEdit:
            c.set_text(ini.read_string(section, name, c.text()));
            return;
        case ControlKind::NumericEdit:
        case ControlKind::DateTimePicker:
            c.set_number(read_float(ini, section, name, c.number(), separator));
            return;
        case ControlKind::CheckBox:
        case ControlKind::MenuItem:
            c.set_checked(ini.read_bool(section, name, c.checked()));
            return;
        case ControlKind::RadioGroup:
        case ControlKind::ListBox:
        case ControlKind::TrackBar:
            c.set_index(ini.read_integer(section, name, c.index()));
            return;
        case ControlKind::CheckListBox: {
            // A stored count beyond the items the box holds now only reaches those items.
            const int stored = ini.read_integer(section, name, c.item_count());
            const int count = std::min(stored, c.item_count());
            for (int i = 0; i < count; ++i) {
                const std::string key = name + std::to_string(i);
                c.set_item_checked(i, ini.read_bool(section, key, c.item_checked(i)));
            }
            return;
        }
        case ControlKind::Other:
            return;
    }
}

}  // namespace

std::string format_form_float(double value, char decimal_separator) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return with_decimal_separator(buffer, decimal_separator);
}

bool parse_form_float(const std::string& text, char decimal_separator, double& value) {
    const std::string plain = with_decimal_point(std::string(trim_blanks(text)), decimal_separator);
    if (plain.empty()) return false;
    const char* first = plain.data();
    if (*first == '+') ++first;
    double parsed = 0;
    const auto [end, error] = std::from_chars(first, plain.data() + plain.size(), parsed);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

void SaveFormState(const FormComponents& window, const std::string& file_name,
                   const std::string& section, const FormStateFile& storage) {
    IniFile ini(file_name, storage.files, storage.code_page);
    ini.write_bool(section, kPresentKey, true);
    ini.write_integer(kMarkerSection, kMarkerKey, 1);
    for (const FormControl* control : window.components())
        save_control(ini, section, *control, storage.decimal_separator);
    ini.update_file();
}

void SaveFormState(const FormComponents& window, const std::string& file_name,
                   const FormStateFile& storage) {
    SaveFormState(window, file_name, window.component_name(), storage);
}

bool LoadFormState(const FormComponents& window, const std::string& file_name,
                   const std::string& section, const FormStateFile& storage) {
    std::optional<IniFile> ini;
    ini.emplace(file_name, storage.files, storage.code_page);
    const std::string backup = backup_file_name(file_name);
    if (has_marker(*ini)) {
        storage.files.copy_file(file_name, backup);
    } else if (backup_is_whole(backup, storage)) {
        // No completed save produced this file: the copy from the last good start wins.
        ini.reset();
        storage.files.copy_file(backup, file_name);
        ini.emplace(file_name, storage.files, storage.code_page);
    }
    if (!ini->read_bool(section, kPresentKey, false)) return false;
    for (FormControl* control : window.components())
        load_control(*ini, section, *control, storage.decimal_separator);
    return true;
}

bool LoadFormState(const FormComponents& window, const std::string& file_name,
                   const FormStateFile& storage) {
    return LoadFormState(window, file_name, window.component_name(), storage);
}

std::optional<std::string> stored_control_text(const std::string& file_name,
                                               const std::string& section,
                                               const std::string& control,
                                               const FormStateFile& storage) {
    std::optional<IniFile> ini;
    ini.emplace(file_name, storage.files, storage.code_page);
    const std::string backup = backup_file_name(file_name);
    // The same choice as LoadFormState, which would put the backup back first.
    if (!has_marker(*ini) && backup_is_whole(backup, storage))
        ini.emplace(backup, storage.files, storage.code_page);
    if (!ini->read_bool(section, kPresentKey, false) || !ini->value_exists(section, control))
        return std::nullopt;
    return ini->read_string(section, control, "");
}

}  // namespace tastomat
