#include "aris/LocalServer.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "aris/AmlReader.h"
#include "aris/AsciiText.h"
#include "aris/HugePages.h"
#include "aris/ServerLocator.h"

namespace aris {

namespace {

constexpr int kServerErrorNumber = 440;

std::unique_ptr<repo::DatabaseImpl> LoadDatabase(const AmlChunkSource& source, const std::string& sourceName,
                                                 std::ostream& report, const std::string& serverTypesTsvPath,
                                                 std::size_t expectedBytes, LoadObserver* observer = nullptr) {
    std::unique_ptr<TypeTable> serverTable;
    if (!serverTypesTsvPath.empty()) {
        serverTable = std::make_unique<TypeTable>();
        serverTable->LoadFile(serverTypesTsvPath, report);
    }
    std::unique_ptr<TypeTable> userTable = LoadUserTypeTable(report);
    auto catalog = std::make_unique<TypeCatalog>(BuiltInTypeTable(), std::move(serverTable), std::move(userTable));
    std::unique_ptr<repo::DatabaseImpl> db =
        ReadAml(source, sourceName, std::move(catalog), report, expectedBytes, observer);
    db->name = std::filesystem::path(sourceName).stem().string();
    db->sourceName = sourceName;
    return db;
}

// Process-wide: the program reads one file at a time, and sets the observer only around it.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): process-wide, as said above
LoadObserver* g_loadObserver = nullptr;

// A large export becomes a few times its size in memory, in many small blocks. Grow the heap
// once, by about that much, and ask for transparent huge pages there: touching the memory then
// faults in 2 MB pages instead of 4 kB ones, which on virtual machines costs a large share of the
// reading and exporting time. Large blocks stay in the heap too (up to 32 MB).
void PrepareHeapFor(std::size_t exportBytes) {
    constexpr std::size_t kLargeExport = 16u << 20;
    if (exportBytes < kLargeExport) return;
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TOP_PAD, static_cast<int>(std::min<std::size_t>(exportBytes * 3, 1u << 30)));
    auto* before = static_cast<char*>(sbrk(0));
    // A block larger than the free top of the heap makes it grow, by the block and the pad.
    void* volatile block = std::malloc(8 * kHugePage);  // volatile: the pair must not be elided
    std::free(block);
    auto* end = static_cast<char*>(sbrk(0));
    AdviseHugePages(before, end);
}

std::unique_ptr<repo::DatabaseImpl> LoadFile(const std::string& path, std::ostream& report,
                                             const std::string& serverTypesTsvPath) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ServerError(kServerErrorNumber, "ARIS export " + path + " cannot be read: " + std::strerror(errno));
    const AmlChunkSource source = [&](char* buffer, std::size_t size) -> std::size_t {
        in.read(buffer, static_cast<std::streamsize>(size));
        if (in.bad()) throw ServerError(kServerErrorNumber, "ARIS export " + path + " cannot be read");
        return static_cast<std::size_t>(in.gcount());
    };
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec) PrepareHeapFor(static_cast<std::size_t>(size));
    LoadObserver* observer = g_loadObserver;
    if (observer) observer->Started(path, ec ? 0 : static_cast<std::uint64_t>(size));
    std::unique_ptr<repo::DatabaseImpl> db =
        LoadDatabase(source, path, report, serverTypesTsvPath, ec ? 0 : static_cast<std::size_t>(size), observer);
    db->sourceFile = path;
    return db;
}

std::unique_ptr<Database> OpenLocation(const DatabaseLocation& location, const std::string& user) {
    std::unique_ptr<repo::DatabaseImpl> db =
        LoadFile(location.file, std::cerr, ServerTypeTablePath(location.serverDirectory));
    db->name = location.databaseName;
    db->serverName = location.serverName;
    db->loginUser = user;
    return db;
}

class LocalReportComponent final : public ReportComponent {
public:
    std::unique_ptr<Database> OpenDatabase(const std::string& server, const std::string& database, const std::string&,
                                           const std::string& user, const std::string&) override {
        return OpenLocation(FindDatabase(server, database), user);
    }
};

class LocalApplication final : public Application {
public:
    ReportComponent* GetComponent(const std::string& name) override {
        return text::EqualsIgnoreAsciiCase(name, "Report") ? &report_ : nullptr;
    }

private:
    LocalReportComponent report_;
};

std::unique_ptr<TypeTable> ReadBuiltInTypeTable() {
    std::optional<std::string> path = FindBuiltInTypeTable();
    if (!path) {
        std::string looked;
        for (const std::string& candidate : BuiltInTypeTableCandidates()) {
            looked += (looked.empty() ? "" : ", ") + candidate;
        }
        throw ServerError(kServerErrorNumber, "ARIS type table aris-types.tsv not found (looked for " + looked + ")");
    }
    auto table = std::make_unique<TypeTable>();
    table->LoadFile(*path, std::cerr);
    return table;
}

}  // namespace

const TypeTable& BuiltInTypeTable() {
    const static std::unique_ptr<TypeTable> table = ReadBuiltInTypeTable();
    return *table;
}

std::unique_ptr<Database> LoadAmlText(const std::string& xml, const std::string& sourceName, std::ostream& report,
                                      const std::string& serverTypesTsvPath) {
    std::size_t offset = 0;
    const AmlChunkSource source = [&](char* buffer, std::size_t size) -> std::size_t {
        const std::size_t count = std::min(size, xml.size() - offset);
        std::memcpy(buffer, xml.data() + offset, count);
        offset += count;
        return count;
    };
    return LoadDatabase(source, sourceName, report, serverTypesTsvPath, xml.size());
}

std::unique_ptr<Database> LoadAmlFile(const std::string& path, std::ostream& report,
                                      const std::string& serverTypesTsvPath) {
    return LoadFile(path, report, serverTypesTsvPath);
}

std::unique_ptr<TypeTable> LoadUserTypeTable(std::ostream& report) {
    const std::string path = UserTypeTablePath();
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec)) return nullptr;
    auto table = std::make_unique<TypeTable>();
    table->LoadFile(path, report);
    return table;
}

std::unique_ptr<Database> OpenAmlExport(const std::string& path, const std::string& user) {
    return OpenLocation(AmlFileLocation(path), user);
}

LoadObserver* SetLoadObserver(LoadObserver* observer) {
    LoadObserver* previous = g_loadObserver;
    g_loadObserver = observer;
    return previous;
}

std::unique_ptr<Application> CreateApplication() { return std::make_unique<LocalApplication>(); }

}  // namespace aris
