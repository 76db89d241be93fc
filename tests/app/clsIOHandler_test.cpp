#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <optional>

#include "../support/AmlBuilder.h"
#include "../support/TestEnv.h"
#include "app/clsIOHandler.h"
#include "platform/RegistryStore.h"
#include "platform/UiMode.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"
#include "runtime/modUtilities.h"

namespace {

int ErrorNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::Error& e) {
        return e.Number();
    }
    return 0;
}

TEST(Files, WriteAppendsLinesWithCrLfInTheActiveCodePage) {
    testenv::Sandbox box("DEU");
    ::setenv("LUMENPORT_CODEPAGE", "1252", 1);
    clsIOHandler io;
    std::string file = box.dir.File("a.txt");
    io.AllocateFile(file);
    io.WriteFile("A", file);
    io.WriteFile("Bä€", file);
    io.FlushFiles();
    EXPECT_EQ(testenv::ReadFile(file), "A\r\nB\xE4\x80\r\n");
    EXPECT_EQ(io.ReadFile(file), "A\r\nBä€\r\n");
    io.WriteFile("漢", file);  // not in code page 1252
    io.FlushFiles();
    EXPECT_EQ(testenv::ReadFile(file).substr(8), "?\r\n");
    ::setenv("LUMENPORT_CODEPAGE", "65001", 1);
    io.WriteFile("漢", file);
    io.FlushFiles();
    EXPECT_EQ(testenv::ReadFile(file).substr(11), "漢\r\n");
    ::unsetenv("LUMENPORT_CODEPAGE");
}

TEST(Files, EveryLineLandsInTheFileAndACreatedFileGetsTheNextLine) {
    testenv::Sandbox box("DEU");
    clsIOHandler io;
    std::string a = box.dir.File("a.log");
    std::string b = box.dir.File("b.wpx");
    std::string c = box.dir.File("c.txt");
    io.AllocateFile(a);
    for (const char* line : {"one", "two"}) {
        io.WriteFile(line, a);
        io.WriteFile(line, b);
        io.WriteFile(line, c);  // a third file in turn
    }
    io.FlushFiles();
    EXPECT_EQ(testenv::ReadFile(a), "one\r\ntwo\r\n");
    EXPECT_EQ(testenv::ReadFile(b), "one\r\ntwo\r\n");
    EXPECT_EQ(testenv::ReadFile(c), "one\r\ntwo\r\n");
    // Removed and created anew: the next line goes to the new file.
    std::remove(a.c_str());
    io.AllocateFile(a);
    io.WriteFile("three", a);
    io.FlushFiles();
    EXPECT_EQ(testenv::ReadFile(a), "three\r\n");
    // Emptied by someone else: the next line is appended at the new end.
    testenv::WriteFile(b, "");
    io.WriteFile("four", b);
    io.FlushFiles();
    EXPECT_EQ(testenv::ReadFile(b), "four\r\n");
}

TEST(Files, EveryLineBreakIsWrittenAsCrLf) {
    testenv::Sandbox box("DEU");
    clsIOHandler io;
    std::string file = box.dir.File("a.txt");
    io.WriteFile("one\ntwo\rthree\r\nfour\r", file);
    io.WriteFile("\n", file);
    io.FlushFiles();
    EXPECT_EQ(testenv::ReadFile(file), "one\r\ntwo\r\nthree\r\nfour\r\n\r\n\r\n\r\n");
}

TEST(Files, ReadEndsEveryLineWithCrLf) {
    testenv::Sandbox box("DEU");
    clsIOHandler io;
    testenv::WriteFile(box.dir.File("p.prf"), "one\ntwo\r\nthree");
    EXPECT_EQ(io.ReadFile(box.dir.File("p.prf")), "one\r\ntwo\r\nthree\r\n");
}

TEST(Files, OpenModesAndMissingFiles) {
    testenv::Sandbox box("DEU");
    clsIOHandler io;
    EXPECT_EQ(ErrorNumber([&] { io.OpenFile(box.dir.File("x"), 4); }), 2000);
    EXPECT_EQ(ErrorNumber([&] { io.OpenFile(box.dir.File("missing"), kModeRead); }), 53);
    EXPECT_FALSE(io.FileExists(box.dir.File("missing")));
    EXPECT_EQ(CurrentExport().CurrentStep, "failed");
    io.AllocateFile(box.dir.File("there"));
    EXPECT_TRUE(io.FileExists(box.dir.File("there")));
    EXPECT_TRUE(box.boxes->texts.empty());
    io.CloseFile(0);
}

