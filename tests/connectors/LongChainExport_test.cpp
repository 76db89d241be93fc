// A whole export of one process of 10,000 functions in one long chain with back edges: the
// control connectors, their loop tests and the definition file in well under a minute.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "../support/AmlBuilder.h"
#include "../support/TestEnv.h"

namespace {

constexpr int kFunctions = 10000;

// The functions F1 ... Fn joined by "is predecessor of" (118) in a chain, a back edge from every
// tenth function nine places back and from every thousandth to F1. The occurrences stand in
// the model from the end of the chain to its start, so the connectors are created from the end
// and each loop test walks the rest of the chain.
std::string LongChainAml(int n) {
    amltest::AmlBuilder aml;
    aml.NameType("AT_NAME").Group("Group.Chain", "Chain");
    for (int k = 1; k <= n; ++k)
        aml.Obj("F" + std::to_string(k), "Group.Chain", "OT_FUNC", "Step " + std::to_string(k));
    aml.Model("chain", "Group.Chain", "MT_EEPC", "Chain");
    for (int k = n; k >= 1; --k) aml.Place("chain", "F" + std::to_string(k), (k % 100) * 200, (k / 100) * 200);
    auto cxn = [&](int from, int to) { aml.Cxn("F" + std::to_string(from), 118, "F" + std::to_string(to), "chain"); };
    for (int k = 1; k <= n; ++k) {
        if (k < n) cxn(k, k + 1);
        if (k % 10 == 0) cxn(k, k - 9);
        if (k % 1000 == 0) cxn(k, 1);
    }
    return aml.Xml();
}

}  // namespace

TEST(LongChainExport, TenThousandFunctionsWithBackEdgesInWellUnderAMinute) {
    testenv::Sandbox box("");
    testenv::TimedExport exported = testenv::ExportTimed(box, LongChainAml(kFunctions), "guid-chain,Chain,13");
    std::printf("[ timing   ] export of %d functions in one chain with back edges: %.2f s\n", kFunctions,
                exported.seconds);
    ASSERT_EQ(exported.run.status, 0) << exported.run.err;

    const std::string& file = exported.definition;
    const std::string& log = exported.log;
    const int connectors = (kFunctions - 1) + kFunctions / 10 + kFunctions / 1000;
    EXPECT_EQ(testenv::CountLinesStarting(file, "\tCONTROL\r\n"), connectors);
    EXPECT_EQ(testenv::CountLinesStarting(log, "KVB03070I "), connectors);
    // Created from the end of the chain, F(k) -> F(k+1) closes the cycle through the back edge
    // F(k+9) -> F(k) exactly when k is 1 more than a multiple of ten.
    EXPECT_EQ(testenv::CountLinesStarting(log, "KVB03130E "), kFunctions / 10);
    EXPECT_NE(log.find("'Step 1' (type: 'Function') and 'Step 2' (type: 'Function') causes an invalid loop"),
              std::string::npos);
    EXPECT_LT(exported.seconds, 60.0);
}
