#include <gtest/gtest.h>

#include "../support/TestEnv.h"
#include "app/clsARIS_Interface.h"
#include "runtime/modGlobals.h"
#include "runtime/modUtilities.h"

namespace {

// A database with two models of type 13 on server "T".
const char* kTwoModels = R"(<?xml version="1.0" encoding="UTF-8"?>
<AML>
  <Header-Info DatabaseName="sel"/>
  <Language LocaleId="1033"/>
  <Group Group.ID="Group.Root">
    <Group Group.ID="Group.1"><GUID>grp-1</GUID>
      <AttrDef AttrDef.Type="AT_NAME"><AttrValue LocaleId="1033">Folder</AttrValue></AttrDef>
      <Model Model.ID="Model.1" Model.Type="13"><GUID>g1</GUID>
        <AttrDef AttrDef.Type="AT_NAME"><AttrValue LocaleId="1033">Model A</AttrValue></AttrDef>
      </Model>
      <Model Model.ID="Model.2" Model.Type="13"><GUID>g2</GUID>
        <AttrDef AttrDef.Type="AT_NAME"><AttrValue LocaleId="1033">Model B</AttrValue></AttrDef>
      </Model>
      <Model Model.ID="Model.3" Model.Type="7"><GUID>g7</GUID>
        <AttrDef AttrDef.Type="AT_NAME"><AttrValue LocaleId="1033">7</AttrValue></AttrDef>
      </Model>
    </Group>
  </Group>
</AML>
)";

struct Outcome {
    int error = 0;
    std::string description;
    std::vector<std::string> keys;
};

Outcome Select(const std::string& selection) {
    clsARIS_Interface aris;
    aris.SetCommandLine("/SVR=T /DB=sel /USR=u /SEL=" + selection + " /LOC=1033");
    Outcome out;
    try {
        aris.SaveCommandlineArguments();
        aris.RetrieveSelectedARISModels();
    } catch (const platform::Error& e) {
        out.error = e.Number();
        out.description = e.Description();
    }
    for (std::size_t i = 1; i <= aris.ColSelectedModels().Count(); ++i)
        out.keys.push_back(aris.ColSelectedModels().KeyAt(i));
    return out;
}

TEST(Selection, ResolvedThroughTheLocalServer) {
    testenv::Sandbox box("DEU");
    testenv::WriteFile(box.dir.File("servers/T/sel.xml"), kTwoModels);
    struct Row {
        const char* selection;
        int error;
        const char* parameter;  // of message 2020
        std::vector<std::string> keys;
    } rows[] = {
        {"", 2020, "", {}},
        {"id1,Model A,13", 2020, "id1,Model A,13", {}},
        {"g1,Model A,13;g2,Model B,13;gX,Model C,13", 0, "", {"g1", "g2"}},
        {"g2,Model B,13;g1,Model A,13", 0, "", {"g2", "g1"}},
        {"g1,Model A,x", 2020, "g1,Model A,x", {}},
        {"g1,Model A,13;", 2020, "", {"g1"}},
        {"g1,,13", 2020, "g1,,13", {}},
        {"g7,7", 0, "", {"g7"}},                     // no third field: name and type are both "7"
        {"g1,Model A,7", 2020, "g1,Model A,7", {}},  // wrong type
        {"g1,Model A,13;g1,Model A,13", 457, "", {"g1"}},
    };
    for (const Row& r : rows) {
        Outcome o = Select(r.selection);
        EXPECT_EQ(o.error, r.error) << r.selection;
        if (r.error == 2020) {
            EXPECT_EQ(o.description, modUtilities::GetNLSString(2020, r.parameter)) << r.selection;
        }
        EXPECT_EQ(o.keys, r.keys) << r.selection;
    }
}

TEST(Selection, UnknownServerOrDatabaseIsReportedWithWhereItWasLooked) {
    testenv::Sandbox box("ENU");
    testenv::WriteFile(box.dir.File("servers/T/sel.xml"), kTwoModels);
    Outcome noServer;
    {
        clsARIS_Interface aris;
        aris.SetCommandLine("/SVR=Nowhere /DB=sel /USR=u /SEL=g1,Model A,13 /LOC=1033");
        aris.SaveCommandlineArguments();
        try {
            aris.RetrieveSelectedARISModels();
        } catch (const platform::Error& e) {
            noServer.error = e.Number();
            noServer.description = e.Description();
        }
    }
    EXPECT_NE(noServer.error, 0);
    EXPECT_NE(noServer.description.find("Nowhere"), std::string::npos) << noServer.description;
    EXPECT_NE(noServer.description.find(box.dir.File("servers")), std::string::npos) << noServer.description;
}

TEST(Program, ExportWritesBothFilesWithCrLfInCodePage1252) {
    testenv::Sandbox box("");
    std::map<std::string, std::string> env = {{"LUMENPORT_USER_REG", box.userHive}, {"LUMENPORT_CODEPAGE", "1252"}};
    auto list = testenv::RunProgram({"--list", "/SVR=LOCAL", "/DB=Demo", "/LOC=1031"}, env);
    ASSERT_EQ(list.status, 0) << list.err;
    std::string selection;
    for (char c : list.out) selection += c == '\n' ? ';' : c;
    if (!selection.empty() && selection.back() == ';') selection.pop_back();
    std::string out = box.dir.File("out/x.wpx");
    testenv::WriteFile(box.dir.File("out/.keep"), "");
    auto r = testenv::RunProgram(
        {"--batch", "--output", out, "/SVR=LOCAL", "/DB=Demo", "/USR=system", "/SEL=" + selection, "/LOC=1031"}, env);
    ASSERT_EQ(r.status, 0) << r.err;
    std::string wpx = testenv::ReadFile(out), log = testenv::ReadFile(box.dir.File("out/x.log"));
    ASSERT_FALSE(wpx.empty());
    ASSERT_FALSE(log.empty());
    for (const std::string* text : {&wpx, &log}) {
        for (std::size_t i = 0; i < text->size(); ++i)
            if ((*text)[i] == '\n') {
                ASSERT_TRUE(i > 0 && (*text)[i - 1] == '\r') << "bare LF at " << i;
            }
        EXPECT_EQ(text->substr(text->size() - 2), "\r\n");
    }
    EXPECT_NE(wpx.find("CODEPAGE 1252\r\n"), std::string::npos);
    EXPECT_NE(wpx.find("pr\xFC"
                       "fen"),
              std::string::npos);                        // "prüfen": ü as the single byte 0xFC
    EXPECT_EQ(wpx.find("\xC3\xBC"), std::string::npos);  // never as UTF-8
    EXPECT_EQ(log.rfind("KVB03040I ", 0), 0u);
}

TEST(Program, UnwritableOutputNamesTheFileAndEndsWithTwo) {
    testenv::Sandbox box("");
    auto r = testenv::RunProgram(
        {"--batch", "--output", box.dir.File("missing/folder/x.wpx"), "/SVR=LOCAL", "/DB=Demo", "/USR=system",
         "/SEL=5d1c9a10-6f3b-11ee-0a01-00155d000201,Bestellabwicklung,13", "/LOC=1031"},
        {{"LUMENPORT_USER_REG", box.userHive}});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(box.dir.File("missing/folder/x.wpx")), std::string::npos) << r.err;
}

}  // namespace
