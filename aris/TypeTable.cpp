#include "aris/TypeTable.h"

#include <algorithm>
#include <fstream>
#include <ostream>
#include <sstream>

#include "aris/AsciiText.h"

namespace aris {

namespace {

constexpr int kGermanLocale = 1031;

int Index(TypeKind kind) { return static_cast<int>(kind); }

bool ParseKind(std::string_view word, TypeKind& kind) {
    for (int i = 0; i < kTypeKindCount; ++i) {
        if (text::EqualsIgnoreAsciiCase(word, TypeKindWord(static_cast<TypeKind>(i)))) {
            kind = static_cast<TypeKind>(i);
            return true;
        }
    }
    return false;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(text::Trim(line.substr(start, tab == std::string_view::npos ? tab : tab - start)));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

// The base part of a connection type written "FromType.Base.ToType".
std::string_view ConnectionBase(std::string_view written) {
    const std::size_t first = written.find('.');
    if (first == std::string_view::npos) return written;
    const std::size_t second = written.find('.', first + 1);
    if (second == std::string_view::npos || written.find('.', second + 1) != std::string_view::npos) return written;
    return written.substr(first + 1, second - first - 1);
}

}  // namespace

const char* TypeKindWord(TypeKind kind) {
    switch (kind) {
        case TypeKind::Object: return "object";
        case TypeKind::Model: return "model";
        case TypeKind::Connection: return "connection";
        case TypeKind::Attribute: return "attribute";
        case TypeKind::Symbol: return "symbol";
    }
    return "type";
}

void TypeTable::LoadFile(const std::string& path, std::ostream& report) {
    const std::ifstream in(path, std::ios::binary);
    if (!in) throw ServerError(440, "ARIS type table " + path + " cannot be read");
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) throw ServerError(440, "ARIS type table " + path + " cannot be read");
    LoadText(content.str(), path, report);
    source_ = path;
}

void TypeTable::LoadText(const std::string& text, const std::string& sourceName, std::ostream& report) {
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::string_view trimmed = text::Trim(line);
        if (trimmed.empty() || trimmed.front() == '#') continue;
        std::vector<std::string_view> fields = SplitTabs(trimmed);
        if (text::EqualsIgnoreAsciiCase(fields[0], "kind")) continue;
        TypeKind kind;
        std::optional<int> number = fields.size() >= 3 ? text::ParseInt(fields[1]) : std::nullopt;
        if (!ParseKind(fields[0], kind) || !number || fields[2].empty()) {
            report << sourceName << ", line " << lineNumber
                   << ": ignored; expected kind, number, API name, English name, German name separated by tabs\n";
            continue;
        }
        TypeRow row;
        row.number = *number;
        row.apiName = std::string(fields[2]);
        if (fields.size() > 3) row.english = std::string(fields[3]);
        if (fields.size() > 4) row.german = std::string(fields[4]);
        Add(kind, row);
    }
}

void TypeTable::Add(TypeKind kind, const TypeRow& row) {
    byName_[Index(kind)][text::LowerAscii(row.apiName)] = row;
    byNumber_[Index(kind)][row.number] = row;
}

const TypeRow* TypeTable::FindName(TypeKind kind, std::string_view name) const {
    const auto& map = byName_[Index(kind)];
    auto it = map.find(text::LowerAscii(name));
    return it == map.end() ? nullptr : &it->second;
}

const TypeRow* TypeTable::FindNumber(TypeKind kind, int number) const {
    const auto& map = byNumber_[Index(kind)];
    auto it = map.find(number);
    return it == map.end() ? nullptr : &it->second;
}

std::size_t TypeTable::Size() const {
    std::size_t n = 0;
    for (const auto& map : byName_) n += map.size();
    return n;
}

std::vector<std::pair<TypeKind, const TypeRow*>> TypeTable::Rows() const {
    std::vector<std::pair<TypeKind, const TypeRow*>> rows;
    for (int i = 0; i < kTypeKindCount; ++i) {
        for (const auto& [name, row] : byName_[i]) rows.emplace_back(static_cast<TypeKind>(i), &row);
    }
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        if (a.second->number != b.second->number) return a.second->number < b.second->number;
        return a.second->apiName < b.second->apiName;
    });
    return rows;
}

std::string TypeInfo::DisplayName(LocaleId loc) const {
    const std::string& name = loc == kGermanLocale ? german : english;
    return name.empty() ? apiName : name;
}

TypeCatalog::TypeCatalog(const TypeTable& builtIn, std::unique_ptr<TypeTable> server, std::unique_ptr<TypeTable> user)
    : builtIn_(builtIn), server_(std::move(server)), user_(std::move(user)) {}

// The server's table wins over the user's, which wins over the built-in one.
const TypeRow* TypeCatalog::Find(TypeKind kind, std::string_view name) const {
    for (const TypeTable* table : {server_.get(), user_.get()}) {
        if (!table) continue;
        if (const TypeRow* row = table->FindName(kind, name)) return row;
    }
    return builtIn_.FindName(kind, name);
}

const TypeRow* TypeCatalog::FindNumber(TypeKind kind, int number) const {
    for (const TypeTable* table : {server_.get(), user_.get()}) {
        if (!table) continue;
        if (const TypeRow* row = table->FindNumber(kind, number)) return row;
    }
    return builtIn_.FindNumber(kind, number);
}

const TypeInfo* TypeCatalog::InternNumber(TypeKind kind, int number, const TypeRow* row, std::string_view written) {
    auto& map = byNumber_[Index(kind)];
    auto it = map.find(number);
    if (it != map.end()) return it->second;
    if (!row) row = FindNumber(kind, number);
    TypeInfo& info = infos_.emplace_back();
    info.kind = kind;
    info.number = number;
    if (row) {
        info.apiName = row->apiName;
        info.english = row->english;
        info.german = row->german;
    } else {
        info.apiName = std::string(written);
    }
    map.emplace(number, &info);
    return &info;
}

const TypeInfo* TypeCatalog::InternUnmapped(TypeKind kind, std::string_view name) {
    TypeInfo& info = infos_.emplace_back();
    info.kind = kind;
    info.number = kUnmappedType;
    info.apiName = std::string(name);
    return &info;
}

const TypeInfo* TypeCatalog::Resolve(TypeKind kind, std::string_view written) {
    auto& cache = byWritten_[Index(kind)];
    auto cached = cache.find(std::string(written));
    const TypeInfo* info = nullptr;
    if (cached != cache.end()) {
        info = cached->second;
    } else {
        std::string_view name = text::Trim(written);
        if (kind == TypeKind::Connection) name = ConnectionBase(name);
        if (std::optional<int> number = text::IsDigits(name) ? text::ParseInt(name) : std::nullopt) {
            info = InternNumber(kind, *number, nullptr, name);
        } else if (const TypeRow* row = Find(kind, name)) {
            info = InternNumber(kind, row->number, row, name);
        } else {
            info = InternUnmapped(kind, name);
        }
        cache.emplace(std::string(written), info);
    }
    if (info->number == kUnmappedType) {
        auto [it, added] = unmappedIndex_.emplace(info, unmapped_.size());
        if (added) unmapped_.emplace_back(info, 0);
        ++unmapped_[it->second].second;
    }
    return info;
}

const TypeInfo* TypeCatalog::ResolveKnownGuid(TypeKind kind, std::string_view guid) {
    const TypeRow* row = Find(kind, text::Trim(guid));
    return row ? InternNumber(kind, row->number, row, row->apiName) : nullptr;
}

}  // namespace aris
