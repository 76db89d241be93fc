#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "reader/WPXModel.h"

/// Reads a definition file back into the model: the code page from its CODEPAGE line, quoted
/// texts over several lines, blocks closed by END, connectors closed by the next block.
/// Syntax faults become findings; the reader never gives up on a file.
namespace wpx {

struct ReadResult {
    File file;
    std::vector<Finding> findings;  ///< syntax findings, in line order
};

/// Read the bytes of a definition file, in the code page its CODEPAGE line names.
ReadResult ReadDefinition(std::string_view bytes);

/// The same, one top-level item at a time: each is handed to `take` as soon as it is complete,
/// so only the item being read is held. `file` gets the file's code page, line ends and line
/// count (its items stay empty), `findings` the syntax findings in line order, both once the
/// whole file is read. `passed`, when given, learns after each item how far into `bytes` the
/// reader has gone and will not look back.
void ReadDefinitionItems(std::string_view bytes, File& file, std::vector<Finding>& findings,
                         const std::function<void(Item&&)>& take,
                         const std::function<void(std::size_t)>& passed = nullptr);

/// A file's bytes, read into pages of the program's own (a plain file) or as a stream (anything
/// else); the pages a reader has gone past can be given back to the system as it goes. The
/// file is read, not mapped: another program shortening it meanwhile cannot pull the pages
/// away from under the reader.
class FileBytes {
public:
    FileBytes() = default;
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;
    ~FileBytes();

    /// False when the file cannot be opened or read.
    bool Open(const std::string& path);
    std::string_view Bytes() const;
    /// The bytes before `offset` are not needed any more.
    void Passed(std::size_t offset);

private:
    void* pages_ = nullptr;
    std::size_t capacity_ = 0;  ///< bytes of the pages
    std::size_t size_ = 0;      ///< bytes read into them
    std::size_t released_ = 0;
    std::string copy_;
};
/// Read a definition file from disk; false when it cannot be opened.
bool ReadDefinitionFile(const std::string& path, ReadResult& result);
/// The bytes of a whole file; false when it cannot be opened.
bool ReadBytes(const std::string& path, std::string& bytes);

/// The model written out again in its code page: for a file the exporter wrote, its bytes.
std::string WriteDefinition(const File& file);

/// A name in single quotes at `pos` (inner quotes doubled); on success `pos` stands behind it.
bool ReadQuotedName(std::string_view text, std::size_t& pos, std::string& name);

}  // namespace wpx
