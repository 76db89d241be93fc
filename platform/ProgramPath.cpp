#include "platform/ProgramPath.h"

#include <unistd.h>

#include <climits>
#include <vector>

namespace platform {

std::string ProgramPath() {
    std::vector<char> buf(PATH_MAX + 1);
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return "";
    return std::string(buf.data(), static_cast<std::size_t>(n));
}

std::string ProgramDirectory() {
    const std::string p = ProgramPath();
    const std::size_t slash = p.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return p.substr(0, slash);
}

std::string ProgramBaseName() {
    const std::string p = ProgramPath();
    const std::size_t slash = p.rfind('/');
    std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name = name.substr(0, dot);
    return name;
}

std::vector<std::string> ProgramModulePaths(const std::string& file) {
    const std::string dir = ProgramDirectory();
    return {dir + "/" + file, dir + "/../lib/lumenport/" + file};
}

}  // namespace platform
