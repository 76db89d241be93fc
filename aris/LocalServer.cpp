#include "aris/LocalServer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "aris/AmlReader.h"
#include "aris/AsciiText.h"
#include "aris/ServerLocator.h"

namespace aris {

namespace {

constexpr int kServerErrorNumber = 440;
constexpr const char* kServerTypeTableName = "types.tsv";

std::unique_ptr<repo::DatabaseImpl> LoadDatabase(const AmlChunkSource& source, const std::string& sourceName,
                                                 std::ostream& report, const std::string& serverTypesTsvPath) {
    std::unique_ptr<TypeTable> serverTable;
    if (!serverTypesTsvPath.empty()) {
        serverTable = std::make_unique<TypeTable>();
        serverTable->LoadFile(serverTypesTsvPath, report);
    }
    auto catalog = std::make_unique<TypeCatalog>(BuiltInTypeTable(), std::move(serverTable));
    std::unique_ptr<repo::DatabaseImpl> db = ReadAml(source, sourceName, std::move(catalog), report);
    db->name = std::filesystem::path(sourceName).stem().string();
    db->sourceName = sourceName;
    return db;
}

std::unique_ptr<repo::DatabaseImpl> LoadFile(const std::string& path, std::ostream& report,
                                             const std::string& serverTypesTsvPath) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ServerError(kServerErrorNumber, "ARIS export " + path + " cannot be read: " + std::strerror(errno));
    AmlChunkSource source = [&](char* buffer, std::size_t size) -> std::size_t {
        in.read(buffer, static_cast<std::streamsize>(size));
        if (in.bad()) throw ServerError(kServerErrorNumber, "ARIS export " + path + " cannot be read");
        return static_cast<std::size_t>(in.gcount());
    };
    return LoadDatabase(source, path, report, serverTypesTsvPath);
}

class LocalReportComponent final : public ReportComponent {
public:
    std::unique_ptr<Database> OpenDatabase(const std::string& server, const std::string& database, const std::string&,
                                           const std::string& user, const std::string&) override {
        DatabaseLocation location = FindDatabase(server, database);
        std::string typesTsv = location.serverDirectory + "/" + kServerTypeTableName;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(typesTsv, ec)) typesTsv.clear();
        std::unique_ptr<repo::DatabaseImpl> db = LoadFile(location.file, std::cerr, typesTsv);
        db->serverName = location.serverName;
        db->loginUser = user;
        return db;
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
    static const std::unique_ptr<TypeTable> table = ReadBuiltInTypeTable();
    return *table;
}

std::unique_ptr<Database> LoadAmlText(const std::string& xml, const std::string& sourceName, std::ostream& report,
                                      const std::string& serverTypesTsvPath) {
    std::size_t offset = 0;
    AmlChunkSource source = [&](char* buffer, std::size_t size) -> std::size_t {
        std::size_t count = std::min(size, xml.size() - offset);
        std::memcpy(buffer, xml.data() + offset, count);
        offset += count;
        return count;
    };
    return LoadDatabase(source, sourceName, report, serverTypesTsvPath);
}

std::unique_ptr<Database> LoadAmlFile(const std::string& path, std::ostream& report,
                                      const std::string& serverTypesTsvPath) {
    return LoadFile(path, report, serverTypesTsvPath);
}

std::unique_ptr<Application> CreateApplication() { return std::make_unique<LocalApplication>(); }

}  // namespace aris
