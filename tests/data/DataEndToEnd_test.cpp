// Whole-program exports of programs, structures and members: AML in, definition file and log
// compared byte for byte with the expected files beside each fixture.
#include <gtest/gtest.h>

#include <string>

#include "../support/ExportFixture.h"
#include "../support/TestEnv.h"

namespace {

struct Case {
    const char* name;       // folder under tests/data/
    const char* database;   // <database>.xml in the folder
    const char* selection;  // the /SEL text
};

class DataEndToEnd : public ::testing::TestWithParam<Case> {};

}  // namespace

TEST_P(DataEndToEnd, DefinitionFileAndLogAsExpected) {
    const Case& c = GetParam();
    testenv::ExpectExportAsExpected(
        {testenv::TestDataPath(std::string("data/") + c.name + "/"), c.database, c.selection, "1033"});
}

// structures: found structures, nested ones before and after their container, two domain types,
// array sizes with UseOtherSettings on, generated structures numbered from FirstSuffixNumber 5
// and shared by an input and an output holding the same data objects in another order.
// programs: programs created on demand, one used in two processes, an activity with a support
// tool, a generated structure with a structure member, array sizes with UseOtherSettings off.
INSTANTIATE_TEST_SUITE_P(
    Exports, DataEndToEnd,
    ::testing::Values(Case{"structures", "structures",
                           "guid-order-entry,Order entry,13;guid-order-confirmation,Order confirmation,13;"
                           "guid-order-data,Order data,8"},
                      Case{"programs", "billing", "guid-invoicing,Invoicing,13;guid-dunning,Dunning,13"}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });
