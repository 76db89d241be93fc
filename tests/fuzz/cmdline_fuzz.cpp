// Fuzzes the command-line reader: our own options, the switch search and the saved values.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/clsARIS_Interface.h"
#include "app/modMain.h"
#include "platform/Error.h"
#include "runtime/modGlobals.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> args;
    std::string current;
    for (char c : text) {
        if (c == '\n' || c == '\0') {
            args.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    args.push_back(current);
    modMain::OwnOptions own = modMain::ParseOwnOptions(args);
    clsARIS_Interface aris;
    aris.SetCommandLine(own.aris);
    for (const char* sw : {"/USR", "/DB", "/SVR", "/REG", "/SEL", "/LOC"}) {
        std::string value = aris.GetCommandLine(sw);
        // A value never holds a "/" after its first character.
        if (value.size() > 1 && value.find('/', 1) != std::string::npos) __builtin_trap();
    }
    try {
        aris.SaveCommandlineArguments();
    } catch (const platform::Error&) {
    }
    modGlobals::Reset();
    return 0;
}
