#pragma once
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
/// Read a definition file from disk; false when it cannot be opened.
bool ReadDefinitionFile(const std::string& path, ReadResult& result);
/// The bytes of a whole file; false when it cannot be opened.
bool ReadBytes(const std::string& path, std::string& bytes);

/// The model written out again in its code page: for a file the exporter wrote, its bytes.
std::string WriteDefinition(const File& file);

/// A name in single quotes at `pos` (inner quotes doubled); on success `pos` stands behind it.
bool ReadQuotedName(std::string_view text, std::size_t& pos, std::string& name);

}  // namespace wpx
