#pragma once
// A full table whose every value names the save that wrote it, for the kill test: a file
// read back must hold one generation throughout, never parts of two.
#include <string>

#include "table/program_table.h"

namespace tastomat::test {

// Long values with a letter outside the ANSI code page, so the file is UTF-16 and a save
// takes long enough to be interrupted in the middle.
inline std::string generation_value(int generation, int slot, char kind) {
    return "C:\\Generation " + std::to_string(generation) + "\\" + kind + std::to_string(slot) +
           "\\\xC5\x81\xC3\xB3"
           "d\xC5\xBA\\" +
           std::string(160, kind) + ".exe";
}

inline void fill_generation(ProgramTable& table, int generation) {
    for (int i = 0; i < kSlotCount; ++i) {
        table.Progs[i] = generation_value(generation, i, 'p');
        table.Verzeichnisse[i] = generation_value(generation, i, 'v');
        table.Parameter[i] = generation_value(generation, i, 'a');
    }
}

// The generation slot A names; -1 when it names none.
inline int generation_of(const ProgramTable& table) {
    const std::string prefix = "C:\\Generation ";
    const std::string& a = table.Progs[0];
    if (!a.starts_with(prefix)) return -1;
    try {
        return std::stoi(a.substr(prefix.size()));
    } catch (...) {
        return -1;
    }
}

}  // namespace tastomat::test
