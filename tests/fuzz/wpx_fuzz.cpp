// Fuzzes the definition-file reader, checker and preview: any input is read and checked
// without a crash, its pictures are drawn, and a file read without a finding writes back to
// its own bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "preview/WPXPreview.h"
#include "reader/WPXChecker.h"
#include "reader/WPXReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    wpx::ReadResult read = wpx::ReadDefinition(bytes);
    std::vector<wpx::Finding> findings = wpx::CheckModel(read.file);
    for (const wpx::Item& item : read.file.items)
        if (item.kind == wpx::Kind::Process) wpx::ProcessSvg(wpx::DescribeProcess(item));
    wpx::IndexHtml("fuzz.wpx", read.file, findings, bytes, [](int id) { return std::to_string(id) + " %1$s"; });
    if (read.findings.empty() && findings.empty() && wpx::WriteDefinition(read.file) != bytes) std::abort();
    return 0;
}
