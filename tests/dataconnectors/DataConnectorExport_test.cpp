// Whole-program exports of data flows: connectors between activities, from the process source and
// to the process sink, their field mappings, bend points and the data-flow loop warning.
#include <gtest/gtest.h>

#include <string>

#include "../support/ExportFixture.h"
#include "../support/TestEnv.h"

namespace {

struct Case {
    const char* name;       // folder under tests/dataconnectors/
    const char* database;   // <database>.xml in the folder
    const char* selection;  // the /SEL text
};

class DataConnectorExport : public ::testing::TestWithParam<Case> {};

}  // namespace

// activity-flows: one function writes a data object another reads (no source, no sink; both
// activities share one generated container); a cycle of three functions reported once, by the
// connector that closes it; a function that writes and reads its own journal (written as LOOP).
// sources-and-sinks: three functions each read a data object that no function writes (SOURCE 1
// to 3 in model order, one generated process input container), one writes a report that no
// function reads (SINK 1, sharing its container with the writer); a draft read by a function but
// occurring only in a model that is not exported gets no source.
// structure-mappings: the process source is the structure Customer, a member of the reader's
// generated container ("MAP '_STRUCT' TO 'Customer'"); a writer whose container is Customer (the
// structure equivalent to the one object it writes) and a reader whose container does not hold
// Customer give a DATA block without MAP lines; two generated containers map their common member.
// options-off: without data-connector bend points and without the data-flow loop search: no
// LAYOUT, SOURCE or SINK lines and no warning 3140 for a cycle of two; the description of the
// data object on the way between two functions becomes the connector's DESCRIPTION.
TEST_P(DataConnectorExport, DefinitionFileAndLogAsExpected) {
    const Case& c = GetParam();
    testenv::ExpectExportAsExpected(
        {testenv::TestDataPath(std::string("dataconnectors/") + c.name + "/"), c.database, c.selection, "1033"});
}

INSTANTIATE_TEST_SUITE_P(Exports, DataConnectorExport,
                         ::testing::Values(Case{"activity-flows", "flows", "guid-office,Office work,13"},
                                           Case{"sources-and-sinks", "claims", "guid-intake,Intake,13"},
                                           Case{"structure-mappings", "quotes", "guid-quotation,Quotation,13"},
                                           Case{"options-off", "letters", "guid-correspondence,Correspondence,13"}),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (ch == '-') ch = '_';
                             return name;
                         });
