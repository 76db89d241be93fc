// A user's own ARIS export from file to definition file: --aml, the honest --list, --all, the
// summary, the type tables (--types, the user's table) and the profile (--print-rules,
// --profile, the user's profile), the usage and the hints of batch mode.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "../aris/ArisTestSupport.h"
#include "../support/TestEnv.h"
#include "app/modExportSummary.h"

using aristest::Aml;
using aristest::Names;

namespace {

// Real ARIS exports: the small ones kept with the tests, the large one where it is present.
std::vector<std::string> RealExports() {
    std::vector<std::string> files = {testenv::TestDataPath("aris/samples/Small.xml"),
                                      testenv::TestDataPath("aris/samples/Fixture.xml"),
                                      testenv::TestDataPath("aris/samples/Bpmn95.xml")};
    const std::string large = "/work/shared/aris/samples/Architecture.xml";
    if (std::filesystem::exists(large)) files.push_back(large);
    return files;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

// The environment of a run in the sandbox: its settings, servers and settings folder.
std::map<std::string, std::string> Env(const testenv::Sandbox& box) {
    return {{"LUMENPORT_USER_REG", box.userHive},
            {"LUMENPORT_ARIS_SERVERS", box.dir.File("servers")},
            {"XDG_CONFIG_HOME", box.dir.File("config")},
            {"LUMENPORT_CODEPAGE", "1252"},
            {"LC_ALL", "C"}};
}

// The construct counts a summary names, by the English name of the kind.
std::map<std::string, int> SummaryCounts(const std::string& err) {
    std::map<std::string, int> counts;
    std::regex pair(R"(([a-z][a-z ]*[a-z]): (\d+))");
    for (const std::string& line : Lines(err)) {
        if (line.rfind("  ", 0) != 0 || line.rfind("  Not a process", 0) == 0) continue;
        for (std::sregex_iterator it(line.begin(), line.end(), pair), end; it != end; ++it)
            counts[(*it)[1]] = std::stoi((*it)[2]);
    }
    return counts;
}

// The blocks of each kind in a definition file, counted as the summary names them.
std::map<std::string, int> FileCounts(const std::string& wpx) {
    return {{"processes", Count(wpx, "\r\nPROCESS ")},
            {"activities", Count(wpx, "\tPROGRAM_ACTIVITY ") + Count(wpx, "\tPROCESS_ACTIVITY ")},
            {"control connectors", Count(wpx, "\tCONTROL\r\n")},
            {"data connectors", Count(wpx, "\tDATA\r\n")},
            {"data structures", Count(wpx, "\r\nSTRUCTURE ")},
            {"programs", Count(wpx, "\r\nPROGRAM ")},
            {"persons", Count(wpx, "\r\nPERSON ")},
            {"roles", Count(wpx, "\r\nROLE ")},
            {"organizations", Count(wpx, "\r\nORGANIZATION ")},
            {"process categories", Count(wpx, "\r\nPROCESS_CATEGORY ")}};
}

// One export of every kind of model the listing has to judge.
const std::string kJudged = Aml(R"(
  <Group Group.ID="Group.1">)" + Names("Folder") +
                                R"(
    <Model Model.ID="Model.ok" Model.Type="MT_EEPC"><GUID>g-ok</GUID>)" +
                                Names("Order") + R"(</Model>
    <Model Model.ID="Model.arch" Model.Type="MT_ARCHIMATE_3"><GUID>g-arch</GUID>)" +
                                Names("Default View") + R"(</Model>
    <Model Model.ID="Model.org" Model.Type="MT_ORG_CHRT"><GUID>g-org</GUID>)" +
                                Names("Staff") + R"(</Model>
    <Model Model.ID="Model.de" Model.Type="MT_EEPC"><GUID>g-de</GUID>)" +
                                Names("", "Nur deutsch") + R"(</Model>
    <Model Model.ID="Model.comma" Model.Type="MT_EEPC"><GUID>g-comma</GUID>)" +
                                Names("Receive, check") + R"(</Model>
  </Group>)");

}  // namespace

