#include "reader/WPXReader.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unordered_map>

#include "platform/CodePage.h"
#include "platform/Text.h"
#include "reader/WPXMessages.h"

namespace wpx {

namespace {

constexpr const char* kCrLf = "\r\n";

// One line as the parser sees it: a physical line, or a physical line with the lines that a
// quoted text opened on it continues on.
struct Logical {
    Line line;
    bool comment = false;
};

bool QuotesOpen(std::string_view text) { return std::count(text.begin(), text.end(), '\'') % 2 != 0; }

bool IsIdentifier(std::string_view word) {
    if (word.empty()) return false;
    for (const char c : word) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        const bool digit = c >= '0' && c <= '9';
        if (!letter && !digit && c != '_') return false;
    }
    return !(word[0] >= '0' && word[0] <= '9');
}

// The code page named by the first "CODEPAGE n" line; the file's bytes up to it are ASCII in
// every code page the exporter writes.
bool FindCodePage(std::string_view bytes, int& codePage) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find('\n', pos);
        const std::string_view line =
            bytes.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (line.rfind("CODEPAGE ", 0) == 0) {
            std::string digits(line.substr(9));
            while (!digits.empty() && (digits.back() == '\r' || digits.back() == ' ')) digits.pop_back();
            char* stop = nullptr;
            const long value = std::strtol(digits.c_str(), &stop, 10);
            if (!digits.empty() && stop && *stop == '\0' && value > 0 && value < 100000) {
                codePage = static_cast<int>(value);
                return true;
            }
            return false;
        }
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return false;
}

// Split into physical lines; notes a bare LF or CR once and whether the last line has an end.
std::vector<std::string> SplitLines(std::string_view text, File& file, std::vector<Finding>& findings) {
    std::vector<std::string> lines;
    bool bareReported = false;
    std::size_t start = 0;
    file.finalLineEnd = true;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            file.finalLineEnd = false;
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        if (!crlf && !bareReported) {
            findings.push_back({static_cast<int>(lines.size()), Severity::Warning, kBareLineEnd, {}});
            bareReported = true;
        }
        start = end + (crlf ? 2 : 1);
    }
    return lines;
}

// The physical lines are released as soon as they are read (the walk never looks back), so a
// large file is not held twice.
std::vector<Logical> JoinLogicalLines(std::vector<std::string>& physical, File& file, std::vector<Finding>& findings) {
    std::vector<Logical> lines;
    int blank = 0;
    std::size_t released = 0;
    for (std::size_t i = 0; i < physical.size(); ++i) {
        while (released < i) std::string().swap(physical[released++]);
        const std::string& p = physical[i];
        if (p.empty()) {
            ++blank;
            continue;
        }
        Logical l;
        l.line.number = static_cast<int>(i + 1);
        l.line.blankLinesBefore = blank;
        blank = 0;
        std::size_t first = p.find_first_not_of(" \t");
        if (first == std::string::npos) first = p.size();
        l.line.indent = p.substr(0, first);
        std::string text = p.substr(first);
        if (text.empty()) {
            // Blanks or TABs alone: kept as written, like a comment.
            l.comment = true;
            lines.push_back(std::move(l));
            continue;
        }
        if (text.rfind("/*", 0) == 0) {
            // A comment runs to the line that ends with "*/"; quotes mean nothing inside it.
            l.comment = true;
            std::size_t j = i;
            auto closes = [&](const std::string& s, std::size_t from) {
                std::string_view v(s);
                while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
                return v.size() >= from + 2 && v.substr(v.size() - 2) == "*/";
            };
            bool closed = closes(text, 2);
            while (!closed && j + 1 < physical.size()) {
                ++j;
                text += kCrLf + physical[j];
                closed = closes(physical[j], 0);
            }
            if (!closed) {
                findings.push_back({l.line.number, Severity::Error, kMalformed, {"/*", "*/"}});
            }
            l.line.value = text;
            i = j;
            lines.push_back(std::move(l));
            continue;
        }
        if (QuotesOpen(text)) {
            // The parity is kept line by line, so a quote left open costs one pass to the end.
            std::string joined = text;
            std::size_t j = i;
            bool open = true;
            while (open && j + 1 < physical.size()) {
                ++j;
                joined += kCrLf + physical[j];
                if (QuotesOpen(physical[j])) open = !open;
            }
            if (open) {
                // Read on behind the line that opened the quote, so the rest is still checked.
                findings.push_back({l.line.number, Severity::Error, kUnterminatedQuote, {}});
            } else {
                text = joined;
                i = j;
            }
        }
        if (!text.empty() && text.back() == ';') {
            l.line.semicolon = true;
            text.pop_back();
        }
        if (text.empty() || text[0] == '\'') {
            l.line.value = text;
        } else {
            const std::size_t blankAt = text.find(' ');
            l.line.keyword = text.substr(0, blankAt);
            if (blankAt != std::string::npos) {
                l.line.blankAfterKeyword = true;
                l.line.value = text.substr(blankAt + 1);
            }
        }
        lines.push_back(std::move(l));
    }
    file.trailingBlankLines = blank;
    return lines;
}

