#include "table/table_file.h"

namespace tastomat {

std::string start_time_text(Clock& clock, const LocalDateTime& time) {
    std::string date = clock.short_date(time);
    if (time.hour == 0 && time.minute == 0 && time.second == 0) return date;
    return date + " " + clock.long_time(time);
}

void record_start_time(IniFile& ini, Clock& clock) {
    ini.write_string("Info", "Gestartet", start_time_text(clock, clock.now()));
}

IniFile begin_table_load(ProgramTable& table, const std::string& settings_file, FileSystem& files,
                         CodePage& code_page) {
    IniFile ini(settings_file, files, code_page);
    table.load(ini);
    return ini;
}

void finish_table_load(ProgramTable& table, IniFile& ini, Clock& clock) {
    record_start_time(ini, clock);
    ini.update_file();
    table.Buildhint();
}

void load_table_at_start(ProgramTable& table, const std::string& settings_file, FileSystem& files,
                         CodePage& code_page, Clock& clock) {
    IniFile ini = begin_table_load(table, settings_file, files, code_page);
    finish_table_load(table, ini, clock);
}

void save_table(const ProgramTable& table, const std::string& settings_file, FileSystem& files,
                CodePage& code_page) {
    IniFile ini(settings_file, files, code_page);
    try {
        table.save(ini);
    } catch (...) {
        ini.update_file();
        throw;
    }
    ini.update_file();
}

}  // namespace tastomat
