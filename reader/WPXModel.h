#pragma once
#include <memory>
#include <string>
#include <vector>

/// A definition file read back: every block, property and comment in file order, each with the
/// line it stands on, and enough of its layout (indentation, empty lines before it) that writing
/// the model out again gives the file's bytes.
namespace wpx {

/// What one item of the file is.
enum class Kind {
    Comment,    ///< "/* ... */", kept as written
    Codepage,   ///< "CODEPAGE n"
    Release,    ///< "KV_RELEASE ..."
    Structure,  ///< "STRUCTURE 'name'" ... "END 'name'"
    Member,     ///< "'name': TYPE size" inside a structure, ";" on its last line
    ProcessCategory,
    Program,  ///< "PROGRAM 'name' ('in', 'out')"
    Person,
    Role,
    Organization,
    PersonUpdate,        ///< "UPDATE PERSON 'name'"
    OrganizationUpdate,  ///< "UPDATE ORGANIZATION 'name'"
    Process,             ///< "PROCESS 'name' ('in', 'out')" with its activities and connectors
    ProgramActivity,
    ProcessActivity,
    BlockActivity,  ///< "BLOCK 'name' ('in', 'out')" with activities and connectors of its own
    Control,        ///< "CONTROL" and its property lines; no END
    Data,           ///< "DATA" and its property lines; no END
    Property,       ///< a keyword line the block kind knows ("DESCRIPTION '...'")
    Setting,        ///< a line passed on as written (the other settings of a construct)
    Stray,          ///< a line that belongs nowhere; reported, kept for the write-back
};

/// One line of the file, together with the lines of a quoted text it continues on.
struct Line {
    int number = 0;            ///< line of its first physical line, from 1
    int blankLinesBefore = 0;  ///< empty lines between it and the line before
    std::string indent;        ///< leading blanks and TABs as written
    std::string keyword;       ///< first word; empty for a member or a comment
    bool blankAfterKeyword = false;
    std::string value;       ///< the rest of the line after the keyword and its blank
    bool semicolon = false;  ///< a ";" ended the line (the last line of a member)
};

/// The parts only a block or a member has: its containers or data type, and its END line. Kept
/// apart from the item, because most items of a file are plain lines.
struct BlockParts {
    bool hasContainers = false;
    std::string input, output;  ///< container names without their quotes
    std::string memberType;     ///< a member's data type as written (quoted when a structure)
    bool blankAfterType = false;
    std::string memberSize;  ///< a member's array size as written ("(5)"), often empty
    bool hasEnd = false;
    Line end;               ///< the "END" line
    bool endNamed = false;  ///< the END line's name was read
    std::string endName;
};

/// One item: a block with its lines, or a single line.
struct Item {
    Item() = default;
    Item(Item&&) noexcept = default;
    Item& operator=(Item&&) noexcept = default;
    Item(const Item& other) { *this = other; }
    Item& operator=(const Item& other);

    /// The block's parts, made when first written.
    BlockParts& Parts();
    /// The block's parts; empty ones for a plain line.
    const BlockParts& Parts() const;

    Kind kind = Kind::Stray;
    Line head;
    bool named = false;       ///< the head's name (and containers) were read; write-back uses them
    bool nameRead = false;    ///< the name was read, even when the rest of the head was not
    bool bareName = false;    ///< the head holds an empty name written as nothing
    std::string name;         ///< the name without its quotes
    std::vector<Item> items;  ///< the lines and blocks inside

private:
    std::unique_ptr<BlockParts> parts_;
};

/// The whole file.
struct File {
    std::vector<Item> items;
    int codePage = 1252;  ///< from the CODEPAGE line; 1252 when there is none
    bool codePageFound = false;
    int trailingBlankLines = 0;  ///< empty lines after the last item
    bool finalLineEnd = true;    ///< the last line ends with a line end
    int lineCount = 0;
};

/// How bad a finding is: errors make the file unusable for the workflow engine.
enum class Severity { Error, Warning };

/// One finding of the reader or the checker: a message of the language libraries with its
/// parameters, at a line of the file.
struct Finding {
    int line = 0;
    Severity severity = Severity::Error;
    int messageId = 0;
    std::vector<std::string> params;
};

/// The keyword that opens a block of this kind, as written in the file.
const char* KeywordOf(Kind kind);
/// A name in single quotes, inner quotes doubled.
std::string Quote(const std::string& name);

}  // namespace wpx
