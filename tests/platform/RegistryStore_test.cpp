#include "platform/RegistryStore.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../support/TestEnv.h"

using namespace platform;
using testenv::ReadFile;
using testenv::TempDir;
using testenv::WriteFile;

namespace {
const char* kKey = "Software\\Veltrane\\Lumenport\\CurrentVersion\\";
}

TEST(RegistryHive, ReadsTextAndNumbersIgnoringCaseAndOtherTypesAsAbsent) {
    TempDir dir;
    WriteFile(dir.File("u.reg"),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Veltrane\\Lumenport\\CurrentVersion]\r\n"
              "\"Language\"=\"DEU\"\r\n"
              "\"convertnames\"=dword:ffffffff\r\n"
              "\"Path\"=\"C:\\\\out \\\"x\\\"\"\r\n"
              "\"Binary\"=hex:01,02\r\n");
    RegistryHive hive(dir.File("u.reg"), "HKEY_CURRENT_USER");
    EXPECT_EQ(std::get<std::string>(hive.Read(kKey, "LANGUAGE")), "DEU");
    EXPECT_EQ(std::get<std::int32_t>(hive.Read("software\\veltrane\\lumenport\\currentversion", "ConvertNames")), -1);
    EXPECT_EQ(std::get<std::string>(hive.Read(kKey, "Path")), "C:\\out \"x\"");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(hive.Read(kKey, "Binary")));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(hive.Read(kKey, "Missing")));
    RegistryHive missing(dir.File("none.reg"), "HKEY_CURRENT_USER");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(missing.Read(kKey, "Language")));
}

TEST(RegistryHive, WritingKeepsEveryOtherLineAndReportsBrokenOnes) {
    TempDir dir;
    std::string before =
        "Windows Registry Editor Version 5.00\r\n"
        "; a comment the user wrote\r\n"
        "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
        "\"Keep\"=\"me\"\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Veltrane\\Lumenport\\CurrentVersion]\r\n"
        "\"ConvertNames\"=dword:00000000\r\n"
        "this line is broken\r\n"
        "\"Blob\"=hex:01,02,\\\r\n"
        "  03,04\r\n";
    WriteFile(dir.File("u.reg"), before);
    RegistryHive hive(dir.File("u.reg"), "HKEY_CURRENT_USER");
    RegistryHive::TakeReports();
    hive.Write(kKey, "convertnames", std::int32_t{-1});
    hive.Write(kKey, "FirstSuffixNumber", std::int32_t{5});
    hive.Write("Software\\New", "Text", std::string("a\"b"));
    std::string after = ReadFile(dir.File("u.reg"));
    EXPECT_NE(after.find("; a comment the user wrote\r\n"), std::string::npos);
    EXPECT_NE(after.find("\"Keep\"=\"me\"\r\n"), std::string::npos);
    EXPECT_NE(after.find("this line is broken\r\n"), std::string::npos);
    EXPECT_NE(after.find("\"Blob\"=hex:01,02,\\\r\n  03,04\r\n"), std::string::npos);
    EXPECT_NE(after.find("\"ConvertNames\"=dword:ffffffff\r\n"), std::string::npos);
    EXPECT_EQ(after.find("dword:00000000"), std::string::npos);
    EXPECT_EQ(std::get<std::int32_t>(hive.Read(kKey, "FirstSuffixNumber")), 5);
    EXPECT_EQ(std::get<std::string>(hive.Read("Software\\New", "Text")), "a\"b");
    auto reports = RegistryHive::TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_NE(reports[0].find("u.reg:8:"), std::string::npos) << reports[0];
}

TEST(RegistryHive, ValuesWrittenOverSeveralLinesNeitherSwallowNorLeaveLinesBehind) {
    TempDir dir;
    // The file ends inside a value that announces one more line: a new value appended after it
    // must not become that line.
    WriteFile(dir.File("u.reg"),
              "Windows Registry Editor Version 5.00\r\n"
              "[HKEY_CURRENT_USER\\Software\\Veltrane\\Lumenport\\CurrentVersion]\r\n"
              "\"Blob\"=hex:02,02,\\\r\n");
    RegistryHive hive(dir.File("u.reg"), "HKEY_CURRENT_USER");
    hive.Write(kKey, "FirstSuffixNumber", std::int32_t{7});
    EXPECT_EQ(std::get<std::int32_t>(hive.Read(kKey, "FirstSuffixNumber")), 7);
    EXPECT_NE(ReadFile(dir.File("u.reg")).find("\"Blob\"=hex:02,02,\\\r\n"), std::string::npos);

    // A value over several lines replaced by a number takes its following lines with it.
    WriteFile(dir.File("v.reg"),
              "Windows Registry Editor Version 5.00\r\n"
              "[HKEY_CURRENT_USER\\Software\\Veltrane\\Lumenport\\CurrentVersion]\r\n"
              "\"Language\"=hex:01,\\\r\n"
              "\"ConvertNames\"=dword:00000001\r\n"
              "\"Keep\"=\"me\"\r\n");
    RegistryHive other(dir.File("v.reg"), "HKEY_CURRENT_USER");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(other.Read(kKey, "ConvertNames")));
    other.Write(kKey, "Language", std::string("ENU"));
    std::string after = ReadFile(dir.File("v.reg"));
    EXPECT_EQ(after.find("dword:00000001"), std::string::npos) << after;
    EXPECT_EQ(std::get<std::string>(other.Read(kKey, "Language")), "ENU");
    EXPECT_EQ(std::get<std::string>(other.Read(kKey, "Keep")), "me");
}

TEST(RegistryHive, CreatesFileAndFoldersOnFirstWrite) {
    TempDir dir;
    RegistryHive hive(dir.File("a/b/user.reg"), "HKEY_CURRENT_USER");
    hive.Write(kKey, "Language", std::string("ENU"));
    std::string text = ReadFile(dir.File("a/b/user.reg"));
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n", 0), 0u);
    EXPECT_NE(
        text.find("[HKEY_CURRENT_USER\\Software\\Veltrane\\Lumenport\\CurrentVersion]\r\n\"Language\"=\"ENU\"\r\n"),
        std::string::npos);
}

TEST(RegistryHive, ConcurrentWritersLoseNoValue) {
    TempDir dir;
    std::string path = dir.File("u.reg");
    std::vector<pid_t> kids;
    for (int k = 0; k < 4; ++k) {
        pid_t pid = ::fork();
        if (pid == 0) {
            RegistryHive hive(path, "HKEY_CURRENT_USER");
            for (int i = 0; i < 25; ++i)
                hive.Write(kKey, "V" + std::to_string(k) + "_" + std::to_string(i), std::int32_t{i});
            ::_exit(0);
        }
        kids.push_back(pid);
    }
    for (pid_t p : kids) ::waitpid(p, nullptr, 0);
    RegistryHive hive(path, "HKEY_CURRENT_USER");
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 25; ++i)
            EXPECT_EQ(std::get<std::int32_t>(hive.Read(kKey, "V" + std::to_string(k) + "_" + std::to_string(i))), i);
}
