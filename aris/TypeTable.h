#pragma once
// ARIS type numbers. Exports name types by API name (OT_FUNC, MT_EEPC, CT_ACTIV_1, AT_NAME,
// ST_FUNC), by a GUID for user-defined types, or by a decimal number. The type table maps these
// names to ARIS type numbers and display names; the type catalog of one database interns every
// type met in the export and counts the names that have no number.
#include <deque>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "aris/Automation.h"

namespace aris {

enum class TypeKind { Object, Model, Connection, Attribute, Symbol };
constexpr int kTypeKindCount = 5;

/// The number given to a type name that no table knows: no mapping rule uses it.
constexpr int kUnmappedType = -1;
/// The number of the name attribute (AT_NAME).
constexpr int kNameAttributeType = 1;

/// The table's word for a kind ("object", "model", "connection", "attribute", "symbol").
const char* TypeKindWord(TypeKind kind);

/// One row of a type table.
struct TypeRow {
    int number = 0;
    std::string apiName;
    std::string english;
    std::string german;
};

/// API names (or GUIDs of user-defined types) to type numbers and display names, per kind.
class TypeTable {
public:
    /// Read rows from a tab-separated file (kind, number, api_name, english_name, german_name;
    /// lines starting with "#" and the header line are skipped). A malformed line is reported
    /// to `report` with its line number and skipped. Throws ServerError(440) when the file
    /// cannot be read.
    void LoadFile(const std::string& path, std::ostream& report);
    /// Read rows from text held in memory; `sourceName` names it in reports.
    void LoadText(const std::string& text, const std::string& sourceName, std::ostream& report);
    /// Add a row, replacing any row of the same kind with the same API name or number.
    void Add(TypeKind kind, const TypeRow& row);
    /// The row of an API name or GUID (ignoring ASCII case), nullptr when unknown.
    const TypeRow* FindName(TypeKind kind, std::string_view name) const;
    /// The row of a number, nullptr when unknown.
    const TypeRow* FindNumber(TypeKind kind, int number) const;
    /// Number of rows of all kinds.
    std::size_t Size() const;
    /// Every row by its API name, ordered by kind, number and API name.
    std::vector<std::pair<TypeKind, const TypeRow*>> Rows() const;
    /// The file the rows were read from ("" for rows added otherwise).
    const std::string& Source() const { return source_; }

private:
    std::string source_;
    std::unordered_map<std::string, TypeRow> byName_[kTypeKindCount];
    std::unordered_map<int, TypeRow> byNumber_[kTypeKindCount];
};

/// One type as a database knows it; shared by every item of that type.
struct TypeInfo {
    TypeKind kind = TypeKind::Object;
    /// The ARIS type number, kUnmappedType when no table knows the name.
    int number = kUnmappedType;
    /// The API name; the name as written when unmapped; the number text for an unknown number.
    std::string apiName;
    std::string english;
    std::string german;
    /// German for 1031, English otherwise; the API name when that display name is missing.
    std::string DisplayName(LocaleId loc) const;
};

/// The types of one database: resolves written type names against a built-in table and an
/// optional server table (which wins), interns the results and counts unmapped names.
class TypeCatalog {
public:
    /// `builtIn` must outlive the catalog; the server table, when given, is owned by it, and so
    /// is the user's own table, which comes between the two.
    TypeCatalog(const TypeTable& builtIn, std::unique_ptr<TypeTable> server, std::unique_ptr<TypeTable> user = nullptr);
    TypeCatalog(const TypeCatalog&) = delete;
    TypeCatalog& operator=(const TypeCatalog&) = delete;

    /// The type written as `written`: a decimal number is that number, a name is looked up in
    /// the tables; a connection type "From.Base.To" is read as its middle part. An unknown name
    /// gives an unmapped type that keeps the name as display name; each use is counted.
    const TypeInfo* Resolve(TypeKind kind, std::string_view written);
    /// The type a GUID names when a table knows it, nullptr otherwise (nothing is counted).
    const TypeInfo* ResolveKnownGuid(TypeKind kind, std::string_view guid);
    /// The unmapped names in order of first use, each with its number of uses.
    const std::vector<std::pair<const TypeInfo*, int>>& Unmapped() const { return unmapped_; }

private:
    const TypeRow* Find(TypeKind kind, std::string_view name) const;
    const TypeRow* FindNumber(TypeKind kind, int number) const;
    const TypeInfo* InternNumber(TypeKind kind, int number, const TypeRow* row, std::string_view written);
    const TypeInfo* InternUnmapped(TypeKind kind, std::string_view name);

    const TypeTable& builtIn_;
    std::unique_ptr<TypeTable> server_;
    std::unique_ptr<TypeTable> user_;
    std::deque<TypeInfo> infos_;
    std::unordered_map<int, const TypeInfo*> byNumber_[kTypeKindCount];
    // Written text as met in the export (exact) to its type, so repeated names cost one lookup.
    std::unordered_map<std::string, const TypeInfo*> byWritten_[kTypeKindCount];
    std::unordered_map<const TypeInfo*, std::size_t> unmappedIndex_;
    std::vector<std::pair<const TypeInfo*, int>> unmapped_;
};

}  // namespace aris