const std::unordered_map<std::string, Kind>& TopKinds() {
    const static std::unordered_map<std::string, Kind> kinds = {
        {"STRUCTURE", Kind::Structure}, {"PROCESS_CATEGORY", Kind::ProcessCategory},
        {"PROGRAM", Kind::Program},     {"PERSON", Kind::Person},
        {"ROLE", Kind::Role},           {"ORGANIZATION", Kind::Organization},
        {"PROCESS", Kind::Process},     {"UPDATE", Kind::PersonUpdate},
        {"CODEPAGE", Kind::Codepage},   {"KV_RELEASE", Kind::Release},
    };
    return kinds;
}

bool IsActivityKeyword(const std::string& word) {
    return word == "PROGRAM_ACTIVITY" || word == "PROCESS_ACTIVITY" || word == "BLOCK";
}
bool IsConnectorKeyword(const std::string& word) { return word == "CONTROL" || word == "DATA"; }
bool HoldsActivities(Kind kind) { return kind == Kind::Process || kind == Kind::BlockActivity; }

bool AllowsSettings(Kind kind) {
    switch (kind) {
        case Kind::Program:
        case Kind::Person:
        case Kind::Process:
        case Kind::ProgramActivity:
        case Kind::ProcessActivity:
        case Kind::BlockActivity: return true;
        default: return false;
    }
}

// The property keywords each kind of block holds.
bool IsPropertyOf(Kind kind, const std::string& word) {
    const static std::unordered_map<int, std::vector<std::string>> properties = {
        {static_cast<int>(Kind::Structure), {"DESCRIPTION", "DOCUMENTATION"}},
        {static_cast<int>(Kind::Member), {"DESCRIPTION", "DOCUMENTATION"}},
        {static_cast<int>(Kind::ProcessCategory), {"DESCRIPTION", "DOCUMENTATION"}},
        {static_cast<int>(Kind::Program), {"DESCRIPTION", "DOCUMENTATION"}},
        {static_cast<int>(Kind::Person), {"DESCRIPTION", "FIRST_NAME", "LAST_NAME", "PHONE", "SECOND_PHONE"}},
        {static_cast<int>(Kind::PersonUpdate), {"SUBSTITUTE"}},
        {static_cast<int>(Kind::Role), {"DESCRIPTION", "COORDINATOR", "RELATED_PERSON"}},
        {static_cast<int>(Kind::Organization), {"DESCRIPTION", "MANAGER", "RELATED_PERSON"}},
        {static_cast<int>(Kind::OrganizationUpdate), {"PARENT_ORGANIZATION"}},
        {static_cast<int>(Kind::Process), {"DESCRIPTION", "DOCUMENTATION", "CATEGORY", "WINDOW", "SOURCE", "SINK"}},
        {static_cast<int>(Kind::ProgramActivity),
         {"DESCRIPTION", "DOCUMENTATION", "LAYOUT", "START", "EXIT", "DONE_BY", "PROGRAM"}},
        {static_cast<int>(Kind::ProcessActivity),
         {"DESCRIPTION", "DOCUMENTATION", "LAYOUT", "START", "EXIT", "DONE_BY", "PROCESS"}},
        {static_cast<int>(Kind::BlockActivity), {"DESCRIPTION", "DOCUMENTATION", "LAYOUT", "START", "EXIT", "DONE_BY"}},
        {static_cast<int>(Kind::Control), {"DESCRIPTION", "FROM", "WHEN", "LAYOUT"}},
        {static_cast<int>(Kind::Data), {"DESCRIPTION", "FROM", "LOOP", "MAP", "LAYOUT"}},
    };
    auto found = properties.find(static_cast<int>(kind));
    if (found == properties.end()) return false;
    return std::find(found->second.begin(), found->second.end(), word) != found->second.end();
}

