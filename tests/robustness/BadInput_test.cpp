// Bad input from outside: ARIS exports, mapping profiles, settings files, output places and
// command lines. Each case must end with a clear message naming the place and the documented
// exit status, never crash or hang, and never lose or write anything the user did not choose.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <regex>

#include "../support/TestEnv.h"

namespace fs = std::filesystem;
using testenv::ReadFile;
using testenv::RunResult;
using testenv::WriteFile;

namespace {

const char* kUnknownErrorHead = "Unknown error KVB00440C  occurred in 'clsARIS_Interface.RetrieveSelectedARISModels'";

// A small export: one process model "P" (guid gP) with two functions joined directly.
std::string Export(const std::string& extraGroups = "", const std::string& functionName = "Check",
                   const std::string& extraObjects = "", const std::string& prolog = "") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + prolog +
           "<AML>\n<Header-Info DatabaseName=\"x\"/>\n<Language LocaleId=\"1033\"/>\n"
           "<Group Group.ID=\"Group.Root\">\n"
           "<Group Group.ID=\"G1\"><GUID>g1</GUID><AttrDef AttrDef.Type=\"AT_NAME\"><AttrValue LocaleId=\"1033\">Sales</AttrValue></AttrDef>\n"
           "<ObjDef ObjDef.ID=\"F1\" TypeNum=\"22\"><GUID>f1</GUID><AttrDef AttrDef.Type=\"AT_NAME\"><AttrValue LocaleId=\"1033\">" +
           functionName +
           "</AttrValue></AttrDef>\n"
           "<CxnDef CxnDef.ID=\"C1\" CxnDef.Type=\"CT_LEADS_TO_1\" ToObjDef.IdRef=\"F2\"/></ObjDef>\n"
           "<ObjDef ObjDef.ID=\"F2\" TypeNum=\"22\"><GUID>f2</GUID><AttrDef AttrDef.Type=\"AT_NAME\"><AttrValue LocaleId=\"1033\">Ship</AttrValue></AttrDef></ObjDef>\n" +
           extraObjects +
           "<Model Model.ID=\"M1\" Model.Type=\"13\"><GUID>gP</GUID><AttrDef AttrDef.Type=\"AT_NAME\"><AttrValue LocaleId=\"1033\">P</AttrValue></AttrDef>\n"
           "<ObjOcc ObjOcc.ID=\"O1\" ObjDef.IdRef=\"F1\" SymbolNum=\"ST_FUNC\"><Position Pos.X=\"100\" Pos.Y=\"100\"/>"
           "<CxnOcc CxnOcc.ID=\"CO1\" CxnDef.IdRef=\"C1\" ToObjOcc.IdRef=\"O2\"/></ObjOcc>\n"
           "<ObjOcc ObjOcc.ID=\"O2\" ObjDef.IdRef=\"F2\" SymbolNum=\"ST_FUNC\"><Position Pos.X=\"100\" Pos.Y=\"400\"/></ObjOcc>\n"
           "</Model>\n</Group>\n" +
           extraGroups + "</Group>\n</AML>\n";
}

class BadInput : public ::testing::Test {
protected:
    testenv::Sandbox box{""};
    std::string out = box.dir.File("out/x.wpx");

    void SetUp() override { fs::create_directories(box.dir.File("out")); }

