#include "platform/HelpBook.h"

#include <filesystem>

#include "platform/ProgramPath.h"

namespace platform {

std::string FindHelpBook(const std::string& fileName) {
    namespace fs = std::filesystem;
    if (fileName.empty()) return "";
    std::error_code ec;
    if (fileName.find('/') != std::string::npos) return fs::is_regular_file(fileName, ec) ? fileName : "";
    const std::string programDir = ProgramDirectory();
    if (programDir.empty()) return "";
    for (const std::string& candidate : {programDir + "/" + fileName, programDir + "/../share/lumenport/" + fileName}) {
        if (fs::is_regular_file(candidate, ec)) return fs::weakly_canonical(candidate, ec).string();
    }
    return "";
}

}  // namespace platform
