// Whole-program exports of staff: persons, roles and organizations found in the selected models
// or pulled in through their references, and the staff assignment of activities.
#include <gtest/gtest.h>

#include <string>

#include "../support/ExportFixture.h"
#include "../support/TestEnv.h"

namespace {

struct Case {
    const char* name;       // folder under tests/staff/
    const char* database;   // <database>.xml in the folder
    const char* selection;  // the /SEL text
};

class StaffExport : public ::testing::TestWithParam<Case> {};

}  // namespace

// persons: a role found first pulls in its member (later found again, set up once), whose user
// id loses its domain, who has no first name, two substitutes and three roles, two of them
// reachable only through the person.
// organizations: a unit found in the selection whose manager occupies the leading position and
// whose parent, reachable only through it, names it as parent in turn; that parent has no
// manager.
// assignment-*: an activity with a person and a role, another with two units, under both
// settings of DynamicStaffAssignment.
TEST_P(StaffExport, DefinitionFileAndLogAsExpected) {
    const Case& c = GetParam();
    testenv::ExpectExportAsExpected(
        {testenv::TestDataPath(std::string("staff/") + c.name + "/"), c.database, c.selection, "1033"});
}

INSTANTIATE_TEST_SUITE_P(
    Exports, StaffExport,
    ::testing::Values(Case{"persons", "staff", "guid-staff-chart,Staff chart,1"},
                      Case{"organizations", "regions", "guid-north-chart,North chart,1"},
                      Case{"assignment-dynamic", "purchasing", "guid-purchasing,Purchasing,13"},
                      Case{"assignment-explicit", "purchasing", "guid-purchasing,Purchasing,13"}),
    [](const ::testing::TestParamInfo<Case>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == '-') ch = '_';
        return name;
    });