    RunResult Run(const std::string& db, const std::string& aml, const std::vector<std::string>& extra = {},
                  const std::string& program = "") {
        WriteFile(box.dir.File("servers/T/" + db + ".xml"), aml);
        std::vector<std::string> args = {"--batch", "--output",     out,        "/SVR=T", "/DB=" + db,
                                         "/USR=u",  "/SEL=gP,P,13", "/LOC=1033"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::map<std::string, std::string> env = {{"LUMENPORT_USER_REG", box.userHive},
                                                  {"LUMENPORT_MACHINE_REG", box.machineHive},
                                                  {"LUMENPORT_ARIS_SERVERS", box.dir.File("servers")}};
        return program.empty() ? testenv::RunProgram(args, env) : testenv::RunProgramAt(program, args, env);
    }

    // A malformed export: the unknown-error path with file, line and column, exit status 2.
    void ExpectRefused(const std::string& db, const std::string& aml, const std::string& why) {
        RunResult r = Run(db, aml);
        EXPECT_EQ(r.status, 2) << db << "\n" << r.err;
        EXPECT_NE(r.err.find(kUnknownErrorHead), std::string::npos) << db << "\n" << r.err;
        std::regex place("ARIS export " + box.dir.File("servers/T/" + db + ".xml") + ", line [0-9]+, column [0-9]+: ");
        EXPECT_TRUE(std::regex_search(r.err, place)) << db << "\n" << r.err;
        EXPECT_NE(r.err.find(why), std::string::npos) << db << "\n" << r.err;
        EXPECT_FALSE(fs::exists(out)) << db;  // nothing begun before the export was read
    }
};

TEST_F(BadInput, MalformedExportsAreRefusedWithTheirPlace) {
    std::string good = Export();
    ExpectRefused("truncated", good.substr(0, good.size() / 2), "not a well-formed XML document");
    ExpectRefused("notxml", "PK\x03\x04 this is a zip file", "not a well-formed XML document");
    ExpectRefused("notaml", "<?xml version=\"1.0\"?><html><body/></html>", "not an ARIS export");
    std::string dup = Export("", "Check", "<ObjDef ObjDef.ID=\"F1\" TypeNum=\"22\"><GUID>f9</GUID></ObjDef>\n");
    ExpectRefused("duplicate", dup, "F1");
    std::string badUtf8 = Export("",
                                 "Pr\xC3\x28"
                                 "fen");
    ExpectRefused("utf8", badUtf8, "not a well-formed XML document");
}

TEST_F(BadInput, EntityExpansionIsRefusedAndExternalEntitiesAreNeverRead) {
    std::string bomb =
        "<!DOCTYPE AML [\n<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">\n";
    std::string prev = "a";
    for (int i = 0; i < 12; ++i) {
        std::string name = "e" + std::to_string(i);
        bomb += "<!ENTITY " + name + " \"";
        for (int k = 0; k < 10; ++k) bomb += "&" + prev + ";";
        bomb += "\">\n";
        prev = name;
    }
    bomb += "]>\n";
    RunResult r = Run("bomb", Export("", "&" + prev + ";", "", bomb));
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find(kUnknownErrorHead), std::string::npos) << r.err;

    WriteFile(box.dir.File("secret.txt"), "TOP-SECRET-CONTENT");
    std::string external = "<!DOCTYPE AML [\n<!ENTITY leak SYSTEM \"file://" + box.dir.File("secret.txt") + "\">\n]>\n";
    r = Run("external", Export("", "&leak;", "", external));
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(r.err.find("TOP-SECRET-CONTENT"), std::string::npos);
    EXPECT_FALSE(fs::exists(out) && ReadFile(out).find("TOP-SECRET-CONTENT") != std::string::npos);
}

