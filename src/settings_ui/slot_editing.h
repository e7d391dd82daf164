#pragma once
// The rules by which the settings window and the parameter dialog change a slot; the
// windows only ask the user and pass on what was chosen.
#include <string>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "table/program_table.h"

namespace tastomat {

// A folder chosen for slot i: taken (with a final "\") unless it equals the folder part
// of the slot's path, letter case counting. Taking it clears parameters and directory.
// Returns whether the slot changed.
bool assign_folder(ProgramTable& table, int i, const std::string& chosen);

// A program file chosen for slot i: taken, without blanks around it, unless it equals the
// slot's path exactly, so choosing the same file again keeps parameters and directory.
bool assign_program(ProgramTable& table, int i, const std::string& chosen);

// Frees slot i: its line shows the label alone.
void delete_slot(ProgramTable& table, int i);

// The list's tooltip for slot i: "Parameter: ..." and/or "Verzeichnis: ...", CR LF
// between them; "" for a slot with neither.
std::string slot_hint(const ProgramTable& table, int i);

// A file chosen with the parameter field's button: it replaces a field that names an
// existing file, and is appended after one blank otherwise (also to an empty field).
std::string add_parameter_file(const std::string& current, const std::string& chosen,
                               FileSystem& files);

}  // namespace tastomat
