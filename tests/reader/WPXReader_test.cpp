// Reading definition files back: every golden file and an export of a generated database read
// without a finding and write back to the same bytes; the model holds the lines of its items.
#include <gtest/gtest.h>

#include <map>

#include <filesystem>
#include <string>
#include <vector>

#include "../support/ExportFixture.h"
#include "../support/TestEnv.h"
#include "reader/WPXChecker.h"
#include "reader/WPXReader.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> GoldenFiles() {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(LP_TEST_DIR))
        if (entry.is_regular_file() && entry.path().extension() == ".wpx") files.push_back(entry.path().string());
    return files;
}

std::string Describe(const std::vector<wpx::Finding>& findings) {
    std::string text;
    for (const wpx::Finding& f : findings) {
        text += "line " + std::to_string(f.line) + ": message " + std::to_string(f.messageId);
        for (const std::string& p : f.params) text += " [" + p + "]";
        text += "\n";
    }
    return text;
}

// Reads the file back, expects exactly the findings described (none by default) and the same
// bytes when the model is written out again.
void ExpectRoundTrip(const std::string& name, const std::string& bytes, const std::string& expectedFindings = "") {
    wpx::ReadResult read = wpx::ReadDefinition(bytes);
    std::vector<wpx::Finding> findings = wpx::CheckDefinition(bytes);
    EXPECT_EQ(Describe(findings), expectedFindings) << name;
    std::string written = wpx::WriteDefinition(read.file);
    EXPECT_EQ(testenv::FirstDifference(bytes, written), "") << name;
    EXPECT_EQ(written.size(), bytes.size()) << name;
}

void ExpectCleanRoundTrip(const std::string& name, const std::string& bytes) { ExpectRoundTrip(name, bytes); }

TEST(WPXReader, EveryGoldenFileReadsBackWithoutAFindingAndWritesBackByteForByte) {
    // An unnamed ARIS group is exported as a category with an empty name: the one finding a
    // golden file is meant to have.
    const std::map<std::string, std::string> meantFindings = {
        {"e2e/unnamed-group/expected.wpx", "line 26: message 60411 [PROCESS_CATEGORY]\n"}};
    std::vector<std::string> files = GoldenFiles();
    ASSERT_GE(files.size(), 15u) << "golden files not found under " << LP_TEST_DIR;
    for (const std::string& file : files) {
        std::string relative = fs::relative(file, LP_TEST_DIR).string();
        auto meant = meantFindings.find(relative);
        ExpectRoundTrip(file, testenv::ReadFile(file), meant == meantFindings.end() ? "" : meant->second);
    }
}

TEST(WPXReader, AnExportOfAGeneratedDatabaseReadsBackCleanly) {
    testenv::Sandbox sandbox;
    std::string path = sandbox.dir.File("servers/GEN/Gen.xml");
    testenv::WriteFile(path, "");
    testenv::RunResult gen = testenv::RunProgramAt(
        testenv::BinPath("amlgen"), {"--objdefs", "300", "--seed", "11", "--out", path, "--name", "Gen"});
    ASSERT_EQ(gen.status, 0) << gen.err;
    std::string selection = gen.out;
    while (!selection.empty() && (selection.back() == '\n' || selection.back() == '\r')) selection.pop_back();
    std::string output = sandbox.dir.File("out/Gen.wpx");
    testenv::WriteFile(output, "");
    testenv::RunResult run = testenv::RunProgram(
        {"--batch", "--output", output, "/SVR=GEN", "/DB=Gen", "/USR=bench", "/SEL=" + selection, "/LOC=1033"},
        {{"LUMENPORT_CODEPAGE", "1252"}});
    ASSERT_EQ(run.status, 0) << run.err;
    // The export checks what it wrote; the summary counts no finding.
    EXPECT_NE(run.err.find("\nCheck of the definition file: 0 errors, 0 warnings\n"), std::string::npos) << run.err;
    ExpectCleanRoundTrip(output, testenv::ReadFile(output));
}