TEST_F(BadInput, DanglingReferencesAreReportedOnceAndTheExportGoesOn) {
    std::string dangling =
        Export("", "Check",
               "<ObjDef ObjDef.ID=\"F3\" TypeNum=\"22\"><GUID>f3</GUID>"
               "<CxnDef CxnDef.ID=\"C7\" CxnDef.Type=\"CT_LEADS_TO_1\" ToObjDef.IdRef=\"Missing.1\"/>"
               "<CxnDef CxnDef.ID=\"C8\" CxnDef.Type=\"CT_LEADS_TO_1\" ToObjDef.IdRef=\"Missing.2\"/></ObjDef>\n");
    RunResult r = Run("dangling", dangling);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("Missing.1"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Missing.2"), std::string::npos) << r.err;  // only the first is named
    EXPECT_NE(ReadFile(out).find("PROCESS 'P'"), std::string::npos);
}

TEST_F(BadInput, HugeNamesDeepGroupsAndModelRingsFinish) {
    std::string megabyte(1 << 20, 'x');
    RunResult r = Run("hugename", Export("", megabyte));
    EXPECT_EQ(r.status, 0) << r.err.substr(0, 2000);
    EXPECT_TRUE(fs::exists(out));

    std::string deep;
    for (int i = 0; i < 10000; ++i) deep += "<Group Group.ID=\"D" + std::to_string(i) + "\">";
    for (int i = 0; i < 10000; ++i) deep += "</Group>";
    r = Run("deep", Export(deep));
    EXPECT_EQ(r.status, 0) << r.err.substr(0, 2000);

    // Three models whose functions name the next model as their process: a ring of rounds.
    std::string ring =
        "<?xml version=\"1.0\"?>\n<AML><Header-Info/><Language LocaleId=\"1033\"/><Group Group.ID=\"Group.Root\">"
        "<Group Group.ID=\"G\"><GUID>g</GUID>";
    for (int i = 0; i < 3; ++i) {
        std::string n = std::to_string(i), next = std::to_string((i + 1) % 3);
        ring += "<ObjDef ObjDef.ID=\"F" + n + "\" TypeNum=\"22\" LinkedModels.IdRefs=\"M" + next + " \"><GUID>f" + n +
                "</GUID><AttrDef AttrDef.Type=\"AT_NAME\"><AttrValue LocaleId=\"1033\">Call " + next +
                "</AttrValue></AttrDef></ObjDef>";
        ring += "<Model Model.ID=\"M" + n + "\" Model.Type=\"13\"><GUID>m" + n +
                "</GUID><AttrDef AttrDef.Type=\"AT_NAME\"><AttrValue LocaleId=\"1033\">Model " + n +
                "</AttrValue></AttrDef><ObjOcc ObjOcc.ID=\"O" + n + "\" ObjDef.IdRef=\"F" + n +
                "\" SymbolNum=\"ST_FUNC\"><Position Pos.X=\"10\" Pos.Y=\"10\"/></ObjOcc></Model>";
    }
    ring += "</Group></Group></AML>\n";
    WriteFile(box.dir.File("servers/T/ring.xml"), ring);
    r = testenv::RunProgram(
        {"--batch", "--output", out, "/SVR=T", "/DB=ring", "/USR=u", "/SEL=m0,Model 0,13", "/LOC=1033"},
        {{"LUMENPORT_USER_REG", box.userHive}, {"LUMENPORT_ARIS_SERVERS", box.dir.File("servers")}});
    EXPECT_EQ(r.status, 0) << r.err;
    std::string wpx = ReadFile(out);
    for (const char* model : {"PROCESS 'Model 0'", "PROCESS 'Model 1'", "PROCESS 'Model 2'"})
        EXPECT_NE(wpx.find(model), std::string::npos) << model;
}

TEST_F(BadInput, AnEmptyProfileIsReportedAndTheHeaderNamesTheBuiltInRules) {
    std::string program = testenv::CopyProgramTo(box.dir.File("prog"));
    WriteFile(box.dir.File("prog/kvbrars.prf"), "");
    RunResult r = Run("profile", Export(), {}, program);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("KVB02210E"), std::string::npos) << r.err;
    EXPECT_NE(ReadFile(out).find("\r\n*  Default mapping rules used \r\n"), std::string::npos);
    // The summary agrees with the header: the built-in rules were used.
    EXPECT_NE(r.err.find("\nMapping rules: built-in rules\n"), std::string::npos) << r.err;
}

TEST_F(BadInput, BrokenProfilesEndWithTheirSyntaxError) {
    std::string program = testenv::CopyProgramTo(box.dir.File("prog"));
    struct Row {
        const char* name;
        std::string profile;
        int status;
        const char* message;
    } rows[] = {
        {"expected keyword", "OBJECT_MAPPING PROCESS OBJECT_TYPE = 13 ATTRIBUTE_TYPE", 1, "KVB02130C"},
        {"rule name", "OBJECT_MAPPING = 13 END", 1, "KVB02140C"},
        {"assignment", "OBJECT_MAPPING PROCESS OBJECT_TYPE 13 END", 1, "KVB02150C"},
        {"object type", "OBJECT_MAPPING PROCESS OBJECT_TYPE = x END", 1, "KVB02160C"},
        {"attribute type", "ATTRIBUTE_MAPPING N ATTRIBUTE_TYPE = y END", 1, "KVB02170C"},
        {"unterminated", "OBJECT_MAPPING PROCESS OBJECT_TYPE = 13", 1, "KVB02100C"},
        {"binary",
         std::string("\x7F"
                     "ELF\x02\x01\x01\0\0\0=\x01\xFF\xFE END OBJECT_MAPPING\0",
                     32),
         1, "KVB021"},
    };
    for (const Row& row : rows) {
        WriteFile(box.dir.File("prog/kvbrars.prf"), row.profile);
        RunResult r = Run("profile", Export(), {}, program);
        EXPECT_EQ(r.status, row.status) << row.name << "\n" << r.err;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << row.name << "\n" << r.err;
        EXPECT_EQ(r.err.find("Unknown error"), std::string::npos) << row.name << "\n" << r.err;
    }
}