std::string ToText(int number) { return std::to_string(number); }

class Parser {
public:
    Parser(std::vector<Logical>& lines, std::vector<Finding>& findings) : lines_(lines), findings_(findings) {}

    void ParseFile(File& file) {
        while (pos_ < lines_.size()) {
            const Logical& l = lines_[pos_];
            if (l.comment) {
                file.items.push_back(TakeLine(Kind::Comment));
                continue;
            }
            const std::string& word = l.line.keyword;
            auto top = TopKinds().find(word);
            if (top == TopKinds().end()) {
                if (word == "END") Report(l.line.number, kStrayEnd, {UnquotedOrAsWritten(l.line.value)});
                else Report(l.line.number, kUnknownKeyword, {FirstWord(l.line)});
                file.items.push_back(TakeLine(Kind::Stray));
                continue;
            }
            if (top->second == Kind::Codepage || top->second == Kind::Release) {
                file.items.push_back(TakeLine(top->second));
                continue;
            }
            Item block;
            if (!OpenBlock(top->second, block)) {
                file.items.push_back(std::move(block));
                continue;
            }
            ParseBody(block);
            file.items.push_back(std::move(block));
        }
    }

private:
    void Report(int line, int id, std::vector<std::string> params) {
        findings_.push_back({line, Severity::Error, id, std::move(params)});
    }

    static std::string FirstWord(const Line& line) {
        if (!line.keyword.empty()) return line.keyword;
        std::string text = line.value.substr(0, line.value.find_first_of(" \r\n"));
        return text;
    }

    static std::string UnquotedOrAsWritten(const std::string& text) {
        std::size_t pos = 0;
        std::string name;
        if (ReadQuotedName(text, pos, name) && pos == text.size()) return name;
        return text;
    }

    // The current line as one item; a ";" that ended it stays part of its value.
    Item TakeLine(Kind kind) {
        Item item;
        item.kind = kind;
        item.head = std::move(lines_[pos_++].line);
        if (item.head.semicolon) {
            item.head.semicolon = false;
            item.head.value += ";";
        }
        return item;
    }

    // Reads the head of a block into `block`; false (and a finding) when it is not a block head.
    bool OpenBlock(Kind kind, Item& block) {
        const Logical& l = lines_[pos_];
        std::string value = l.line.value;
        if (kind == Kind::PersonUpdate) {
            if (value.rfind("PERSON ", 0) == 0) {
                value = value.substr(7);
            } else if (value.rfind("ORGANIZATION ", 0) == 0) {
                kind = Kind::OrganizationUpdate;
                value = value.substr(13);
            } else {
                Report(l.line.number, kUnknownKeyword, {"UPDATE " + value.substr(0, value.find(' '))});
                block = TakeLine(Kind::Stray);
                return false;
            }
        }
        block = TakeLine(kind);
        std::size_t pos = 0;
        // An empty name is written as nothing after the keyword's blank: read as a block with an
        // empty name, which the checker reports as such.
        block.bareName = l.line.blankAfterKeyword && !l.line.semicolon && value.empty();
        bool named =
            block.bareName || (l.line.blankAfterKeyword && !l.line.semicolon && ReadQuotedName(value, pos, block.name));
        block.nameRead = named;
        const bool containers = kind == Kind::Program || kind == Kind::Process || kind == Kind::ProgramActivity ||
                                kind == Kind::ProcessActivity || kind == Kind::BlockActivity;
        if (named && containers && pos < value.size()) {
            std::size_t p = pos;
            named = value.compare(p, 2, " (") == 0;
            p += 2;
            named = named && ReadQuotedName(value, p, block.Parts().input) && value.compare(p, 2, ", ") == 0;
            p += 2;
            named = named && ReadQuotedName(value, p, block.Parts().output) && value.compare(p, 1, ")") == 0;
            pos = p + 1;
            block.Parts().hasContainers = named;
        }
        named = named && pos == value.size();
        if (!named) {
            Report(block.head.number, kMalformed,
                   {KeywordOf(kind), containers ? "'name' ('input', 'output')" : "'name'"});
            if (!block.nameRead) block.name = value;
        }
        block.named = named;
        return true;
    }

    bool EndsAncestor(const std::string& name) const {
        return std::any_of(open_.begin(), open_.end(), [&](const Item* item) { return item->name == name; });
    }

