#pragma once
// Reading the program table from the settings file at start-up and writing it back, as
// the settings window does when it is created and when it closes.
#include <string>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "table/ini_file.h"
#include "table/program_table.h"

namespace tastomat {

// The start time as recorded: regional short date, a blank and the regional long time;
// the date alone at exactly midnight.
std::string start_time_text(Clock& clock, const LocalDateTime& time);

// Sets "Gestartet" in section "Info" to the current local time (in memory only).
void record_start_time(IniFile& ini, Clock& clock);

// First half of the start-up load: reads the file and fills the table. The returned copy
// goes to finish_table_load once the launcher hotkey is armed. FileError when the file
// exists but cannot be read; the table is then untouched.
IniFile begin_table_load(ProgramTable& table, const std::string& settings_file, FileSystem& files,
                         CodePage& code_page);

// Second half: records the start time, writes the file back and builds the key summary.
// FileError when the file cannot be written; Erg is then not rebuilt.
void finish_table_load(ProgramTable& table, IniFile& ini, Clock& clock);

// Both halves at once, for callers with nothing to do in between.
void load_table_at_start(ProgramTable& table, const std::string& settings_file, FileSystem& files,
                         CodePage& code_page, Clock& clock);

// Re-reads the file (so sections written by others since are kept), writes every slot
// and writes the file back - also when writing the slots stopped early, after which the
// error is passed on. FileError when the file cannot be read or written.
void save_table(const ProgramTable& table, const std::string& settings_file, FileSystem& files,
                CodePage& code_page);

}  // namespace tastomat
