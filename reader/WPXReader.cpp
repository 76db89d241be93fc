#include "reader/WPXReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <unordered_map>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Where a physical line ends: at CR LF, a bare CR or a bare LF.
std::size_t LineEnd(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i)
        if (text[i] == '\r' || text[i] == '\n') return i;
    return std::string_view::npos;
}

bool IsAsciiText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The code pages whose lines convert one at a time as the whole text does: UTF-8 and the
// single-byte pages that keep ASCII (CR and LF stay where they are, nothing carries over).
bool ConvertsLineByLine(int codePage) {
    return codePage == 65001 || (codePage >= 1250 && codePage <= 1258) || (codePage >= 28591 && codePage <= 28605);
}

// The physical lines of a file, one at a time, each in UTF-8. A line's bytes are converted when
// it is read, so the file is never held converted as a whole. Notes the first bare line end and
// the first line that is no text of the code page; a reader that looked ahead goes back to a
// place it marked.
class PhysicalLines {
public:
    struct Mark {
        std::size_t pos = 0;
        int number = 0;
        int newlines = 0;
    };

    /// `convert`: the bytes are in `codePage` and converted line by line; else they are UTF-8
    /// already checked.
    PhysicalLines(std::string_view bytes, int codePage, bool convert)
        : bytes_(bytes), codePage_(codePage), convert_(convert) {}

    /// The next line without its line end, in `line`; false at the end of the file.
    bool Next(std::string& line) {
        if (here_.pos >= bytes_.size()) return false;
        const std::size_t end = LineEnd(bytes_, here_.pos);
        const std::string_view raw =
            bytes_.substr(here_.pos, end == std::string_view::npos ? std::string_view::npos : end - here_.pos);
        ++here_.number;
        Convert(raw, line);
        if (end == std::string_view::npos) {
            finalLineEnd_ = false;
            here_.pos = bytes_.size();
        } else {
            const bool crlf = bytes_[end] == '\r' && end + 1 < bytes_.size() && bytes_[end + 1] == '\n';
            if (!crlf && bareLine_ == 0) bareLine_ = here_.number;
            if (crlf || bytes_[end] == '\n') ++here_.newlines;
            here_.pos = end + (crlf ? 2 : 1);
        }
        lineCount_ = std::max(lineCount_, here_.number);
        return true;
    }

    /// Number of the line last read, from 1.
    int Number() const { return here_.number; }
    Mark Here() const { return here_; }
    void Back(const Mark& mark) { here_ = mark; }

    int LineCount() const { return lineCount_; }
    bool FinalLineEnd() const { return finalLineEnd_; }
    /// The first line that does not end with CR LF; 0 when every line does.
    int BareLineEnd() const { return bareLine_; }
    /// The first line (counted by LF) with bytes that are no character of the code page, else
    /// the first that is no valid UTF-8; 0 when there is none.
    int NotInCodePage() const { return unconvertible_ ? unconvertible_ : invalidUtf8_; }

private:
    void Convert(std::string_view raw, std::string& line) {
        if (IsAsciiText(raw) || !convert_) {
            line.assign(raw);
            return;
        }
        line = platform::FromCodePageToUtf8(raw, codePage_);
        // The line's number counted by LF: a bare CR starts no line here.
        const int lfLine = here_.newlines + 1;
        if (platform::FromUtf8ToCodePage(line, codePage_) != raw) {
            if (unconvertible_ == 0 || lfLine < unconvertible_) unconvertible_ = lfLine;
        } else if (!platform::IsValidUtf8(line)) {
            if (invalidUtf8_ == 0 || lfLine < invalidUtf8_) invalidUtf8_ = lfLine;
        }
    }

    std::string_view bytes_;
    int codePage_;
    bool convert_;
    Mark here_;
    int lineCount_ = 0;
    bool finalLineEnd_ = true;
    int bareLine_ = 0;
    int unconvertible_ = 0;
    int invalidUtf8_ = 0;
};

// The logical lines of a file, one at a time: a physical line, a comment with the lines it runs
// over, or a line with the lines that a quoted text opened on it continues on. The line read
// before the current one stays valid until the next step, so a reference taken to the current
// line outlives the step that moves past it.
class LogicalLines {
public:
    LogicalLines(PhysicalLines& physical, File& file, std::vector<Finding>& findings)
        : physical_(physical), file_(file), findings_(findings) {
        Advance();
    }

    bool AtEnd() const { return !has_; }
    Logical& Current() { return window_[current_]; }
    void Advance() {
        current_ ^= 1;
        window_[current_] = Logical();
        has_ = ReadNext(window_[current_]);
    }

private:
    static bool CommentCloses(std::string_view v, std::size_t from) {
        while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
        return v.size() >= from + 2 && v.substr(v.size() - 2) == "*/";
    }