    // The lines of a block up to its END; a block whose END is missing ends before the next
    // line that cannot belong to it.
    void ParseBody(Item& block) {
        open_.push_back(&block);
        bool closed = false;
        while (pos_ < lines_.size()) {
            const Logical& l = lines_[pos_];
            if (l.comment) {
                block.items.push_back(TakeLine(Kind::Comment));
                continue;
            }
            const std::string& word = l.line.keyword;
            if (word == "END") {
                std::string endName;
                std::size_t p = 0;
                const bool endNamed =
                    l.line.blankAfterKeyword && !l.line.semicolon &&
                    (l.line.value.empty() || (ReadQuotedName(l.line.value, p, endName) && p == l.line.value.size()));
                if (endNamed && endName != block.name && EndsAncestor(endName)) {
                    ReportMissingEnd(block);
                    closed = true;
                    break;
                }
                if (!endNamed) {
                    Report(l.line.number, kMalformed, {"END", "'name'"});
                } else if (endName != block.name) {
                    Report(l.line.number, kEndNameDiffers, {endName, block.name, ToText(block.head.number)});
                }
                block.Parts().hasEnd = true;
                block.Parts().end = l.line;
                block.Parts().endNamed = endNamed;
                block.Parts().endName = endNamed ? endName : l.line.value;
                ++pos_;
                closed = true;
                break;
            }
            if (word.empty() && block.kind == Kind::Structure && !l.line.value.empty()) {
                ParseMember(block);
                continue;
            }
            if (HoldsActivities(block.kind) && IsActivityKeyword(word)) {
                const Kind kind = word == "PROGRAM_ACTIVITY"   ? Kind::ProgramActivity
                                  : word == "PROCESS_ACTIVITY" ? Kind::ProcessActivity
                                                               : Kind::BlockActivity;
                Item activity;
                OpenBlock(kind, activity);
                ParseBody(activity);
                block.items.push_back(std::move(activity));
                continue;
            }
            if (HoldsActivities(block.kind) && IsConnectorKeyword(word)) {
                block.items.push_back(ParseConnector(word == "CONTROL" ? Kind::Control : Kind::Data));
                continue;
            }
            if (IsPropertyOf(block.kind, word)) {
                block.items.push_back(TakeLine(Kind::Property));
                continue;
            }
            if (TopKinds().count(word) || IsActivityKeyword(word) || IsConnectorKeyword(word)) {
                ReportMissingEnd(block);
                closed = true;
                break;
            }
            if (AllowsSettings(block.kind) && IsIdentifier(word)) {
                block.items.push_back(TakeLine(Kind::Setting));
                continue;
            }
            Report(l.line.number, kUnknownKeyword, {FirstWord(l.line)});
            block.items.push_back(TakeLine(Kind::Stray));
        }
        if (!closed) ReportMissingEnd(block);
        open_.pop_back();
    }

    void ReportMissingEnd(const Item& block) {
        Report(block.head.number, kMissingEnd, {KeywordOf(block.kind), block.name});
    }

    // "'name': TYPE size", then its DESCRIPTION and DOCUMENTATION; ";" ends its last line.
    void ParseMember(Item& structure) {
        Item member;
        member.kind = Kind::Member;
        member.head = lines_[pos_++].line;
        const std::string& value = member.head.value;
        std::size_t pos = 0;
        bool named = ReadQuotedName(value, pos, member.name) && value.compare(pos, 2, ": ") == 0;
        if (named) {
            pos += 2;
            std::size_t typeEnd = pos;
            if (pos < value.size() && value[pos] == '\'') {
                std::string ignored;
                named = ReadQuotedName(value, typeEnd, ignored);
            } else {
                typeEnd = value.find(' ', pos);
                if (typeEnd == std::string::npos) typeEnd = value.size();
                named = typeEnd > pos;
            }
            if (named) {
                member.Parts().memberType = value.substr(pos, typeEnd - pos);
                member.Parts().blankAfterType = typeEnd < value.size() && value[typeEnd] == ' ';
                member.Parts().memberSize =
                    value.substr(std::min(value.size(), typeEnd + (member.Parts().blankAfterType ? 1 : 0)));
                named = member.Parts().memberSize.find_first_of("\r\n'") == std::string::npos;
            }
        }
        member.named = named;
        if (!named) Report(member.head.number, kMalformed, {"STRUCTURE", "'member': TYPE ;"});
        bool ended = member.head.semicolon;
        while (!ended && pos_ < lines_.size()) {
            const Logical& l = lines_[pos_];
            if (l.comment || !IsPropertyOf(Kind::Member, l.line.keyword)) break;
            member.items.emplace_back();
            Item& property = member.items.back();
            property.kind = Kind::Property;
            property.head = lines_[pos_++].line;
            ended = property.head.semicolon;
        }
        if (!ended) {
            findings_.push_back(
                {member.head.number, Severity::Error, kMemberWithoutSemicolon, {named ? member.name : value}});
        }
        structure.items.push_back(std::move(member));
    }

