// Fuzzes the mapping-profile tokenizer and parser: any profile either fills the rule registry or
// is refused with one of the profile's syntax errors; nothing else may come out of it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "app/clsIOHandler.h"
#include "mapping/ColMappingRules.h"
#include "mapping/clsMappingRuleToken.h"
#include "platform/Error.h"
#include "platform/MessageBox.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"

namespace {
class SilentBoxes : public platform::MessageBoxPresenter {
public:
    int Show(const std::string&, int, const std::string&) override { return platform::kIdOk; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool once = [] {
        platform::SetMessageBoxPresenter(std::make_unique<SilentBoxes>());
        return true;
    }();
    (void)once;
    static std::string path = "/tmp/lumenport-profile-fuzz-" + std::to_string(::getpid()) + ".prf";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    clsIOHandler io;
    io.MappingProfileOverride = path;
    io.TokenizeMappingProfile(std::string(reinterpret_cast<const char*>(data), size));
    modMappingRule::ResetMappingRules();
    try {
        io.ParseMappingFile();
    } catch (const platform::Error& e) {
        // Only the profile's own errors may end a parse.
        if (e.Number() < 2100 || e.Number() > 2230) __builtin_trap();
    }
    modMappingRule::ResetMappingRules();
    CurrentExport().CurrentStep.clear();
    std::remove(path.c_str());
    return 0;
}
