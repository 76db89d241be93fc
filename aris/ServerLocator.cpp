#include "aris/ServerLocator.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "aris/AsciiText.h"
#include "aris/Automation.h"

namespace aris {

namespace fs = std::filesystem;

namespace {

constexpr int kServerErrorNumber = 440;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool IsDirectory(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool IsRegularFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// The entry of `directory` whose name equals `name` ignoring case and that passes `accept`.
template <class Accept>
std::optional<fs::path> FindEntryIgnoringCase(const fs::path& directory, const std::string& name, Accept accept) {
    std::error_code ec;
    fs::directory_iterator it(directory, ec);
    if (ec) return std::nullopt;
    std::optional<fs::path> found;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const fs::path& entry = it->path();
        if (!text::EqualsIgnoreAsciiCase(entry.filename().string(), name) || !accept(entry)) continue;
        // An exact spelling wins over another spelling of the same name.
        if (entry.filename().string() == name) return entry;
        if (!found) found = entry;
    }
    return found;
}

bool HasAmlExtension(const std::string& name) {
    if (name.size() < 5) return false;
    const std::string tail = name.substr(name.size() - 4);
    return text::EqualsIgnoreAsciiCase(tail, ".xml") || text::EqualsIgnoreAsciiCase(tail, ".aml");
}

std::string JoinList(const std::vector<std::string>& items) {
    std::string joined;
    for (const std::string& item : items) {
        if (!joined.empty()) joined += ", ";
        joined += item;
    }
    return joined;
}

}  // namespace

std::string ExecutableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return "";
    return exe.parent_path().string();
}

std::vector<std::string> ServerSearchPath() {
    std::vector<std::string> roots;
    const std::string listed = Env("LUMENPORT_ARIS_SERVERS");
    std::size_t start = 0;
    while (start <= listed.size()) {
        std::size_t colon = listed.find(':', start);
        if (colon == std::string::npos) colon = listed.size();
        if (colon > start) roots.push_back(listed.substr(start, colon - start));
        start = colon + 1;
    }
    const std::string dataHome = Env("XDG_DATA_HOME");
    if (!dataHome.empty()) roots.push_back(dataHome + "/lumenport/aris");
    else if (const std::string home = Env("HOME"); !home.empty())
        roots.push_back(home + "/.local/share/lumenport/aris");
    const std::string exeFolder = ExecutableFolder();
    if (!exeFolder.empty()) {
        const fs::path beside = fs::path(exeFolder) / "aris";
        const fs::path shared = fs::path(exeFolder) / ".." / "share" / "lumenport" / "aris";
        roots.push_back((IsDirectory(beside) || !IsDirectory(shared) ? beside : shared).lexically_normal().string());
    }
    return roots;
}

DatabaseLocation FindDatabase(const std::string& server, const std::string& database) {
    const std::vector<std::string> roots = ServerSearchPath();
    if (server.empty()) throw ServerError(kServerErrorNumber, "No ARIS server named (/SVR is empty)");
    if (database.empty()) throw ServerError(kServerErrorNumber, "No ARIS database named (/DB is empty)");
    // "Demo" names Demo.xml or Demo.aml; "Demo.xml" names that file itself.
    std::vector<std::string> fileNames = {database + ".xml", database + ".aml"};
    if (HasAmlExtension(database)) fileNames.insert(fileNames.begin(), database);
    std::vector<std::string> serverDirs;
    for (const std::string& root : roots) {
        std::optional<fs::path> serverDir = FindEntryIgnoringCase(root, server, IsDirectory);
        if (!serverDir) continue;
        serverDirs.push_back(serverDir->string());
        for (const std::string& fileName : fileNames) {
            std::optional<fs::path> file = FindEntryIgnoringCase(*serverDir, fileName, IsRegularFile);
            if (!file) continue;
            DatabaseLocation location;
            location.serverDirectory = serverDir->string();
            location.serverName = serverDir->filename().string();
            location.file = file->string();
            location.databaseName = file->stem().string();
            return location;
        }
    }
    if (serverDirs.empty()) {
        throw ServerError(kServerErrorNumber, "ARIS server '" + server + "' not found: no folder of that name in " +
                                                  JoinList(roots) + " (LUMENPORT_ARIS_SERVERS adds folders)");
    }
    throw ServerError(kServerErrorNumber, "ARIS database '" + database + "' not found on server '" + server + "': no " +
                                              database + ".xml or " + database + ".aml in " + JoinList(serverDirs));
}

DatabaseLocation AmlFileLocation(const std::string& path) {
    if (path.empty()) throw ServerError(kServerErrorNumber, "No ARIS export named (--aml is empty)");
    if (!IsRegularFile(path)) throw ServerError(kServerErrorNumber, "ARIS export " + path + " not found or not a file");
    const fs::path file = fs::absolute(fs::path(path)).lexically_normal();
    DatabaseLocation location;
    location.serverDirectory = file.parent_path().string();
    location.serverName = file.parent_path().filename().string();
    location.file = path;
    location.databaseName = HasAmlExtension(file.filename().string()) ? file.stem().string() : file.filename().string();
    return location;
}

std::string UserConfigFolder() {
    const std::string configHome = Env("XDG_CONFIG_HOME");
    if (!configHome.empty()) return configHome + "/lumenport";
    const std::string home = Env("HOME");
    return home.empty() ? "" : home + "/.config/lumenport";
}

std::string UserTypeTablePath() {
    const std::string folder = UserConfigFolder();
    return folder.empty() ? "" : folder + "/types.tsv";
}

std::string ServerTypeTablePath(const std::string& serverDirectory) {
    const std::string path = serverDirectory + "/types.tsv";
    return IsRegularFile(path) ? path : "";
}

std::vector<std::string> BuiltInTypeTableCandidates() {
    const std::string exeFolder = ExecutableFolder();
    if (exeFolder.empty()) return {};
    return {(fs::path(exeFolder) / "aris-types.tsv").string(),
            (fs::path(exeFolder) / ".." / "share" / "lumenport" / "aris-types.tsv").lexically_normal().string()};
}

std::optional<std::string> FindBuiltInTypeTable() {
    for (const std::string& candidate : BuiltInTypeTableCandidates()) {
        if (IsRegularFile(candidate)) return candidate;
    }
    return std::nullopt;
}

}  // namespace aris