TEST(Files, WriteFailuresNameTheFileAndAreNeverSilent) {
    testenv::Sandbox box("DEU");
    clsIOHandler io;
    try {
        io.WriteFile("x", box.dir.File("no/such/folder/out.wpx"));
        FAIL() << "no error";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.Number(), 76);
        EXPECT_NE(e.Description().find("no/such/folder/out.wpx"), std::string::npos);
    }
    if (::geteuid() != 0) {
        ::chmod(box.dir.Path().c_str(), 0500);
        EXPECT_EQ(ErrorNumber([&] { io.WriteFile("x", box.dir.File("ro.wpx")); }), 70);
        ::chmod(box.dir.Path().c_str(), 0700);
    }
    // A full disk shows when the buffered lines are written.
    io.WriteFile("x", "/dev/full");
    EXPECT_EQ(ErrorNumber([&] { io.FlushFiles(); }), 61);
}

TEST(Files, LogNameAndFileChoiceInBatchMode) {
    testenv::Sandbox box("DEU");
    struct Row {
        const char* chosen;
        const char* definition;
        const char* log;
    } rows[] = {
        {"/out/proc.wpx", "/out/proc.wpx", "/out/proc.log"},
        {"/out/proc.txt", "/out/proc.txt", "/out/proc.log"},
        {"/out/proc", "/out/proc.wpx", "/out/proc.log"},
        {"/out.d/x", "/out.d/x.wpx", "/out.d/x.log"},
        // The log is never the definition file itself, nor a file in another folder.
        {"/out/x.log", "/out/x.log", "/out/x.log.log"},
        {"/out/x.LoG", "/out/x.LoG", "/out/x.LoG.log"},
        {"/out/a.b", "/out/a.b", "/out/a.b.log"},
        {"/out/x.wpx.bak", "/out/x.wpx.bak", "/out/x.wpx.log"},
        {"/out.d/x.ab", "/out.d/x.ab", "/out.d/x.ab.log"},
        {"/out/prüf.wpä", "/out/prüf.wpä", "/out/prüf.log"},
    };
    for (const Row& r : rows) {
        clsIOHandler io;
        io.CommandLineOutput = box.dir.Path() + r.chosen;
        ::mkdir((box.dir.Path() + "/out").c_str(), 0700);
        ::mkdir((box.dir.Path() + "/out.d").c_str(), 0700);
        io.FileSelectDialog();
        EXPECT_EQ(io.DefinitionFileName(), box.dir.Path() + r.definition);
        EXPECT_EQ(io.LogFileName(), box.dir.Path() + r.log);
        EXPECT_TRUE(io.FileExists(io.DefinitionFileName()));
        EXPECT_TRUE(io.FileExists(io.LogFileName()));
    }
}

TEST(Files, FileChoiceFromTheToolIntegrationProposalOrCancelled) {
    testenv::Sandbox box("DEU");
    testenv::WriteFile(box.dir.File("prior/keep.log"), "old");
    testenv::WriteFile(box.userHive,
                       "Windows Registry Editor Version 5.00\r\n\r\n"
                       "[HKEY_CURRENT_USER\\Software\\IDS Scheer\\Aris\\5.0\\ToolIntegration\\veltrane]\r\n"
                       "\"OutputPath\"=\"" +
                           box.dir.Path() +
                           "/prior\"\r\n"
                           "\"OutputFileName\"=\"proposal\"\r\n");
    clsIOHandler io;
    io.FileSelectDialog();
    EXPECT_EQ(io.DefinitionFileName(), box.dir.Path() + "/prior/proposal.wpx");
    EXPECT_EQ(testenv::ReadFile(box.dir.File("prior/keep.log")), "old");

    testenv::WriteFile(box.userHive, "Windows Registry Editor Version 5.00\r\n");
    clsIOHandler none;
    try {
        none.FileSelectDialog();
        FAIL() << "not cancelled";
    } catch (const ProgramEnd& end) {
        EXPECT_EQ(end.exitStatus, kExitUserRequest);
    }
    ASSERT_EQ(box.boxes->texts.size(), 1u);
    EXPECT_EQ(box.boxes->texts[0].rfind("Warnung KVB32755Q  gemeldet von 'clsIOHandler.FileSelectDialog'", 0), 0u);
}