    // A CONTROL or DATA block: its property lines up to the next line that is not one of them.
    Item ParseConnector(Kind kind) {
        Item connector = TakeLine(kind);
        if (!connector.head.value.empty() || connector.head.blankAfterKeyword)
            Report(connector.head.number, kMalformed, {KeywordOf(kind), KeywordOf(kind)});
        while (pos_ < lines_.size()) {
            const Logical& l = lines_[pos_];
            if (l.comment) {
                connector.items.push_back(TakeLine(Kind::Comment));
                continue;
            }
            const std::string& word = l.line.keyword;
            if (IsPropertyOf(kind, word)) {
                connector.items.push_back(TakeLine(Kind::Property));
                continue;
            }
            if (word == "END" || TopKinds().count(word) || IsActivityKeyword(word) || IsConnectorKeyword(word)) break;
            // A connector has no settings, and those of its process stand before its activities.
            Report(l.line.number, kUnknownKeyword, {FirstWord(l.line)});
            connector.items.push_back(TakeLine(Kind::Stray));
        }
        return connector;
    }

    std::vector<Logical>& lines_;
    std::vector<Finding>& findings_;
    std::size_t pos_ = 0;
    std::vector<const Item*> open_;
};

// ---- write-back ----

void WriteLineText(std::string& out, const Line& line, const std::string& text) {
    for (int i = 0; i < line.blankLinesBefore; ++i) out += kCrLf;
    out += line.indent;
    out += text;
    if (line.semicolon) out += ';';
    out += kCrLf;
}

std::string AsWritten(const Line& line) { return line.keyword + (line.blankAfterKeyword ? " " : "") + line.value; }

std::string HeadText(const Item& item) {
    if (!item.named || item.bareName) return AsWritten(item.head);
    if (item.kind == Kind::Member) {
        return Quote(item.name) + ": " + item.Parts().memberType + (item.Parts().blankAfterType ? " " : "") +
               item.Parts().memberSize;
    }
    std::string text = item.head.keyword + " ";
    if (item.kind == Kind::PersonUpdate) text += "PERSON ";
    if (item.kind == Kind::OrganizationUpdate) text += "ORGANIZATION ";
    text += Quote(item.name);
    if (item.Parts().hasContainers) text += " (" + Quote(item.Parts().input) + ", " + Quote(item.Parts().output) + ")";
    return text;
}

void WriteItem(std::string& out, const Item& item) {
    WriteLineText(out, item.head, HeadText(item));
    for (const Item& inner : item.items) WriteItem(out, inner);
    if (item.Parts().hasEnd)
        WriteLineText(out, item.Parts().end,
                      item.Parts().endNamed && !item.Parts().endName.empty() ? "END " + Quote(item.Parts().endName)
                                                                             : AsWritten(item.Parts().end));
}

}  // namespace

Item& Item::operator=(const Item& other) {
    if (this == &other) return *this;
    kind = other.kind;
    head = other.head;
    named = other.named;
    nameRead = other.nameRead;
    bareName = other.bareName;
    name = other.name;
    items = other.items;
    parts_ = other.parts_ ? std::make_unique<BlockParts>(*other.parts_) : nullptr;
    return *this;
}

BlockParts& Item::Parts() {
    if (!parts_) parts_ = std::make_unique<BlockParts>();
    return *parts_;
}

const BlockParts& Item::Parts() const {
    static const BlockParts kNone;
    return parts_ ? *parts_ : kNone;
}

