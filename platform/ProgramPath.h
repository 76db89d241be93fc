#pragma once
#include <string>

namespace platform {

/// Full path of the running program (through /proc/self/exe); "" when it cannot be found.
std::string ProgramPath();
/// The folder of the running program, without a final "/".
std::string ProgramDirectory();
/// The running program's file name without extension ("kvbrars").
std::string ProgramBaseName();

}  // namespace platform