TEST(Files, ReplaceQuestionNamesTheDefinitionFileAndItsLog) {
    testenv::Sandbox box("ENU");
    struct Row {
        bool file, log;
        const char* question;  ///< "" for none
    } rows[] = {
        {false, false, ""},
        {true, false,
         "proc.wpx already exists.\r\nDo you want to replace it? The export also writes its log proc.log."},
        {true, true, "proc.wpx already exists.\r\nDo you want to replace it? Its log proc.log is replaced as well."},
        {false, true, "The log proc.log already exists.\r\nDo you want to replace it with the log of proc.wpx?"},
    };
    for (const Row& r : rows) {
        testenv::TempDir dir;
        if (r.file) testenv::WriteFile(dir.File("proc.wpx"), "old");
        if (r.log) testenv::WriteFile(dir.File("proc.log"), "old");
        EXPECT_EQ(clsIOHandler::ReplaceQuestion(dir.File("proc.wpx")), r.question) << r.file << r.log;
    }
}

TEST(Files, SaveWindowStartsInTheFolderOfTheLastDefinitionFile) {
    testenv::Sandbox box("ENU");
    const std::string integration = modUtilities::kToolIntegrationKey;
    platform::RegistryHive user(box.userHive, "HKEY_CURRENT_USER");
    user.Write(integration, "OutputPath", box.dir.File("integration"));
    std::string first = box.dir.File("exports/claims.wpx");
    testenv::WriteFile(box.dir.File("exports/claims.log"), "old");
    std::vector<platform::SaveFileRequest> requests;
    std::string answer = first;
    platform::SetInteractive(true);
    platform::SetSaveFileDialogHook([&](const platform::SaveFileRequest& request) -> std::optional<std::string> {
        requests.push_back(request);
        return answer;
    });
    struct Restore {
        ~Restore() {
            platform::SetSaveFileDialogHook({});
            platform::SetInteractive(false);
        }
    } restore;

    // Nothing written yet: the tool integration's folder; the chosen folder is kept as ours.
    clsIOHandler io;
    io.FileSelectDialog();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].initialDirectory, box.dir.File("integration"));
    ASSERT_TRUE(requests[0].replaceQuestion);
    EXPECT_NE(requests[0].replaceQuestion(first).find("claims.log"), std::string::npos);
    EXPECT_EQ(user.Read(modUtilities::kProgramKey, "LastOutputFolder"), platform::RegValue(box.dir.File("exports")));
    EXPECT_EQ(user.Read(integration, "OutputPath"), platform::RegValue(box.dir.File("integration")));
    EXPECT_EQ(user.Read(integration, "OutputFileName").index(), 0u);

    // The next export starts there; once the folder is gone, in the integration's again.
    clsIOHandler next;
    next.FileSelectDialog();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].initialDirectory, box.dir.File("exports"));
    std::filesystem::remove_all(box.dir.File("exports"));
    answer = box.dir.File("third.wpx");
    clsIOHandler third;
    third.FileSelectDialog();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[2].initialDirectory, box.dir.File("integration"));
    EXPECT_EQ(user.Read(modUtilities::kProgramKey, "LastOutputFolder"), platform::RegValue(box.dir.Path()));
}

TEST(Files, BufferedLinesAreInTheFileBeforeItIsReadRecreatedOrAMessageBoxShown) {
    testenv::Sandbox box("DEU");
    clsIOHandler io;
    const std::string log = box.dir.File("a.log");
    io.WriteFile("one", log);
    EXPECT_EQ(io.ReadFile(log), "one\r\n");
    io.WriteFile("two", log);
    ExceptionHandler().ShowMessageBox("look at the log", platform::kMbOkOnly);
    EXPECT_EQ(testenv::ReadFile(log), "one\r\ntwo\r\n");
    io.WriteFile("three", log);
    io.AllocateFile(log);  // created anew: the line before went to the old file, not the new one
    io.WriteFile("four", log);
    io.FlushFiles();
    EXPECT_EQ(testenv::ReadFile(log), "four\r\n");
}

