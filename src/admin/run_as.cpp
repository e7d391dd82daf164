#include "admin/run_as.h"

namespace tastomat {

std::string run_as_command_line(std::string_view exe, std::string_view param) {
    std::string line;
    line.reserve(exe.size() + param.size() + 3);
    line += '"';
    line += exe;
    line += '"';
    if (!param.empty()) {
        line += ' ';
        line += param;
    }
    return line;
}

}  // namespace tastomat
