#include "settings_ui/slot_editing.h"

#include "table/ini_file.h"

namespace tastomat {

bool assign_folder(ProgramTable& table, int i, const std::string& chosen) {
    if (chosen == folder_part(table.Progs[i])) return false;
    std::string folder = chosen;
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    table.set_program(i, folder);
    table.Parameter[i].clear();
    table.Verzeichnisse[i].clear();
    return true;
}

bool assign_program(ProgramTable& table, int i, const std::string& chosen) {
    if (chosen == table.Progs[i]) return false;
    table.Parameter[i].clear();
    table.Verzeichnisse[i].clear();
    table.set_program(i, std::string(trim_blanks(chosen)));
    return true;
}

void delete_slot(ProgramTable& table, int i) {
    table.Parameter[i].clear();
    table.Verzeichnisse[i].clear();
    table.set_program(i, "");
}

std::string slot_hint(const ProgramTable& table, int i) {
    std::string hint;
    if (!table.Parameter[i].empty()) hint = "Parameter: " + table.Parameter[i];
    if (!table.Verzeichnisse[i].empty()) {
        if (!hint.empty()) hint += "\r\n";
        hint += "Verzeichnis: " + table.Verzeichnisse[i];
    }
    return hint;
}

std::string add_parameter_file(const std::string& current, const std::string& chosen,
                               FileSystem& files) {
    if (!current.empty() && files.file_exists(current)) return chosen;
    return current + " " + chosen;
}

}  // namespace tastomat
