// Whole-program exports: an AML database in a server folder of the sandbox, the program run in
// batch mode, the definition file and the log compared byte for byte with the expected files
// beside the fixture (the header's date masked), and the summary on standard error with
// expected.summary where a fixture has one.
#include <gtest/gtest.h>

#include <string>

#include "../support/ExportFixture.h"
#include "../support/TestEnv.h"

namespace {

struct Case {
    const char* name;       // folder under tests/e2e/
    const char* database;   // <database>.xml in the folder, served as /SVR=T /DB=<database>
    const char* selection;  // the /SEL text
    const char* locale;     // the /LOC value
    const char* output = "out.wpx";  // the definition file chosen
    const char* log = "out.log";     // its log
};

class EndToEnd : public ::testing::TestWithParam<Case> {};

}  // namespace

TEST_P(EndToEnd, DefinitionFileAndLogAsExpected) {
    const Case& c = GetParam();
    testenv::ExpectExportAsExpected(
        {testenv::TestDataPath(std::string("e2e/") + c.name + "/"), c.database, c.selection, c.locale, c.output, c.log});
}

INSTANTIATE_TEST_SUITE_P(
    Exports, EndToEnd,
    ::testing::Values(
        Case{"two-groups", "sales", "guid-orders,Order handling,13;guid-billing,Billing,13", "1033"},
        Case{"subprocess-round", "orders", "guid-order-handling,Order handling,13", "1033"},
        Case{"mutual-reference", "service", "guid-sales-order,Sales order,13", "1033"},
        Case{"rejected-model", "staffing", "guid-org,Organization,1;guid-hiring,Hiring,13", "1033"},
        Case{"name-conversion", "vertrieb", "guid-pruefung,Auftrag: Prüfung. V1.0,13", "1031"},
        // Line breaks in names and texts, a far event, connector names converted FROM first.
        Case{"line-breaks", "shop", "guid-orders,Orders\r\nof the shop\ttoday,13", "1033"},
        // The log beside the definition file, whatever its name: never the file itself, never
        // a file one folder up.
        Case{"line-breaks", "shop", "guid-orders,Orders\r\nof the shop\ttoday,13", "1033", "shop.log", "shop.log.log"},
        Case{"line-breaks", "shop", "guid-orders,Orders\r\nof the shop\ttoday,13", "1033", "a.b", "a.b.log"},
        Case{"line-breaks", "shop", "guid-orders,Orders\r\nof the shop\ttoday,13", "1033", "SHOP.LOG", "SHOP.LOG.log"},
        // A group without a name: its category is reported and named by an empty name.
        Case{"unnamed-group", "archive", "guid-filing,Filing,13", "1033"}),
    [](const ::testing::TestParamInfo<Case>& info) {
        std::string name = info.param.name;
        if (std::string(info.param.output) != "out.wpx") name += std::string("_as_") + info.param.output;
        for (char& ch : name)
            if (ch == '-' || ch == '.') ch = '_';
        return name;
    });