TEST_F(BadInput, BrokenSettingsAreReportedAndKeptAsTheyWere) {
    std::string hive =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Veltrane\\Lumenport\\CurrentVersion]\r\n"
        "\"ConvertNames\"=dword:0000000\r\n"
        "garbage without quotes\r\n"
        "\"UseOtherSettings\"=dword:ffffffff\r\n";
    WriteFile(box.userHive, hive);
    RunResult r = Run("settings", Export());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find(box.userHive + ":4:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(box.userHive + ":5:"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(box.userHive), hive);

    WriteFile(box.userHive,
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Veltrane\\Lumenport\\CurrentVersion]\r\n"
              "\"FirstSuffixNumber\"=\"seven\"\r\n");
    r = Run("settings", Export());
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("Unknown error KVB00013C"), std::string::npos) << r.err;
}

TEST_F(BadInput, OutputThatCannotBeWrittenIsNamedAndNeverReportedAsSuccess) {
    // A full disk: the definition file is a link to /dev/full.
    fs::create_symlink("/dev/full", out);
    RunResult r = Run("output", Export());
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find(out), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Disk full"), std::string::npos) << r.err;
    fs::remove(out);
    fs::remove(box.dir.File("out/x.log"));

    // The log cannot be created: a folder stands in its place.
    fs::create_directories(box.dir.File("out/x.log"));
    r = Run("output", Export());
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find(box.dir.File("out/x.log")), std::string::npos) << r.err;
    fs::remove_all(box.dir.File("out/x.log"));

    if (::geteuid() != 0) {
        ::chmod(box.dir.File("out").c_str(), 0500);
        r = Run("output", Export());
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_NE(r.err.find("Permission denied"), std::string::npos) << r.err;
        ::chmod(box.dir.File("out").c_str(), 0700);
    }
}

TEST_F(BadInput, AnOutputFileThatIsTheExportBeingReadIsRefusedAndTheExportStaysUntouched) {
    const std::string aml = Export();
    const std::string source = box.dir.File("servers/T/self.xml");
    struct Row {
        const char* what;
        std::function<std::string()> output;  // prepares the place and returns the --output value
    } rows[] = {
        {"the export itself", [&] { return source; }},
        {"a link to it",
         [&] {
             fs::create_symlink(source, box.dir.File("out/link.wpx"));
             return box.dir.File("out/link.wpx");
         }},
        {"a hard link to it",
         [&] {
             fs::create_hard_link(source, box.dir.File("out/hard.wpx"));
             return box.dir.File("out/hard.wpx");
         }},
        {"a log that is a link to it",
         [&] {
             fs::create_symlink(source, box.dir.File("out/log.log"));
             return box.dir.File("out/log.wpx");
         }},
    };
    for (const Row& row : rows) {
        WriteFile(source, aml);
        const std::string chosen = row.output();
        out = chosen;
        RunResult r = Run("self", aml);
        EXPECT_EQ(r.status, 64) << row.what << "\n" << r.err;
        EXPECT_NE(r.err.find("KVB60101C"), std::string::npos) << row.what << "\n" << r.err;
        EXPECT_NE(r.err.find(source), std::string::npos) << row.what << "\n" << r.err;
        EXPECT_EQ(ReadFile(source), aml) << row.what;
        EXPECT_TRUE(fs::is_symlink(chosen) || fs::equivalent(chosen, source) || !fs::exists(chosen)) << row.what;
    }
    EXPECT_FALSE(fs::exists(box.dir.File("out/log.wpx")));  // nothing created before the refusal
}