const char* KeywordOf(Kind kind) {
    switch (kind) {
        case Kind::Comment: return "/*";
        case Kind::Codepage: return "CODEPAGE";
        case Kind::Release: return "KV_RELEASE";
        case Kind::Structure: return "STRUCTURE";
        case Kind::Member: return "STRUCTURE";
        case Kind::ProcessCategory: return "PROCESS_CATEGORY";
        case Kind::Program: return "PROGRAM";
        case Kind::Person: return "PERSON";
        case Kind::Role: return "ROLE";
        case Kind::Organization: return "ORGANIZATION";
        case Kind::PersonUpdate: return "UPDATE PERSON";
        case Kind::OrganizationUpdate: return "UPDATE ORGANIZATION";
        case Kind::Process: return "PROCESS";
        case Kind::ProgramActivity: return "PROGRAM_ACTIVITY";
        case Kind::ProcessActivity: return "PROCESS_ACTIVITY";
        case Kind::BlockActivity: return "BLOCK";
        case Kind::Control: return "CONTROL";
        case Kind::Data: return "DATA";
        case Kind::Property:
        case Kind::Setting:
        case Kind::Stray: return "";
    }
    return "";
}

std::string Quote(const std::string& name) {
    std::string text = "'";
    for (const char c : name) {
        text += c;
        if (c == '\'') text += '\'';
    }
    return text + "'";
}

bool ReadQuotedName(std::string_view text, std::size_t& pos, std::string& name) {
    if (pos >= text.size() || text[pos] != '\'') return false;
    std::string out;
    for (std::size_t i = pos + 1; i < text.size(); ++i) {
        if (text[i] != '\'') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\'') {
            out += '\'';
            ++i;
            continue;
        }
        name = out;
        pos = i + 1;
        return true;
    }
    return false;
}

ReadResult ReadDefinition(std::string_view bytes) {
    ReadResult result;
    File& file = result.file;
    file.codePageFound = FindCodePage(bytes, file.codePage);
    std::string text = platform::FromCodePageToUtf8(bytes, file.codePage);
    // Bytes that are no character of the code page were read as "?": reported at the first.
    // UTF-8 passes unconverted, so it is checked line by line.
    int badLine = 0;
    bool converted = true;
    {
        const std::string again = platform::FromUtf8ToCodePage(text, file.codePage);
        if (again != bytes) {
            converted = false;
            const std::size_t at =
                std::mismatch(again.begin(), again.end(), bytes.begin(), bytes.end()).second - bytes.begin();
            badLine = 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + static_cast<long>(at), '\n'));
        }
    }
    if (converted && !platform::IsValidUtf8(text)) {
        int line = 1;
        for (std::size_t start = 0; start <= text.size() && !badLine; ++line) {
            const std::size_t end = text.find('\n', start);
            if (!platform::IsValidUtf8(std::string_view(text).substr(start, end - start))) badLine = line;
            if (end == std::string::npos) break;
            start = end + 1;
        }
    }
    if (badLine > 0)
        result.findings.push_back({badLine, Severity::Warning, kNotInCodepage, {std::to_string(file.codePage)}});
    std::vector<std::string> physical = SplitLines(text, file, result.findings);
    std::string().swap(text);
    file.lineCount = static_cast<int>(physical.size());
    std::vector<Logical> lines = JoinLogicalLines(physical, file, result.findings);
    std::vector<std::string>().swap(physical);
    Parser(lines, result.findings).ParseFile(file);
    if (!file.codePageFound) result.findings.push_back({1, Severity::Warning, kNoCodepage, {}});
    std::stable_sort(result.findings.begin(), result.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return result;
}

bool ReadBytes(const std::string& path, std::string& bytes) {
    const std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return false;
    bytes = buffer.str();
    return true;
}

bool ReadDefinitionFile(const std::string& path, ReadResult& result) {
    std::string bytes;
    if (!ReadBytes(path, bytes)) return false;
    result = ReadDefinition(bytes);
    return true;
}

std::string WriteDefinition(const File& file) {
    std::string out;
    for (const Item& item : file.items) WriteItem(out, item);
    for (int i = 0; i < file.trailingBlankLines; ++i) out += kCrLf;
    if (!file.finalLineEnd && out.size() >= 2) out.resize(out.size() - 2);
    return platform::FromUtf8ToCodePage(out, file.codePage);
}

std::string FillPlaceholders(const std::string& text, const std::vector<std::string>& params) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 3 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '4' && text[i + 2] == '$' &&
            text[i + 3] == 's') {
            const std::size_t index = static_cast<std::size_t>(text[i + 1] - '1');
            out += index < params.size() ? params[index] : std::string();
            i += 3;
            continue;
        }
        out += text[i];
    }
    return out;
}

}  // namespace wpx
