#pragma once
// What the settings window reads from and writes to the settings file over one run: its
// control state and the program table, read once at start-up and written back on every
// close. A file that could not be read at start (another program holds it open, or the
// rights are missing for a moment) is not written at all in that run: the table in memory
// is then empty, and writing it would put 48 free slots over the user's own.
#include <string>

#include "platform/clock.h"
#include "support/form_state.h"
#include "table/ini_file.h"
#include "table/program_table.h"

namespace tastomat {

class SettingsFileSession {
  public:
    SettingsFileSession(std::string settings_file, FormStateFile storage);

    // First half of the start-up: restores the window's controls (the backup is refreshed
    // or put back on the way) and reads the table. The returned copy goes to finish_open
    // once the launcher hotkey is armed. FileError when the file cannot be read; nothing
    // is written to it for the rest of the run.
    IniFile open(const FormComponents& window, ProgramTable& table);

    // Second half: records the start time, writes the file back and builds the key
    // summary. FileError when the file cannot be written.
    void finish_open(ProgramTable& table, IniFile& ini, Clock& clock);

    // The control state first, so that the table goes into a file that carries the
    // marker; then the table. Does nothing when the file could not be read at start.
    void save(const FormComponents& window, const ProgramTable& table);

    bool unreadable_at_start() const { return unreadable_at_start_; }

  private:
    std::string file_;
    FormStateFile storage_;
    bool unreadable_at_start_ = false;
};

}  // namespace tastomat
