// Whole exports of processes with control connectors: AML fixture in, definition file and log
// out, compared with the files written by hand beside each fixture.
#include <gtest/gtest.h>

#include <string>

#include "../support/ExportFixture.h"
#include "../support/TestEnv.h"

namespace {

struct Case {
    const char* name;       // folder under tests/connectors/
    const char* database;   // <database>.xml in the folder
    const char* selection;  // the /SEL text
};

class ControlConnectorExport : public ::testing::TestWithParam<Case> {};

}  // namespace

TEST_P(ControlConnectorExport, DefinitionFileAndLogAsExpected) {
    const Case& c = GetParam();
    testenv::ExpectExportAsExpected(
        {testenv::TestDataPath(std::string("connectors/") + c.name + "/"), c.database, c.selection, "1033"});
}

INSTANTIATE_TEST_SUITE_P(
    Exports, ControlConnectorExport,
    ::testing::Values(
        // Joined directly and through an event with a condition; a AND b on one path, c on
        // another; a connector description (option TransitionConditions on).
        Case{"conditions", "dispatch", "guid-dispatch,Dispatch,13"},
        // Events compared with data objects: "!=" and 100, a text value, a name with a blank,
        // an event related to two data objects; a condition attribute ignored with the option off.
        Case{"comparisons", "credit", "guid-credit,Credit check,13"},
        // A cycle of three closed by its third connector; a self loop with a condition that
        // becomes the exit condition and is counted but not written.
        Case{"loops", "release", "guid-release,Release,13"},
        // An AND rule on every incoming path, and one that a direct flow bypasses.
        Case{"and-join", "packing", "guid-packing,Packing,13"}),
    [](const ::testing::TestParamInfo<Case>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == '-') ch = '_';
        return name;
    });