// The model of the worked example: kinds, names, containers, lines, and a description over two
// lines with a doubled quote.
TEST(WPXReader, TheModelHoldsEveryItemWithItsLine) {
    const std::string text =
        "/*\r\n*  \r\n*/\r\n\r\nCODEPAGE 1252\r\nKV_RELEASE V3R2 2\r\n\r\n"
        "STRUCTURE 'Order'\r\n\t'Amount': LONG (5)\r\n\t\tDESCRIPTION 'Total\r\n in ''cents''';\r\nEND 'Order'\r\n"
        "\r\nPROCESS 'Ordering' ('Order', 'Default Data Structure')\r\n"
        "\r\n\tPROGRAM_ACTIVITY 'Check' ('Order', 'Order')\r\n\t\tSTART MANUAL WHEN AT_LEAST_ONE CONNECTOR TRUE\r\n"
        "\tEND 'Check'\r\n\r\n\tCONTROL\r\n\t\tFROM 'Check' TO 'Check'\r\n\r\nEND 'Ordering'\r\n";
    wpx::ReadResult read = wpx::ReadDefinition(text);
    EXPECT_TRUE(read.findings.empty()) << Describe(read.findings);
    const std::vector<wpx::Item>& items = read.file.items;
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].kind, wpx::Kind::Comment);
    EXPECT_EQ(items[1].kind, wpx::Kind::Codepage);
    EXPECT_EQ(items[1].head.number, 5);
    const wpx::Item& structure = items[3];
    EXPECT_EQ(structure.kind, wpx::Kind::Structure);
    EXPECT_EQ(structure.head.number, 8);
    ASSERT_EQ(structure.items.size(), 1u);
    const wpx::Item& member = structure.items[0];
    EXPECT_EQ(member.name, "Amount");
    EXPECT_EQ(member.Parts().memberType, "LONG");
    EXPECT_EQ(member.Parts().memberSize, "(5)");
    ASSERT_EQ(member.items.size(), 1u);
    EXPECT_EQ(member.items[0].head.number, 10);
    EXPECT_EQ(member.items[0].head.value, "'Total\r\n in ''cents'''");
    EXPECT_TRUE(member.items[0].head.semicolon);
    EXPECT_EQ(structure.Parts().end.number, 12);
    const wpx::Item& process = items[4];
    EXPECT_EQ(process.name, "Ordering");
    EXPECT_EQ(process.Parts().input, "Order");
    EXPECT_EQ(process.Parts().output, "Default Data Structure");
    ASSERT_EQ(process.items.size(), 2u);
    EXPECT_EQ(process.items[0].kind, wpx::Kind::ProgramActivity);
    EXPECT_EQ(process.items[0].head.number, 16);
    EXPECT_EQ(process.items[0].Parts().end.number, 18);
    EXPECT_EQ(process.items[1].kind, wpx::Kind::Control);
    EXPECT_EQ(process.items[1].head.number, 20);
    EXPECT_EQ(process.Parts().end.number, 23);
    EXPECT_EQ(wpx::WriteDefinition(read.file), text);
}

// Files the exporter did not write itself still write back as they were: bytes of the code page,
// a last line without a line end, empty lines at the end, blank-only lines.
TEST(WPXReader, WritesBackWhatItReadInTheFilesCodePage) {
    const std::vector<std::string> files = {
        "CODEPAGE 1252\r\nPERSON 'M\xFC"
        "ller'\r\n\tLAST_NAME 'M\xFC"
        "ller'\r\nEND 'M\xFC"
        "ller'\r\n",
        "CODEPAGE 1252\r\nROLE 'Clerk'\r\nEND 'Clerk'",
        "CODEPAGE 65001\r\nROLE 'Gr\xC3\xBC\xC3\x9F"
        "e'\r\nEND 'Gr\xC3\xBC\xC3\x9F"
        "e'\r\n\r\n\r\n",
        "CODEPAGE 1252\r\n  \t\r\nROLE 'A'\r\nEND 'A'\r\n",
    };
    for (const std::string& bytes : files) {
        wpx::ReadResult read = wpx::ReadDefinition(bytes);
        EXPECT_TRUE(read.findings.empty()) << bytes << "\n" << Describe(read.findings);
        EXPECT_EQ(wpx::WriteDefinition(read.file), bytes);
    }
    wpx::ReadResult read = wpx::ReadDefinition(files[0]);
    EXPECT_EQ(read.file.items[1].name, "M\xC3\xBCller") << "the name is read in code page 1252";
}

}  // namespace
