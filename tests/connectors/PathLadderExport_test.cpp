// Whole exports of a control flow whose paths double with every branch: a ladder of XOR
// diamonds of events between two functions. Up to 10,000 paths the connector is built from
// them as always; beyond, the export stops at once with a message naming both functions.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../support/AmlBuilder.h"
#include "../support/TestEnv.h"

namespace {

// Start -> Started -> R0; for k = 1..n: R(k-1) -> A(k), B(k) -> R(k); R(n) -> Finish.
std::string LadderAml(int diamonds) {
    struct Object {
        std::string id, type, name;
        std::vector<std::pair<std::string, std::string>> out;  // connection type, target id
    };
    std::vector<Object> objects = {{"F1", "OT_FUNC", "Start", {{"CT_CRT_1", "E0"}}},
                                   {"E0", "OT_EVT", "Started", {{"CT_IS_EVAL_BY_1", "R0"}}}};
    for (int k = 0; k <= diamonds; ++k) {
        Object rule{"R" + std::to_string(k), "50", "Rule " + std::to_string(k), {}};
        if (k < diamonds) {
            for (const char* side : {"A", "B"}) rule.out.push_back({"CT_LEADS_TO_2", side + std::to_string(k + 1)});
        } else {
            rule.out.push_back({"CT_ACTIV_1", "F2"});
        }
        objects.push_back(rule);
        if (k == 0) continue;
        for (const char* side : {"A", "B"})
            objects.push_back({side + std::to_string(k),
                               "OT_EVT",
                               std::string("Event ") + side + std::to_string(k),
                               {{"CT_IS_EVAL_BY_1", "R" + std::to_string(k)}}});
    }
    objects.push_back({"F2", "OT_FUNC", "Finish", {}});

    amltest::AmlBuilder aml;
    aml.NameType("AT_NAME").Group("G", "Ladder");
    for (const Object& o : objects) aml.Obj(o.id, "G", o.type, o.name);
    aml.Model("ladder", "G", "MT_EEPC", "Ladder");
    for (std::size_t n = 0; n < objects.size(); ++n)
        aml.Place("ladder", objects[n].id, 1000 + 100 * static_cast<int>(n), 1000);
    for (const Object& o : objects)
        for (const auto& [type, target] : o.out) aml.Cxn(o.id, type, target, "ladder");
    return aml.Xml();
}

TEST(PathLadderExport, FourThousandPathsAreFollowedAsBefore) {
    testenv::Sandbox box("");
    testenv::TimedExport exported = testenv::ExportTimed(box, LadderAml(12), "guid-ladder,Ladder,13");
    ASSERT_EQ(exported.run.status, 0) << exported.run.err;
    // Nothing is shown but the end-of-run summary: no warning, no error.
    EXPECT_EQ(exported.run.err.rfind("Export finished.\n", 0), 0u) << exported.run.err;
    EXPECT_EQ(exported.run.err.find("KVB"), std::string::npos) << exported.run.err;
    EXPECT_EQ(testenv::CountLinesStarting(exported.definition, "\tCONTROL\r\n"), 1);
    EXPECT_NE(exported.definition.find("\t\tFROM 'Start' TO 'Finish'\r\n"), std::string::npos);
    EXPECT_EQ(testenv::CountLinesStarting(exported.log, "KVB03070I "), 1);
}

TEST(PathLadderExport, MoreThanTenThousandPathsStopTheExportAtOnceNamingBothFunctions) {
    // 2^17 = 131,072 paths: following them took half a minute and a gigabyte.
    testenv::Sandbox box("");
    testenv::TimedExport exported = testenv::ExportTimed(box, LadderAml(17), "guid-ladder,Ladder,13");
    std::printf("[ timing   ] stop on a ladder of 17 diamonds: %.2f s\n", exported.seconds);
    EXPECT_EQ(exported.run.status, 1) << exported.run.err;
    const std::string& err = exported.run.err;
    EXPECT_EQ(
        err.rfind("Error KVB60100C  occurred in 'clsCONTROL_CONNECTOR.FindARISObjectDefinitionsOnConnectorPaths'", 0),
        0u)
        << err;
    EXPECT_NE(err.find("more than 10000 paths between the ARIS object 'Start' and the ARIS object 'Finish'"),
              std::string::npos)
        << err;
    EXPECT_EQ(exported.log.find("KVB03070I "), std::string::npos);
    EXPECT_LT(exported.seconds, 5.0);
}

}  // namespace
