#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../support/TestEnv.h"
#include "app/clsIOHandler.h"
#include "mapping/ColMappingRules.h"
#include "mapping/modMappingRule.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "runtime/modGlobals.h"

namespace mappingtest {

/// One test with an export of its own: the German library, an empty rule registry and a log in a
/// temporary folder.
class MappingTest : public ::testing::Test {
protected:
    MappingTest() {
        io.SetDefinitionFileName(box.dir.File("out.wpx"));
        box.context.IOHandler = &io;
        box.context.Files = &io;
    }

    /// The lines of the log written so far.
    std::vector<std::string> LogLines() {
        if (!std::filesystem::exists(io.LogFileName())) return {};
        return Lines(io.ReadFile(io.LogFileName()));
    }

    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find("\r\n", pos);
            if (end == std::string::npos) end = text.size();
            lines.push_back(text.substr(pos, end - pos));
            pos = end + 2;
        }
        return lines;
    }

    testenv::Sandbox box{"DEU"};
    clsIOHandler io;
};

/// The error a call raises (number 0 and a test failure when it raises none).
template <class F>
platform::Error CatchError(F&& call) {
    try {
        call();
    } catch (const platform::Error& e) {
        return e;
    }
    ADD_FAILURE() << "no error raised";
    return platform::Error(0, "");
}

}  // namespace mappingtest
