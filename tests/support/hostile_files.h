#pragma once
// Damaged and hostile settings files of the kind that travel on users' sticks, shared by
// the portable tests and the tests on a real disk.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "support/form_state.h"

namespace tastomat::test {

struct HostileFile {
    std::string what;
    std::string settings;               // the settings file's bytes
    std::optional<std::string> backup;  // the backup's bytes, when there is one
    std::optional<std::string> slot_e;  // what slot E holds after the start, when known
};

std::vector<HostileFile> hostile_files();

// The lines of settings text a save must keep, as the reader sees them: headers and
// entries without blanks around names and values, every other non-blank line trimmed.
// Returns the first of `before` that `after` lacks in the same order; empty when none.
std::vector<std::string> lost_lines(std::string_view before, std::string_view after);

// With the file (and its backup) in place: starts the way the settings window does,
// checks that slot E shows what it should, saves, and checks that the save kept every
// line it read, in its encoding, and that the table reads back the same. Returns what went
// wrong, or "".
std::string start_then_save(const HostileFile& file, const std::string& settings_file,
                            const FormStateFile& storage, Clock& clock);

// Text in UTF-16 LE bytes, without a mark.
std::string utf16le(std::u16string_view text);

}  // namespace tastomat::test
