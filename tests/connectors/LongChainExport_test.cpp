// A whole export of one process of 10,000 functions in one long chain with back edges: the
// control connectors, their loop tests and the definition file in well under a minute.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>

#include "../support/TestEnv.h"

namespace {

constexpr int kFunctions = 10000;

std::string Attr(const char* type, const std::string& value) {
    return "<AttrDef AttrDef.Type=\"" + std::string(type) + "\"><AttrValue LocaleId=\"1033\">" + value +
           "</AttrValue></AttrDef>";
}

// The functions F1 ... Fn joined by "is predecessor of" (118) in a chain, a back edge from every
// tenth function nine places back and from every thousandth to F1. The occurrences stand in
// the model from the end of the chain to its start, so the connectors are created from the end
// and each loop test walks the rest of the chain.
std::string LongChainAml(int n) {
    std::ostringstream x;
    x << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AML>\n<Language LocaleId=\"1033\"/>\n"
         "<Group Group.ID=\"Group.Root\">\n<Group Group.ID=\"Group.Chain\"><GUID>guid-group-chain</GUID>"
      << Attr("AT_NAME", "Chain") << "\n";
    auto cxn = [&](int from, int to) {
        x << "<CxnDef CxnDef.ID=\"C" << from << "." << to << "\" CxnDef.Type=\"118\" ToObjDef.IdRef=\"F" << to
          << "\"/>";
    };
    for (int k = 1; k <= n; ++k) {
        x << "<ObjDef ObjDef.ID=\"F" << k << "\" TypeNum=\"OT_FUNC\"><GUID>guid-f" << k << "</GUID>"
          << Attr("AT_NAME", "Step " + std::to_string(k));
        if (k < n) cxn(k, k + 1);
        if (k % 10 == 0) cxn(k, k - 9);
        if (k % 1000 == 0) cxn(k, 1);
        x << "</ObjDef>\n";
    }
    x << "<Model Model.ID=\"M\" Model.Type=\"MT_EEPC\"><GUID>guid-chain</GUID>" << Attr("AT_NAME", "Chain") << "\n";
    auto cxnOcc = [&](int from, int to) {
        x << "<CxnOcc CxnOcc.ID=\"O" << from << "." << to << "\" CxnDef.IdRef=\"C" << from << "." << to
          << "\" ToObjOcc.IdRef=\"P" << to << "\"/>";
    };
    for (int k = n; k >= 1; --k) {
        x << "<ObjOcc ObjOcc.ID=\"P" << k << "\" ObjDef.IdRef=\"F" << k << "\"><Position Pos.X=\"" << (k % 100) * 200
          << "\" Pos.Y=\"" << (k / 100) * 200 << "\"/>";
        if (k < n) cxnOcc(k, k + 1);
        if (k % 10 == 0) cxnOcc(k, k - 9);
        if (k % 1000 == 0) cxnOcc(k, 1);
        x << "</ObjOcc>\n";
    }
    x << "</Model>\n</Group>\n</Group>\n</AML>\n";
    return x.str();
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
