#pragma once
#include <string>

namespace platform {

/// Full path of a help book ("kvbrdeu.htb"): in the program's folder, else in the shared data
/// folder of an installation (../share/lumenport/ beside the program's folder); "" when in
/// neither. A name with a "/" is taken as a path.
std::string FindHelpBook(const std::string& fileName);

}  // namespace platform