    bool ReadNext(Logical& l) {
        std::string& p = buffer_;
        for (;;) {
            if (!physical_.Next(p)) {
                file_.trailingBlankLines = blank_;
                return false;
            }
            if (!p.empty()) break;
            ++blank_;
        }
        l.line.number = physical_.Number();
        l.line.blankLinesBefore = blank_;
        blank_ = 0;
        std::size_t first = p.find_first_not_of(" \t");
        if (first == std::string::npos) first = p.size();
        l.line.indent.assign(p, 0, first);
        std::string text = p.substr(first);
        if (text.empty()) {
            // Blanks or TABs alone: kept as written, like a comment.
            l.comment = true;
            return true;
        }
        if (text.rfind("/*", 0) == 0) {
            // A comment runs to the line that ends with "*/"; quotes mean nothing inside it.
            l.comment = true;
            bool closed = CommentCloses(text, 2);
            while (!closed && physical_.Next(p)) {
                text += kCrLf;
                text += p;
                closed = CommentCloses(p, 0);
            }
            if (!closed) findings_.push_back({l.line.number, Severity::Error, kMalformed, {"/*", "*/"}});
            l.line.value = std::move(text);
            return true;
        }
        if (QuotesOpen(text)) {
            // The parity is kept line by line, so a quote left open costs one pass to the end;
            // the lines are joined only once the quote is known to close.
            const PhysicalLines::Mark mark = physical_.Here();
            bool open = true;
            int lines = 0;
            while (open && physical_.Next(p)) {
                ++lines;
                if (QuotesOpen(p)) open = false;
            }
            physical_.Back(mark);
            if (open) {
                // Read on behind the line that opened the quote, so the rest is still checked.
                findings_.push_back({l.line.number, Severity::Error, kUnterminatedQuote, {}});
            } else {
                for (int i = 0; i < lines && physical_.Next(p); ++i) {
                    text += kCrLf;
                    text += p;
                }
            }
        }
        if (!text.empty() && text.back() == ';') {
            l.line.semicolon = true;
            text.pop_back();
        }
        if (text.empty() || text[0] == '\'') {
            l.line.value = std::move(text);
        } else {
            const std::size_t blankAt = text.find(' ');
            l.line.keyword = text.substr(0, blankAt);
            if (blankAt != std::string::npos) {
                l.line.blankAfterKeyword = true;
                l.line.value = text.substr(blankAt + 1);
            }
        }
        return true;
    }

