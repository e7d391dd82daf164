#include "settings_ui/drive_retargeting.h"

#include "platform/paths.h"
#include "table/ini_file.h"

namespace tastomat {

void retarget_drives(ProgramTable& table, const DriveChoice& choice, FileSystem& files,
                     Drives& drives) {
    if (!choice.confirmed || choice.roots.empty()) return;
    QuietDriveErrors quiet(drives);
    for (const std::string& root : choice.roots) {
        const std::string drive = without_trailing_backslash(root);
        for (int i = 0; i < kSlotCount; ++i) {
            // Blanks around a stored path would otherwise end up inside the new one.
            const std::string path(trim_blanks(table.Progs[i]));
            if (path.size() < 2 || path[1] != ':') continue;
            const std::string moved = drive + path.substr(2);
            const bool exists = files.file_exists(moved) || files.directory_exists(moved);
            table.set_program(i, exists ? moved : table.Progs[i]);
        }
    }
}

}  // namespace tastomat