TEST(Files, AWriteErrorFoundLaterIsReportedAsAFailedWrite) {
    testenv::Sandbox box("DEU");
    // A full disk behind a name long enough to live on the heap.
    const std::string full = box.dir.File("a-definition-file-on-a-full-disk.wpx");
    std::filesystem::create_symlink("/dev/full", full);
    struct Case {
        const char* what;
        std::function<void(clsIOHandler&, const std::string&)> reveal;  // what writes the buffered line out
    };
    const std::vector<Case> cases = {
        {"the end of the export", [](clsIOHandler& io, const std::string&) { io.FlushFiles(); }},
        {"the next line after a message box",
         [](clsIOHandler& io, const std::string& file) {
             ExceptionHandler().ShowMessageBox("wait", platform::kMbOkOnly);
             io.WriteFile("y", file);
         }},
        {"a full buffer", [](clsIOHandler& io, const std::string& file) {
             for (int i = 0; i < 100000; ++i) io.WriteFile("a line of a long log", file);
         }}};
    for (const Case& c : cases) {
        clsIOHandler io;
        const ProcedureScope caller("modMain.Main");
        io.WriteFile("x", full);
        try {
            c.reveal(io, full);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.Number(), 61) << c.what;
            EXPECT_NE(e.Description().find("'" + full + "'"), std::string::npos) << c.what << e.Description();
            EXPECT_EQ(CurrentExport().CurrentProcedure, "clsIOHandler.WriteFile") << c.what;
        }
        caller.Reassert();
        // Reported once: the lines that failed are not written again.
        EXPECT_EQ(ErrorNumber([&] { io.FlushFiles(); }), 0) << c.what;
    }
}

// A model whose control flow forks into more ways than an export follows (a ladder of XOR
// diamonds: 2^diamonds ways), after a model that exports and logs as usual.
std::string FatalSecondModelAml(int diamonds) {
    amltest::AmlBuilder aml;
    aml.NameType("AT_NAME").Group("G", "Models");
    // The first model: a process whose names are converted, each conversion logged.
    aml.Obj("P1", "G", "OT_FUNC", "1st step.a").Obj("P2", "G", "OT_FUNC", "2nd step.b");
    aml.Obj("PE", "G", "OT_EVT", "done \"now\"");
    aml.Model("plain", "G", "MT_EEPC", "Plain process");
    aml.Place("plain", "P1", 100, 100).Place("plain", "PE", 100, 200).Place("plain", "P2", 100, 300);
    aml.Cxn("P1", "CT_CRT_1", "PE", "plain").Cxn("PE", "CT_ACTIV_1", "P2", "plain");
    // The second: Start -> E0 -> R0 -> (A1 | B1) -> R1 -> ... -> Rn -> Finish.
    aml.Obj("F1", "G", "OT_FUNC", "Start").Obj("F2", "G", "OT_FUNC", "Finish").Obj("E0", "G", "OT_EVT", "Started");
    aml.Model("ladder", "G", "MT_EEPC", "Ladder");
    int x = 100;
    for (const char* id : {"F1", "E0", "F2"}) aml.Place("ladder", id, x += 100, 100);
    aml.Cxn("F1", "CT_CRT_1", "E0", "ladder");
    for (int k = 0; k <= diamonds; ++k) {
        const std::string rule = "R" + std::to_string(k);
        aml.Obj(rule, "G", "50", "Rule " + std::to_string(k)).Place("ladder", rule, x += 100, 100);
        if (k == 0) aml.Cxn("E0", "CT_IS_EVAL_BY_1", rule, "ladder");
        if (k == diamonds) aml.Cxn(rule, "CT_ACTIV_1", "F2", "ladder");
        if (k == 0) continue;
        for (const char* side : {"A", "B"}) {
            const std::string event = side + std::to_string(k);
            aml.Obj(event, "G", "OT_EVT", "Event " + event).Place("ladder", event, x += 100, 100);
            aml.Cxn("R" + std::to_string(k - 1), "CT_LEADS_TO_2", event, "ladder");
            aml.Cxn(event, "CT_IS_EVAL_BY_1", rule, "ladder");
        }
    }
    return aml.Xml();
}

TEST(Files, AnExportEndedByAFatalErrorLeavesEveryLoggedLine) {
    testenv::Sandbox box("");
    const testenv::TimedExport exported =
        testenv::ExportTimed(box, FatalSecondModelAml(14), "guid-plain,Plain process,13;guid-ladder,Ladder,13");
    EXPECT_EQ(exported.run.status, 1) << exported.run.err;
    EXPECT_EQ(exported.run.err.rfind("Error KVB60100C ", 0), 0u) << exported.run.err;
    // The first model's lines, and the second's up to the error: the last line logged is there.
    EXPECT_EQ(testenv::CountLinesStarting(exported.log, "KVB"), 23) << exported.log;
    EXPECT_EQ(testenv::CountLinesStarting(exported.log, "KVB03070I "), 1) << exported.log;
    const std::string last =
        "KVB03090I The mapping of the properties of the WPX construct of type 'PROGRAM_ACTIVITY' named 'Finish' is "
        "complete.\r\n";
    EXPECT_TRUE(exported.log.size() >= last.size() && exported.log.substr(exported.log.size() - last.size()) == last)
        << exported.log;
}

}  // namespace
