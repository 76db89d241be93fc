#include <gtest/gtest.h>

#include "../support/TestEnv.h"
#include "app/clsARIS_Interface.h"
#include "app/modMain.h"
#include "runtime/modGlobals.h"

namespace {

struct Expected {
    const char* commandLine;
    const char* usr;
    const char* db;
    const char* sel;
    const char* loc;
};

TEST(CommandLine, SwitchesAreFoundAsArisWritesThem) {
    const Expected rows[] = {
        {"/usr=Admin /DB=Demo", "Admin ", "Demo", "", ""},
        {"/USR:Admin", "Admin", "", "", ""},
        {"/USR Admin", "Admin", "", "", ""},
        {"/USRX=1", "", "", "", ""},
        {"/DB=Demo /USR=", "", "Demo ", "", ""},
        {"/SEL=a,b,1;c,d,2/LOC=1031", "", "", "a,b,1;c,d,2", "1031"},
        {"/DB=Demo/1", "", "Demo", "", ""},
        {"/USRX=1 /USR=Anna", "Anna", "", "", ""},  // a failed occurrence, then the real one
        {"/DB=/root/x", "", "/root", "", ""},       // a "/" first belongs to the value
        {"/loc=1033 /sel=id1,Model A,1", "", "", "id1,Model A,1", "1033 "},
        {"/DB:", "", "", "", ""},  // separator at the very end
    };
    clsARIS_Interface aris;
    for (const Expected& r : rows) {
        aris.SetCommandLine(r.commandLine);
        EXPECT_EQ(aris.GetCommandLine("/USR"), r.usr) << r.commandLine;
        EXPECT_EQ(aris.GetCommandLine("/DB"), r.db) << r.commandLine;
        EXPECT_EQ(aris.GetCommandLine("/SEL"), r.sel) << r.commandLine;
        EXPECT_EQ(aris.GetCommandLine("/LOC"), r.loc) << r.commandLine;
    }
}

TEST(CommandLine, SavedValuesAreTrimmedAndTheLocaleMustBeASixteenBitNumber) {
    testenv::Sandbox box("DEU");
    clsARIS_Interface aris;
    aris.SetCommandLine("/usr=Admin /DB=Demo /SVR=LOCAL /SEL=g,Ordering,273 /LOC=1031");
    aris.SaveCommandlineArguments();
    EXPECT_EQ(aris.User(), "Admin");
    EXPECT_EQ(aris.DatabaseName(), "Demo");
    EXPECT_EQ(aris.Server(), "LOCAL");
    EXPECT_EQ(aris.Selection(), "g,Ordering,273");
    EXPECT_EQ(CurrentExport().LocaleId, 1031);

    for (const char* bad : {"/USR=x", "/USR=x /LOC=abc", "/LOC=70000"}) {
        aris.SetCommandLine(bad);
        EXPECT_THROW(aris.SaveCommandlineArguments(), platform::Error) << bad;
    }
}

TEST(CommandLine, OwnOptionsAreTakenOutFirst) {
    auto o = modMain::ParseOwnOptions({"--batch", "/SVR=LOCAL", "--output", "out/x.wpx", "/DB=Demo", "/SEL=a,b c,1"});
    EXPECT_TRUE(o.batch);
    EXPECT_EQ(o.output, "out/x.wpx");
    EXPECT_EQ(o.aris, "/SVR=LOCAL /DB=Demo /SEL=a,b c,1");
    EXPECT_TRUE(o.error.empty());
    EXPECT_FALSE(modMain::ParseOwnOptions({"--frobnicate"}).error.empty());
    EXPECT_FALSE(modMain::ParseOwnOptions({"--output"}).error.empty());
    EXPECT_EQ(modMain::ParseOwnOptions({"--output=a.wpx"}).output, "a.wpx");
}

TEST(Program, HelpVersionAndUnusableOptions) {
    auto help = testenv::RunProgram({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("/SEL=selection"), std::string::npos);
    auto version = testenv::RunProgram({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("kvbrars ", 0), 0u);
    auto bad = testenv::RunProgram({"--nonsense", "/DB=x"});
    EXPECT_EQ(bad.status, 64);
    EXPECT_NE(bad.err.find("unknown option --nonsense"), std::string::npos);
    EXPECT_NE(bad.err.find("usage: kvbrars"), std::string::npos);
}

TEST(Program, MissingLanguageLibraryEndsWithStatusFour) {
    testenv::Sandbox box("");
    testenv::WriteFile(box.userHive,
                       "Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_CURRENT_USER\\Software\\Veltrane\\Lumenport\\CurrentVersion]\r\n"
                       "\"Language\"=\"XYZ\"\r\n");
    auto r = testenv::RunProgram({"--batch", "/SVR=LOCAL", "/DB=Demo", "/USR=system", "/SEL=a,b,1", "/LOC=1031"},
                                 {{"LUMENPORT_USER_REG", box.userHive}});
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(r.err, "The Language Resource file 'kvbrxyz.so' could not be found.\n\n");

    // A code that is a path never loads a library from elsewhere.
    testenv::WriteFile(box.userHive,
                       "Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_CURRENT_USER\\Software\\Veltrane\\Lumenport\\CurrentVersion]\r\n"
                       "\"Language\"=\"/../enu\"\r\n");
    r = testenv::RunProgram({"--batch", "/SVR=LOCAL", "/DB=Demo", "/SEL=a,b,1", "/LOC=1031"},
                            {{"LUMENPORT_USER_REG", box.userHive}});
    EXPECT_EQ(r.status, 4) << r.err;
}

TEST(Program, MissingLocaleIsAnUnknownErrorWithStatusTwo) {
    testenv::Sandbox box("");
    auto r = testenv::RunProgram({"--batch", "/SVR=LOCAL", "/DB=Demo", "/USR=system"},
                                 {{"LUMENPORT_USER_REG", box.userHive}});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Unknown error KVB00013C  occurred in 'clsARIS_Interface.SaveCommandlineArguments'"),
              std::string::npos)
        << r.err;
}

}  // namespace