TEST_F(BadInput, ACodePageThatCannotBeWrittenIsRefusedBeforeAnyFileIsCreated) {
    for (const char* value : {"99999", "abc", "0", "-1252"}) {
        ::setenv("LUMENPORT_CODEPAGE", value, 1);
        RunResult r = Run("codepage", Export());
        EXPECT_EQ(r.status, 64) << value << "\n" << r.err;
        EXPECT_NE(r.err.find("KVB60102C"), std::string::npos) << value << "\n" << r.err;
        EXPECT_NE(r.err.find(std::string("'") + value + "'"), std::string::npos) << value << "\n" << r.err;
        EXPECT_FALSE(fs::exists(out)) << value;
        EXPECT_FALSE(fs::exists(box.dir.File("out/x.log"))) << value;
    }
    // A code page the program can write is taken.
    ::setenv("LUMENPORT_CODEPAGE", "28605", 1);
    RunResult r = Run("codepage", Export());
    ::unsetenv("LUMENPORT_CODEPAGE");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(ReadFile(out).find("CODEPAGE 28605\r\n"), std::string::npos);
}

TEST_F(BadInput, MalformedCommandLines) {
    WriteFile(box.dir.File("servers/T/cmd.xml"), Export());
    std::map<std::string, std::string> env = {{"LUMENPORT_USER_REG", box.userHive},
                                              {"LUMENPORT_ARIS_SERVERS", box.dir.File("servers")}};
    struct Row {
        std::vector<std::string> args;
        int status;
        const char* message;
    } rows[] = {
        {{"/SVR=T", "/DB=cmd", "/USR=u", "/SEL=gP,P,13"}, 2, "KVB00013C"},
        {{"/SVR=T", "/DB=cmd", "/USR=u", "/SEL=gP,P,13", "/LOC="}, 2, "KVB00013C"},
        {{"/SVR=T", "/DB=cmd", "/USR=u", "/SEL=gP,P,13", "/LOC=abc"}, 2, "KVB00013C"},
        {{"/SVR=T", "/DB=cmd", "/USR=u", "/SEL=gP,P,13", "/LOC=70000"}, 2, "KVB00006C"},
        {{"/SVR=T", "/DB=cmd", "/USR=u", "/SEL", "/LOC=1033"}, 1, "KVB02020C"},
        {{"/SVR=T", "/DB=cmd", "/USR=u", "/SEL=gP;P;13", "/LOC=1033"}, 1, "KVB02020C"},
        {{"/SVR=T", "/DB=cmd", "/USR=u", "/SEL=" + std::string(120000, 'a') + ",P,13", "/LOC=1033"}, 1, "KVB02020C"},
        {{"/SVR=T", "/DB=" + std::string(100000, 'd'), "/USR=u", "/SEL=gP,P,13", "/LOC=1033"}, 2, "KVB00440C"},
        {{"/SVR=../../etc", "/DB=passwd", "/USR=u", "/SEL=gP,P,13", "/LOC=1033"}, 2, "KVB00440C"},
        {{"--output"}, 64, "--output needs a file name"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args = {"--batch", "--output", out};
        args.insert(args.end(), row.args.begin(), row.args.end());
        RunResult r = testenv::RunProgram(args, env);
        std::string shown = row.args.empty() ? "" : row.args.back().substr(0, 40);
        EXPECT_EQ(r.status, row.status) << shown << "\n" << r.err.substr(0, 1000);
        EXPECT_NE(r.err.find(row.message), std::string::npos) << shown << "\n" << r.err.substr(0, 1000);
    }
}

TEST_F(BadInput, NothingIsWrittenOutsideTheChosenFilesAndTheUserHive) {
    RunResult r = Run("clean", Export());
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(box.dir.Path()))
        if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), box.dir.Path()).string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"out/x.log", "out/x.wpx", "servers/T/clean.xml"}));
}

}  // namespace
