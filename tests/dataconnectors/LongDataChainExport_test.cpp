// A whole export of one process of 3,000 functions passing data along one chain with back
// flows, every function also reading a data object of its own that no function writes: the data
// connectors, their loop tests, the 3,000 sources of one process container and the definition
// file in well under a minute.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../support/AmlBuilder.h"
#include "../support/TestEnv.h"

namespace {

constexpr int kFunctions = 3000;

// F(k) writes D(k), which F(k+1) reads; every tenth function also writes B(k), which F(k-9)
// reads; every function reads R(k), which no function writes.
std::string LongDataChainAml(int n) {
    amltest::AmlBuilder aml;
    aml.NameType("AT_NAME").Group("Group.Chain", "Chain");
    // (object, type, name, x, y), in the order they stand in the group and in the model.
    struct Object {
        std::string id;
        const char* type;
        std::string name;
        int x, y;
    };
    std::vector<Object> objects;
    for (int k = 1; k <= n; ++k) {
        const std::string num = std::to_string(k);
        const int y = k * 100;
        objects.push_back({"F" + num, "OT_FUNC", "Step " + num, 0, y});
        if (k < n) objects.push_back({"D" + num, "OT_ENT_TYPE", "Data " + num, 200, y + 50});
        if (k % 10 == 0) objects.push_back({"B" + num, "OT_ENT_TYPE", "Back " + num, 400, y});
        objects.push_back({"R" + num, "OT_ENT_TYPE", "Input " + num, -200, y});
    }
    for (const Object& o : objects) aml.Obj(o.id, "Group.Chain", o.type, o.name);
    aml.Model("chain", "Group.Chain", "MT_EEPC", "Chain");
    for (const Object& o : objects) aml.Place("chain", o.id, o.x, o.y);
    for (int k = 1; k <= n; ++k) {
        const std::string f = "F" + std::to_string(k);
        if (k < n) aml.Cxn(f, "CT_HAS_OUT", "D" + std::to_string(k), "chain");
        if (k % 10 == 0) aml.Cxn(f, "CT_HAS_OUT", "B" + std::to_string(k), "chain");
        if (k < n) aml.Cxn("D" + std::to_string(k), "CT_IS_INP_FOR", "F" + std::to_string(k + 1), "chain");
        if (k % 10 == 0) aml.Cxn("B" + std::to_string(k), "CT_IS_INP_FOR", "F" + std::to_string(k - 9), "chain");
        aml.Cxn("R" + std::to_string(k), "CT_IS_INP_FOR", f, "chain");
    }
    return aml.Xml();
}

}  // namespace

TEST(LongDataChainExport, ThreeThousandFunctionsWithSourcesAndBackFlowsInWellUnderAMinute) {
    testenv::Sandbox box("");
    testenv::TimedExport exported = testenv::ExportTimed(box, LongDataChainAml(kFunctions), "guid-chain,Chain,13");
    std::printf("[ timing   ] export of %d functions passing data in one chain: %.2f s\n", kFunctions,
                exported.seconds);
    ASSERT_EQ(exported.run.status, 0) << exported.run.err;

    const std::string& file = exported.definition;
    const std::string& log = exported.log;
    const int flows = (kFunctions - 1) + kFunctions / 10;
    EXPECT_EQ(testenv::CountLinesStarting(file, "\tDATA\r\n"), flows + kFunctions);
    EXPECT_EQ(testenv::CountLinesStarting(log, "KVB03080I "), flows);
    // Created in chain order, each back flow F(10j) -> F(10j-9) closes its cycle.
    EXPECT_EQ(testenv::CountLinesStarting(log, "KVB03140E "), kFunctions / 10);
    EXPECT_NE(log.find("'Step 10' (type: 'Function') and 'Step 1' (type: 'Function') causes an invalid loop"),
              std::string::npos);
    // One source per function, numbered in chain order, each mapped to its reader's member.
    EXPECT_NE(file.find("\tSOURCE 3000 XPOS "), std::string::npos);
    EXPECT_NE(file.find("\t\tFROM SOURCE 3000 TO 'Step 3000'\r\n\t\tMAP 'Input 3000' TO 'Input 3000'\r\n"),
              std::string::npos);
    EXPECT_LT(exported.seconds, 60.0);
}