TEST(OwnExport, ListingOffersOnlySelectableModelsAndNamesEveryOtherWithItsReason) {
    testenv::Sandbox box("");
    testenv::WriteFile(box.dir.File("exports/Judged.xml"), kJudged);
    auto r = testenv::RunProgram({"--list", "--aml", box.dir.File("exports/Judged.xml"), "/LOC=1033"}, Env(box));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "g-ok,Order,13\n");
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"'Default View' (type MT_ARCHIMATE_3)", "the type has no number in the type table"},
        {"'Staff' (type MT_ORG_CHRT = 1)", "not a process model type"},
        {"g-de,,13 (type MT_EEPC = 13)", "it has no name in locale 1033"},
        {"'Receive, check' (type MT_EEPC = 13)", "which a selection cannot carry"},
    };
    for (const auto& [model, reason] : refused) {
        std::string line = "kvbrars: cannot be selected: " + model + ": ";
        std::size_t at = r.err.find(line);
        ASSERT_NE(at, std::string::npos) << model << "\n" << r.err;
        EXPECT_NE(r.err.substr(at, r.err.find('\n', at) - at).find(reason), std::string::npos) << model;
    }
    EXPECT_EQ(testenv::CountLinesStarting(r.err, "kvbrars: cannot be selected: "), 4) << r.err;

    // In German the listing names the German-only model and leaves the others out.
    auto de = testenv::RunProgram({"--list", "--aml", box.dir.File("exports/Judged.xml"), "/LOC=1031"}, Env(box));
    EXPECT_EQ(de.out, "g-de,Nur deutsch,13\n") << de.err;
}

TEST(OwnExport, TheRealExportsListNothingTheyCannotExportAndSayWhy) {
    for (const std::string& file : RealExports()) {
        testenv::Sandbox box("");
        const std::string sample = std::filesystem::path(file).stem().string();
        auto r = testenv::RunProgram({"--list", "--aml", file}, Env(box));
        ASSERT_EQ(r.status, 0) << sample << "\n" << r.err.substr(0, 2000);
        EXPECT_EQ(r.out, "") << sample;
        EXPECT_EQ(testenv::CountLinesStarting(r.err, "kvbrars: cannot be selected: "),
                  Count(testenv::ReadFile(file), "<Model "))
            << sample;
        EXPECT_NE(r.err.find("kvbrars: no model of " + sample + " can be selected"), std::string::npos) << sample;
    }
}