    PhysicalLines& physical_;
    File& file_;
    std::vector<Finding>& findings_;
    std::string buffer_;
    int blank_ = 0;
    Logical window_[2];
    int current_ = 1;
    bool has_ = false;
};

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
    Parser(LogicalLines& lines, std::vector<Finding>& findings) : lines_(lines), findings_(findings) {}

    // Hands each top-level item to `take` as soon as it is complete.
    void ParseFile(const std::function<void(Item&&)>& take) {
        while (!lines_.AtEnd()) {
            const Logical& l = lines_.Current();
            if (l.comment) {
                take(TakeLine(Kind::Comment));
                continue;
            }
            const std::string& word = l.line.keyword;
            auto top = TopKinds().find(word);
            if (top == TopKinds().end()) {
                if (word == "END") Report(l.line.number, kStrayEnd, {UnquotedOrAsWritten(l.line.value)});
                else Report(l.line.number, kUnknownKeyword, {FirstWord(l.line)});
                take(TakeLine(Kind::Stray));
                continue;
            }
            if (top->second == Kind::Codepage || top->second == Kind::Release) {
                take(TakeLine(top->second));
                continue;
            }
            Item block;
            if (!OpenBlock(top->second, block)) {
                take(std::move(block));
                continue;
            }
            ParseBody(block);
            take(std::move(block));
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
        item.head = std::move(lines_.Current().line);
        lines_.Advance();
        if (item.head.semicolon) {
            item.head.semicolon = false;
            item.head.value += ";";
        }
        return item;
    }

    // Reads the head of a block into `block`; false (and a finding) when it is not a block head.
    bool OpenBlock(Kind kind, Item& block) {
        const Logical& l = lines_.Current();
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
        while (!lines_.AtEnd()) {
            const Logical& l = lines_.Current();
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
                lines_.Advance();
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
        member.head = lines_.Current().line;
        lines_.Advance();
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
        while (!ended && !lines_.AtEnd()) {
            const Logical& l = lines_.Current();
            if (l.comment || !IsPropertyOf(Kind::Member, l.line.keyword)) break;
            member.items.emplace_back();
            Item& property = member.items.back();
            property.kind = Kind::Property;
            property.head = lines_.Current().line;
            lines_.Advance();
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
        while (!lines_.AtEnd()) {
            const Logical& l = lines_.Current();
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

    LogicalLines& lines_;
    std::vector<Finding>& findings_;
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
    // Copied a run of characters at a time, up to the next quote.
    for (std::size_t from = pos + 1;;) {
        const std::size_t quote = text.find('\'', from);
        if (quote == std::string_view::npos) return false;
        out.append(text.substr(from, quote - from));
        if (quote + 1 < text.size() && text[quote + 1] == '\'') {
            out += '\'';
            from = quote + 2;
            continue;
        }
        name = std::move(out);
        pos = quote + 1;
        return true;
    }
}

void ReadDefinitionItems(std::string_view bytes, File& file, std::vector<Finding>& findings,
                         const std::function<void(Item&&)>& take, const std::function<void(std::size_t)>& passed) {
    file.codePageFound = FindCodePage(bytes, file.codePage);
    // The findings of each stage apart, joined in this order, so that findings on one line keep
    // the order of the stages.
    std::vector<Finding> encoding, logical, syntax;
    const bool byLine = ConvertsLineByLine(file.codePage);
    std::string converted;
    std::string_view text = bytes;
    int badLine = 0;
    if (!byLine) {
        // Another code page is converted as a whole; bytes that are no character of it were
        // read as "?": reported at the first.
        converted = platform::FromCodePageToUtf8(bytes, file.codePage);
        const std::string again = platform::FromUtf8ToCodePage(converted, file.codePage);
        if (again != bytes) {
            const std::size_t at =
                std::mismatch(again.begin(), again.end(), bytes.begin(), bytes.end()).second - bytes.begin();
            badLine = 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + static_cast<long>(at), '\n'));
        } else if (!platform::IsValidUtf8(converted)) {
            int line = 1;
            for (std::size_t start = 0; start <= converted.size() && !badLine; ++line) {
                const std::size_t end = converted.find('\n', start);
                if (!platform::IsValidUtf8(std::string_view(converted).substr(start, end - start))) badLine = line;
                if (end == std::string::npos) break;
                start = end + 1;
            }
        }
        text = converted;
    }
    PhysicalLines physical(text, file.codePage, byLine);
    LogicalLines lines(physical, file, logical);
    Parser(lines, syntax).ParseFile([&](Item&& item) {
        take(std::move(item));
        if (passed && byLine) passed(physical.Here().pos);
    });
    if (byLine) badLine = physical.NotInCodePage();
    if (badLine > 0) encoding.push_back({badLine, Severity::Warning, kNotInCodepage, {std::to_string(file.codePage)}});
    if (physical.BareLineEnd() > 0) encoding.push_back({physical.BareLineEnd(), Severity::Warning, kBareLineEnd, {}});
    file.finalLineEnd = physical.FinalLineEnd();
    file.lineCount = physical.LineCount();
    findings = std::move(encoding);
    findings.insert(findings.end(), logical.begin(), logical.end());
    findings.insert(findings.end(), syntax.begin(), syntax.end());
    if (!file.codePageFound) findings.push_back({1, Severity::Warning, kNoCodepage, {}});
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
}

ReadResult ReadDefinition(std::string_view bytes) {
    ReadResult result;
    ReadDefinitionItems(bytes, result.file, result.findings,
                        [&result](Item&& item) { result.file.items.push_back(std::move(item)); });
    return result;
}

FileBytes::~FileBytes() {
    if (pages_) munmap(pages_, capacity_);
}

namespace {

// Read up to `size` bytes; the number read (fewer when the file ended sooner), or nothing on an
// error.
std::optional<std::size_t> ReadUpTo(int fd, char* into, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = read(fd, into + done, size - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

}  // namespace

bool FileBytes::Open(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        const auto capacity = static_cast<std::size_t>(info.st_size);
        void* pages = mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (pages != MAP_FAILED) {
            // The file as it is now: a file that grows meanwhile is read up to its size at the
            // start, one that shrinks up to where it ends.
            const std::optional<std::size_t> got = ReadUpTo(fd, static_cast<char*>(pages), capacity);
            close(fd);
            if (!got) {
                munmap(pages, capacity);
                return false;
            }
            pages_ = pages;
            capacity_ = capacity;
            size_ = *got;
            return true;
        }
    }
    if (fd >= 0) close(fd);
    // Not a plain file, empty, or no pages to be had: read as a stream.
    return ReadBytes(path, copy_);
}

std::string_view FileBytes::Bytes() const {
    return pages_ ? std::string_view(static_cast<const char*>(pages_), size_) : std::string_view(copy_);
}

void FileBytes::Passed(std::size_t offset) {
    // Given back in steps of a few MB; the reader never looks back there.
    constexpr std::size_t kStep = 4u << 20;
    if (!pages_ || offset < released_ + kStep) return;
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t upTo = std::min(offset, size_) / page * page;
    if (upTo <= released_) return;
    madvise(static_cast<char*>(pages_) + released_, upTo - released_, MADV_DONTNEED);
    released_ = upTo;
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
