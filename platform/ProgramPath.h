#pragma once
#include <string>
#include <vector>

namespace platform {

/// Full path of the running program (through /proc/self/exe); "" when it cannot be found.
std::string ProgramPath();
/// The folder of the running program, without a final "/".
std::string ProgramDirectory();
/// The running program's file name without extension ("kvbrars").
std::string ProgramBaseName();
/// Where a module of the program (a library it loads by file name) is looked for, in order:
/// beside the program (build tree), then in ../lib/lumenport (installed).
std::vector<std::string> ProgramModulePaths(const std::string& file);

}  // namespace platform