TEST(OwnExport, AllExportsWhatTheListingOffersAndTheSummaryCountsTheFile) {
    testenv::Sandbox box("");
    testenv::WriteFile(box.dir.File("servers/T/Demo.xml"), testenv::ReadFile(testenv::BinPath("aris/LOCAL/Demo.xml")));
    const std::vector<std::vector<std::string>> sources = {
        {"--aml", box.dir.File("servers/T/Demo.xml")}, {"/SVR=T", "/DB=Demo"}, {"/SVR=T", "/DB=Demo.xml"}};
    for (const std::vector<std::string>& source : sources) {
        std::vector<std::string> list = {"--list", "/LOC=1033"};
        list.insert(list.end(), source.begin(), source.end());
        auto listed = testenv::RunProgram(list, Env(box));
        ASSERT_EQ(listed.status, 0) << listed.err;

        std::string out = box.dir.File("all.wpx");
        std::vector<std::string> all = {"--batch", "--output", out, "--all", "/USR=tester", "/LOC=1033"};
        all.insert(all.end(), source.begin(), source.end());
        auto r = testenv::RunProgram(all, Env(box));
        ASSERT_EQ(r.status, 0) << r.err;
        std::string wpx = testenv::ReadFile(out);
        EXPECT_NE(wpx.find("*  ARIS Server name   = T\r\n*  ARIS Database name = Demo\r\n"), std::string::npos);
        EXPECT_EQ(SummaryCounts(r.err), FileCounts(wpx)) << r.err;
        // Every listed model was selected and became a process.
        std::size_t models = Lines(listed.out).size();
        EXPECT_NE(r.err.find("Selected models: " + std::to_string(models) + ", of which " + std::to_string(models) +
                             " became processes"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(Count(wpx, "\r\nPROCESS '"), static_cast<int>(models));
        EXPECT_NE(r.err.find("Definition file: " + out), std::string::npos);
    }
}

TEST(OwnExport, UserTypeTableGivesANumberAndTypesShowsEveryRowWithItsTable) {
    testenv::Sandbox box("");
    const std::string small = testenv::TestDataPath("aris/samples/Small.xml");
    testenv::WriteFile(box.dir.File("config/lumenport/types.tsv"),
                       "model\t13\tMT_ARCHIMATE_3\tArchiMate as EPC\tArchiMate als EPK\n"
                       "connection\t43\tCT_ACTIV_1\tactivates (mine)\taktiviert (meins)\n");
    auto r = testenv::RunProgram({"--list", "--aml", small}, Env(box));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(r.out).size(), 1u) << r.out << r.err;
    EXPECT_EQ(r.out.substr(r.out.size() - 4), ",13\n");

    // The server folder's table wins over the user's.
    testenv::WriteFile(box.dir.File("servers/T/types.tsv"), "connection\t43\tCT_ACTIV_1\tactivates (server)\t\n");
    auto types = testenv::RunProgram({"--types", "/SVR=T", "/DB=Missing"}, Env(box));
    EXPECT_NE(types.status, 0);  // no such database: nothing to take a server folder from
    testenv::WriteFile(box.dir.File("servers/T/Db.xml"), kJudged);
    types = testenv::RunProgram({"--types", "/SVR=T", "/DB=Db"}, Env(box));
    ASSERT_EQ(types.status, 0) << types.err;
    const std::string builtIn = testenv::BinPath("aris-types.tsv");
    const std::string user = box.dir.File("config/lumenport/types.tsv");
    const std::string server = box.dir.File("servers/T/types.tsv");
    for (const std::string& row : {"model\t13\tMT_EEPC\tEPC (eEPC)\tEPK (eEPK)\t" + builtIn,
                                   "model\t13\tMT_ARCHIMATE_3\tArchiMate as EPC\tArchiMate als EPK\t" + user,
                                   "connection\t43\tCT_ACTIV_1\tactivates (server)\t\t" + server,
                                   "object\t22\tOT_FUNC\tFunction\tFunktion\t" + builtIn}) {
        EXPECT_EQ(Count(types.out, "\n" + row + "\n"), 1) << row;
    }
    EXPECT_EQ(types.out.find("activates (mine)"), std::string::npos);
    EXPECT_NE(types.out.find("# 2. user table: " + user + "\n"), std::string::npos) << types.out;
    // Every shipped row is shown.
    int shipped = 0;
    for (const std::string& line : Lines(testenv::ReadFile(builtIn)))
        if (!line.empty() && line[0] != '#' && line.rfind("kind\t", 0) != 0) ++shipped;
    // CT_ACTIV_1 is replaced; MT_ARCHIMATE_3 is a row of its own.
    EXPECT_EQ(Count(types.out, "\t" + builtIn + "\n"), shipped - 1);
}

TEST(OwnExport, BpmnModelsExportWithAUserRowAndAProfileThatAcceptsTheirType) {
    testenv::Sandbox box("");
    const std::string bpmn = testenv::TestDataPath("aris/samples/Bpmn95.xml");
    // Without a number for their type nothing can be selected: an invalid selection, no file made.
    auto refused = testenv::RunProgram(
        {"--batch", "--output", box.dir.File("none.wpx"), "--aml", bpmn, "--all", "/USR=u", "/LOC=1033"}, Env(box));
    EXPECT_EQ(refused.status, 1) << refused.err;
    EXPECT_NE(refused.err.find("kvbrars: no model of Bpmn95 can be selected\n"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("KVB02020C"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(box.dir.File("none.wpx")));

    testenv::WriteFile(box.dir.File("config/lumenport/types.tsv"),
                       "model\t247\tMT_BPMN_PROCESS_DIAGRAM\tBPMN process diagram\tBPMN-Prozessdiagramm\n");
    auto printed = testenv::RunProgram({"--print-rules"}, Env(box));
    std::string profile =
        std::regex_replace(printed.out, std::regex("(OBJECT_MAPPING PROCESS\n)"), "$1    OBJECT_TYPE = 247\n");
    testenv::WriteFile(box.dir.File("config/lumenport/kvbrars.prf"), profile);
    std::string out = box.dir.File("bpmn.wpx");
    auto r = testenv::RunProgram({"--batch", "--output", out, "--aml", bpmn, "--all", "/USR=u", "/LOC=1033"}, Env(box));
    ASSERT_EQ(r.status, 0) << r.err;
    std::string wpx = testenv::ReadFile(out);
    EXPECT_EQ(SummaryCounts(r.err), FileCounts(wpx)) << r.err;
    EXPECT_EQ(Count(wpx, "\r\nPROCESS '"), 3);
    EXPECT_GT(Count(wpx, "\tCONTROL\r\n"), 0);
    EXPECT_NE(r.err.find("Mapping rules: profile " + box.dir.File("config/lumenport/kvbrars.prf")), std::string::npos);
    // The two collaboration diagrams have no number: named when refused, and among the type names.
    EXPECT_EQ(Count(r.err, "(type MT_BPMN_COLLABORATION_DIAGRAM): the type has no number"), 2) << r.err;
    EXPECT_NE(r.err.find("model MT_BPMN_COLLABORATION_DIAGRAM (2)"), std::string::npos) << r.err;
}

TEST(OwnExport, PrintedRulesMakeAProfileThatExportsTheSame) {
    testenv::Sandbox box("");
    auto printed = testenv::RunProgram({"--print-rules"}, Env(box));
    ASSERT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(Count(printed.out, "\nEND\n") + (printed.out.rfind("END\n", 0) == 0), 85);
    testenv::WriteFile(box.dir.File("rules.prf"), printed.out);

    auto exportWith = [&](const std::vector<std::string>& extra, const std::string& name) {
        std::string out = box.dir.File(name + ".wpx");
        std::vector<std::string> args = {
            "--batch", "--output",    out,        "--aml", testenv::BinPath("aris/LOCAL/Demo.xml"),
            "--all",   "/USR=tester", "/LOC=1031"};
        args.insert(args.end(), extra.begin(), extra.end());
        auto r = testenv::RunProgram(args, Env(box));
        EXPECT_EQ(r.status, 0) << r.err;
        return std::make_pair(testenv::ReadFile(out), r.err);
    };
    auto [builtIn, builtInErr] = exportWith({}, "builtin");
    auto [profiled, profiledErr] = exportWith({"--profile", box.dir.File("rules.prf")}, "profiled");
    // Apart from the date (line 3) and the rule source (line 7) the files are the same.
    std::vector<std::string> a = Lines(builtIn), b = Lines(profiled);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(a[6], "*  Default mapping rules used \r");
    EXPECT_EQ(b[6], "*  Mapping rules taken from profile \r");
    for (std::size_t i = 0; i < a.size(); ++i)
        if (i != 2 && i != 6) {
            EXPECT_EQ(a[i], b[i]) << "line " << i + 1;
        }
    EXPECT_EQ(testenv::ReadFile(box.dir.File("builtin.log")), testenv::ReadFile(box.dir.File("profiled.log")));
    EXPECT_NE(builtInErr.find("Mapping rules: built-in rules"), std::string::npos);
    EXPECT_NE(profiledErr.find("Mapping rules: profile " + box.dir.File("rules.prf")), std::string::npos);
}

TEST(OwnExport, ProfileIsTakenFromTheOptionBesideTheProgramOrTheUsersFolder) {
    testenv::Sandbox box("");
    const std::string program = testenv::CopyProgramTo(box.dir.File("bin"));
    // A profile whose rule PROCESS accepts only organizational charts (1): the listing shows which was read.
    const std::string orgCharts = "OBJECT_MAPPING PROCESS OBJECT_TYPE = 1 END\n";
    const std::string epcs = "OBJECT_MAPPING PROCESS OBJECT_TYPE = 13 END\n";
    testenv::WriteFile(box.dir.File("exports/Judged.xml"), kJudged);
    auto list = [&](const std::vector<std::string>& extra) {
        std::vector<std::string> args = {"--list", "--aml", box.dir.File("exports/Judged.xml"), "/LOC=1033"};
        args.insert(args.end(), extra.begin(), extra.end());
        return testenv::RunProgramAt(program, args, Env(box)).out;
    };
    testenv::WriteFile(box.dir.File("config/lumenport/kvbrars.prf"), orgCharts);
    EXPECT_EQ(list({}), "g-org,Staff,1\n");  // the user's profile
    testenv::WriteFile(box.dir.File("bin/kvbrars.prf"), epcs);
    EXPECT_EQ(list({}), "g-ok,Order,13\n");  // beside the program wins
    testenv::WriteFile(box.dir.File("other.prf"), orgCharts);
    EXPECT_EQ(list({"--profile", box.dir.File("other.prf")}), "g-org,Staff,1\n");  // the option wins

    // A profile without the rule PROCESS offers nothing and says why.
    testenv::WriteFile(box.dir.File("none.prf"), "ATTRIBUTE_MAPPING X ATTRIBUTE_TYPE = 9 END\n");
    auto r = testenv::RunProgramAt(
        program,
        {"--list", "--profile", box.dir.File("none.prf"), "--aml", box.dir.File("exports/Judged.xml"), "/LOC=1033"},
        Env(box));
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("'Order' (type MT_EEPC = 13): the mapping rules have no rule PROCESS"), std::string::npos)
        << r.err;
}

TEST(OwnExport, ProfileErrorIsFollowedByItsFileAndLine) {
    testenv::Sandbox box("");
    testenv::WriteFile(box.dir.File("bad.prf"),
                       "OBJECT_MAPPING PROCESS\r\n  OBJECT_TYPE = 13\r\nEND\r\n\r\nOBJECT_MAPPING ACTIVITY\r\n"
                       "  OBJECT_TYPE 22\r\nEND\r\n");
    auto r = testenv::RunProgram({"--batch", "--output", box.dir.File("x.wpx"), "--profile", box.dir.File("bad.prf"),
                                  "--aml", testenv::BinPath("aris/LOCAL/Demo.xml"), "--all", "/LOC=1033"},
                                 Env(box));
    EXPECT_EQ(r.status, 1) << r.err;
    std::size_t box2150 = r.err.find("KVB02150C");
    std::size_t place = r.err.find("kvbrars: mapping profile " + box.dir.File("bad.prf") + ", line 6\n");
    ASSERT_NE(box2150, std::string::npos) << r.err;
    ASSERT_NE(place, std::string::npos) << r.err;
    EXPECT_LT(box2150, place);
    EXPECT_FALSE(std::filesystem::exists(box.dir.File("x.wpx")));  // ended before any file was made
}

TEST(OwnExport, UsageConflictsAndTheBatchHintForAMissingFileName) {
    testenv::Sandbox box("");
    const std::string demo = testenv::BinPath("aris/LOCAL/Demo.xml");
    struct Row {
        std::vector<std::string> args;
        int status;
        std::string said;
    };
    const std::vector<Row> rows = {
        {{}, 64, "usage: kvbrars"},
        {{"--aml", demo, "/SVR=LOCAL", "--list"}, 64, "--aml reads the file instead of /SVR and /DB"},
        {{"--all", "--aml", demo, "/SEL=a,b,13", "/LOC=1033"}, 64, "--all selects the models instead of /SEL"},
        {{"--profile", box.dir.File("missing.prf"), "--list", "--aml", demo}, 64, "missing.prf named with --profile"},
        {{"--aml"}, 64, "--aml needs a file name"},
        {{"--list", "--aml", box.dir.File("nothing.xml")}, 2, "nothing.xml not found"},
    };
    for (const Row& row : rows) {
        auto r = testenv::RunProgram(row.args, Env(box));
        EXPECT_EQ(r.status, row.status) << row.said << "\n" << r.err;
        EXPECT_NE(r.err.find(row.said), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << row.said;
    }

    auto r = testenv::RunProgram({"--batch", "--aml", demo, "--all", "/USR=u", "/LOC=1033"}, Env(box));
    EXPECT_EQ(r.status, 3) << r.err;
    std::size_t hint = r.err.find("kvbrars: no definition file named: give --output FILE, or set OutputFileName");
    std::size_t question = r.err.find("KVB32755");
    ASSERT_NE(hint, std::string::npos) << r.err;
    ASSERT_NE(question, std::string::npos) << r.err;
    EXPECT_LT(hint, question);
}

TEST(OwnExport, SummaryShowsTenNamesAtMostAndLinesOtherPartsAdd) {
    testenv::Sandbox box("ENU");
    ExportSummary summary;
    summary.definitionFile = "a.wpx";
    summary.logFile = "a.log";
    summary.constructs = {{60226, 2}, {60227, 5}, {60228, 1}};
    summary.selectedModels = 14;
    summary.processModels = 2;
    for (int i = 1; i <= 12; ++i) summary.notProcesses.push_back("M" + std::to_string(i));
    summary.unnumberedTypes = {{"object OT_A", 3}};
    summary.AddLine("Checked: 0 problems");
    const std::vector<std::string> lines = summary.Lines();
    const std::vector<std::string> expected = {"Export finished.",
                                               "Definition file: a.wpx",
                                               "Log: a.log",
                                               "Mapping rules: built-in rules",
                                               "Constructs in the definition file:",
                                               "  processes: 2, activities: 5",
                                               "  control connectors: 1",
                                               "Selected models: 14, of which 2 became processes",
                                               "  Not a process: M1",
                                               "  Not a process: M2",
                                               "  Not a process: M3",
                                               "  Not a process: M4",
                                               "  Not a process: M5",
                                               "  Not a process: M6",
                                               "  Not a process: M7",
                                               "  Not a process: M8",
                                               "  Not a process: M9",
                                               "  Not a process: M10",
                                               "  ... and 2 more",
                                               "Warnings shown: 0; warnings in the log: 0",
                                               "Type names without a number (1): object OT_A (3)",
                                               "Checked: 0 problems"};
    EXPECT_EQ(lines, expected);
    // Shown, it is one message with an OK button.
    CurrentExportSummary() = summary;
    ShowExportSummary();
    ASSERT_EQ(box.boxes->texts.size(), 1u);
    EXPECT_EQ(box.boxes->texts[0], summary.Text());
    EXPECT_EQ(platform::MsgBoxButtons(box.boxes->styles[0]), platform::kMbOkOnly);
    CurrentExportSummary().Reset();
}
