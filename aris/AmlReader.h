#pragma once
// The AML reader: streams an ARIS XML export through expat into a new repository database.
// External entities are never loaded; entities of the internal DTD subset are expanded under
// expat's amplification limits. Malformed input raises ServerError(440) naming the source,
// line and column; references to ids missing from the file are dropped and reported once.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "aris/Repository.h"
#include "aris/TypeTable.h"

namespace aris {

/// Fills `buffer` with up to `size` bytes of the document; returns the count, 0 at the end.
/// Throws ServerError when the source cannot be read.
using AmlChunkSource = std::function<std::size_t(char* buffer, std::size_t size)>;

/// Told how far the reading of an AML file has come, so that the program can show it during
/// long loads. Calls are cheap for the reader: one when the file is opened, one per chunk.
class LoadObserver {
public:
    virtual ~LoadObserver() = default;
    /// Reading of `sourceName` begins; `totalBytes` is its size, 0 when it is not known.
    virtual void Started(const std::string& sourceName, std::uint64_t totalBytes) = 0;
    /// `bytesRead` bytes of the document have been read so far.
    virtual void Read(std::uint64_t bytesRead) = 0;
};

/// Read one AML document into a new database using `catalog` for its types. The load report
/// (dropped references, type names without number) goes to `report`. `expectedBytes`, the
/// document's size when known, lets the reader size its tables once; `observer`, when given,
/// hears of every chunk read.
std::unique_ptr<repo::DatabaseImpl> ReadAml(const AmlChunkSource& source, const std::string& sourceName,
                                            std::unique_ptr<TypeCatalog> catalog, std::ostream& report,
                                            std::size_t expectedBytes = 0, LoadObserver* observer = nullptr);

}  // namespace aris
