// A whole export of one process of 3,000 functions passing data along one chain with back
// flows, every function also reading a data object of its own that no function writes: the data
// connectors, their loop tests, the 3,000 sources of one process container and the definition
// file in well under a minute.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "../support/TestEnv.h"

namespace {

constexpr int kFunctions = 3000;

std::string Attr(const char* type, const std::string& value) {
    return "<AttrDef AttrDef.Type=\"" + std::string(type) + "\"><AttrValue LocaleId=\"1033\">" + value +
           "</AttrValue></AttrDef>";
}

// F(k) writes D(k), which F(k+1) reads; every tenth function also writes B(k), which F(k-9)
// reads; every function reads R(k), which no function writes.
std::string LongDataChainAml(int n) {
    std::ostringstream x;
    x << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AML>\n<Language LocaleId=\"1033\"/>\n"
         "<Group Group.ID=\"Group.Root\">\n<Group Group.ID=\"Group.Chain\"><GUID>guid-group-chain</GUID>"
      << Attr("AT_NAME", "Chain") << "\n";
    auto cxn = [&](const std::string& from, const std::string& type, const std::string& to) {
        x << "<CxnDef CxnDef.ID=\"C" << from << "." << to << "\" CxnDef.Type=\"" << type << "\" ToObjDef.IdRef=\"" << to
          << "\"/>";
    };
    auto objDef = [&](const std::string& id, const char* type, const std::string& name) {
        x << "<ObjDef ObjDef.ID=\"" << id << "\" TypeNum=\"" << type << "\"><GUID>guid-" << id << "</GUID>"
          << Attr("AT_NAME", name);
    };
    for (int k = 1; k <= n; ++k) {
        const std::string f = "F" + std::to_string(k);
        objDef(f, "OT_FUNC", "Step " + std::to_string(k));
        if (k < n) cxn(f, "CT_HAS_OUT", "D" + std::to_string(k));
        if (k % 10 == 0) cxn(f, "CT_HAS_OUT", "B" + std::to_string(k));
        x << "</ObjDef>\n";
        if (k < n) {
            objDef("D" + std::to_string(k), "OT_ENT_TYPE", "Data " + std::to_string(k));
            cxn("D" + std::to_string(k), "CT_IS_INP_FOR", "F" + std::to_string(k + 1));
            x << "</ObjDef>\n";
        }
        if (k % 10 == 0) {
            objDef("B" + std::to_string(k), "OT_ENT_TYPE", "Back " + std::to_string(k));
            cxn("B" + std::to_string(k), "CT_IS_INP_FOR", "F" + std::to_string(k - 9));
            x << "</ObjDef>\n";
        }
        objDef("R" + std::to_string(k), "OT_ENT_TYPE", "Input " + std::to_string(k));
        cxn("R" + std::to_string(k), "CT_IS_INP_FOR", f);
        x << "</ObjDef>\n";
    }
    x << "<Model Model.ID=\"M\" Model.Type=\"MT_EEPC\"><GUID>guid-chain</GUID>" << Attr("AT_NAME", "Chain") << "\n";
    auto occ = [&](const std::string& id, int xPos, int yPos) {
        x << "<ObjOcc ObjOcc.ID=\"P" << id << "\" ObjDef.IdRef=\"" << id << "\"><Position Pos.X=\"" << xPos
          << "\" Pos.Y=\"" << yPos << "\"/>";
    };
    auto cxnOcc = [&](const std::string& from, const std::string& to) {
        x << "<CxnOcc CxnOcc.ID=\"O" << from << "." << to << "\" CxnDef.IdRef=\"C" << from << "." << to
          << "\" ToObjOcc.IdRef=\"P" << to << "\"/>";
    };
    for (int k = 1; k <= n; ++k) {
        const std::string f = "F" + std::to_string(k);
        const int y = k * 100;
        occ(f, 0, y);
        if (k < n) cxnOcc(f, "D" + std::to_string(k));
        if (k % 10 == 0) cxnOcc(f, "B" + std::to_string(k));
        x << "</ObjOcc>\n";
        if (k < n) {
            occ("D" + std::to_string(k), 200, y + 50);
            cxnOcc("D" + std::to_string(k), "F" + std::to_string(k + 1));
            x << "</ObjOcc>\n";
        }
        if (k % 10 == 0) {
            occ("B" + std::to_string(k), 400, y);
            cxnOcc("B" + std::to_string(k), "F" + std::to_string(k - 9));
            x << "</ObjOcc>\n";
        }
        occ("R" + std::to_string(k), -200, y);
        cxnOcc("R" + std::to_string(k), f);
        x << "</ObjOcc>\n";
    }
    x << "</Model>\n</Group>\n</Group>\n</AML>\n";
    return x.str();
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
