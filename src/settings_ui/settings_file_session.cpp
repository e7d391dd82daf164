#include "settings_ui/settings_file_session.h"

#include <utility>

#include "table/table_file.h"

namespace tastomat {

SettingsFileSession::SettingsFileSession(std::string settings_file, FormStateFile storage)
    : file_(std::move(settings_file)), storage_(storage) {}

IniFile SettingsFileSession::open(const FormComponents& window, ProgramTable& table) {
    try {
        // A backup put back by the store is what the table is then read from.
        LoadFormState(window, file_, storage_);
        return begin_table_load(table, file_, storage_.files, storage_.code_page);
    } catch (const FileError&) {
        unreadable_at_start_ = true;
        throw;
    }
}

void SettingsFileSession::finish_open(ProgramTable& table, IniFile& ini, Clock& clock) {
    finish_table_load(table, ini, clock);
}

void SettingsFileSession::save(const FormComponents& window, const ProgramTable& table) {
    if (unreadable_at_start_) return;
    SaveFormState(window, file_, storage_);
    save_table(table, file_, storage_.files, storage_.code_page);
}

}  // namespace tastomat
