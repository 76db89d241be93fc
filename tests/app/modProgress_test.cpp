// Feedback during long work: the texts of the progress, the terminal line (its delay, rate,
// clearing) on a captured standard error and on a real pseudo-terminal, and the desktop window
// through a recording stand-in.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <functional>
#include <iostream>
#include <thread>

#include "../support/TestEnv.h"
#include "platform/MessageBox.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modProgress.h"

using namespace std::chrono_literals;

namespace {

// Runs a body with standard error going to a file and returns what was written there.
std::string CaptureStderr(const std::function<void()>& body) {
    testenv::TempDir dir;
    std::string path = dir.File("err");
    std::fflush(stderr);
    int saved = ::dup(2);
    FILE* f = std::fopen(path.c_str(), "w");
    ::dup2(::fileno(f), 2);
    body();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    std::fclose(f);
    return testenv::ReadFile(path);
}

const std::string kClear = "\r\033[K";

TEST(Progress, TextsInBothLanguagesAndARoundsTotalThatDoesNotGrow) {
    struct Row {
        const char* language;
        std::function<void()> steps;
        const char* text;
    };
    const Row rows[] = {
        {"ENU",
         [] {
             modProgress::LoadStarted("/data/P/Dense.xml", 62'354'432);
             modProgress::BytesRead(31'177'216);
         },
         "reading Dense.xml: 31.2 of 62.4 MB (50 %)"},
        {"DEU",
         [] {
             modProgress::LoadStarted("/data/P/Dense.xml", 62'354'432);
             modProgress::BytesRead(62'354'432);
         },
         "lese Dense.xml: 62,4 von 62,4 MB (100 %)"},
        // A size that is not known: the bytes read only.
        {"ENU",
         [] {
             modProgress::LoadStarted("pipe.xml", 0);
             modProgress::BytesRead(1'250'000);
         },
         "reading pipe.xml: 1.3 MB"},
        {"ENU",
         [] {
             modProgress::ExportStarted();
             modProgress::RoundStarted(2);
             for (int i = 0; i < 3; ++i) modProgress::ConstructCompleted();
         },
         "round 2, 3 constructs"},
        {"DEU",
         [] {
             modProgress::ExportStarted();
             modProgress::RoundStarted(1);
             modProgress::ProcessStarted(4, 61);
             modProgress::ConstructCompleted();
         },
         "Runde 1, Prozess 4 von 61, 1 Konstrukte"},
        // The total is the one the round's first process brought.
        {"ENU",
         [] {
             modProgress::ExportStarted();
             modProgress::RoundStarted(1);
             modProgress::ProcessStarted(1, 5);
             modProgress::ProcessStarted(2, 9);
         },
         "round 1, process 2 of 5, 0 constructs"},
        // Beyond that total no total is shown rather than a wrong one.
        {"ENU",
         [] {
             modProgress::ExportStarted();
             modProgress::RoundStarted(1);
             modProgress::ProcessStarted(1, 5);
             modProgress::ProcessStarted(6, 9);
         },
         "round 1, process 6, 0 constructs"},
        // A new round takes its own total; the constructs go on counting.
        {"ENU",
         [] {
             modProgress::ExportStarted();
             modProgress::RoundStarted(1);
             modProgress::ProcessStarted(1, 5);
             modProgress::ConstructCompleted();
             modProgress::RoundStarted(2);
             modProgress::ProcessStarted(1, 9);
         },
         "round 2, process 1 of 9, 1 constructs"},
        // Writing and checking the definition file: steps without counts.
        {"ENU",
         [] {
             modProgress::ExportStarted();
             modProgress::RoundStarted(1);
             modProgress::WritingStarted("/out/Order.wpx");
         },
         "writing Order.wpx"},
        {"DEU", [] { modProgress::CheckStarted("/out/Order.wpx"); }, "prüfe Order.wpx"},
        {"ENU",
         [] {
             modProgress::LoadStarted("a.xml", 10);
             modProgress::LoadFinished();
         },
         ""},
    };
    for (const Row& r : rows) {
        testenv::Sandbox sb(r.language);
        modProgress::SetTerminal(false);
        r.steps();
        EXPECT_EQ(modProgress::Text(), r.text);
    }
}

TEST(Progress, LineComesAfterTheDelayAtMostTenTimesASecondAndGivesWayToOtherMessages) {
    testenv::Sandbox sb("ENU");
    std::streambuf* const before = std::cerr.rdbuf();
    const std::string shown = CaptureStderr([] {
        modProgress::SetTerminal(true);
        modProgress::SetDelays(200ms, 0ms);
        modProgress::LoadStarted("/d/F.xml", 1'000'000);
        modProgress::BytesRead(100'000);  // within the delay: nothing yet
        std::this_thread::sleep_for(220ms);
        modProgress::BytesRead(200'000);
        modProgress::BytesRead(300'000);  // too soon after the last drawing
        std::cerr << "kvbrars: warning: something\n";
        modProgress::BytesRead(400'000);  // the line comes back at once after a message
        std::this_thread::sleep_for(120ms);
        modProgress::BytesRead(500'000);
        modProgress::LoadFinished();
    });
    const std::string line = kClear + "kvbrars: reading F.xml: ";
    EXPECT_EQ(shown, line + "0.2 of 1.0 MB (20 %)" + kClear + "kvbrars: warning: something\n" + line +
                         "0.4 of 1.0 MB (40 %)" + line + "0.5 of 1.0 MB (50 %)" + kClear);
    EXPECT_EQ(std::cerr.rdbuf(), before);  // standard error is itself again

    const std::string quiet = CaptureStderr([] {
        modProgress::SetTerminal(false);
        modProgress::SetDelays(0ms, 0ms);
        modProgress::ExportStarted();
        modProgress::RoundStarted(1);
        modProgress::ConstructCompleted();
        modProgress::ExportFinished();
    });
    EXPECT_EQ(quiet, "");
    EXPECT_EQ(modProgress::Constructs(), 1u);
}

TEST(Progress, AnExportRightAfterItsLoadGoesOnWithTheLoadsClock) {
    struct Row {
        std::chrono::milliseconds pause;  ///< between the load's end and the export's start
        bool drawn;
    } const rows[] = {{0ms, true}, {400ms, false}};
    for (const Row& r : rows) {
        testenv::Sandbox sb("ENU");
        const std::string shown = CaptureStderr([&] {
            modProgress::SetTerminal(true);
            modProgress::SetDelays(150ms, 0ms);
            modProgress::LoadStarted("F.xml", 0);
            std::this_thread::sleep_for(170ms);
            modProgress::LoadFinished();
            std::this_thread::sleep_for(r.pause);
            modProgress::ExportStarted();
            modProgress::RoundStarted(1);
            modProgress::ExportFinished();
        });
        EXPECT_EQ(shown.find("round 1") != std::string::npos, r.drawn) << r.pause.count() << " ms: " << shown;
    }
}

// Stands in for the desktop window: records what it shows, answers Cancel as told.
class RecordingWindow : public modProgress::ProgressWindow {
public:
    struct Shown {
        std::string title, text;
        int percent;
    };
    std::vector<Shown>* shown;
    int* closed;
    std::deque<bool>* cancels;

    bool Update(const std::string& title, const std::string& text, int percent) override {
        shown->push_back({title, text, percent});
        if (cancels->empty()) return false;
        const bool cancel = cancels->front();
        cancels->pop_front();
        return cancel;
    }
    void Close() override { ++*closed; }
};

TEST(Progress, WindowInsteadOfTheLineItsCancelAsksAndYesEndsTheProgram) {
    testenv::Sandbox sb("ENU");
    std::vector<RecordingWindow::Shown> shown;
    int closed = 0;
    std::deque<bool> cancels;
    auto window = std::make_unique<RecordingWindow>();
    window->shown = &shown;
    window->closed = &closed;
    window->cancels = &cancels;
    modProgress::SetProgressWindow(std::move(window));
    int status = -1;
    const std::string terminal = CaptureStderr([&] {
        modProgress::SetTerminal(true);
        modProgress::SetDelays(0ms, 100ms);
        modProgress::LoadStarted("/d/F.xml", 1'000'000);
        modProgress::BytesRead(100'000);  // within the window's delay
        EXPECT_TRUE(shown.empty());
        std::this_thread::sleep_for(120ms);
        modProgress::BytesRead(250'000);
        modProgress::BytesRead(300'000);  // too soon for the window
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].title, "Lumenport export");
        EXPECT_EQ(shown[0].text, "reading F.xml: 0.3 of 1.0 MB (25 %)");
        EXPECT_EQ(shown[0].percent, 25);

        // Cancel, answered No: the work goes on.
        sb.boxes->answers = {platform::kIdNo};
        cancels = {true};
        std::this_thread::sleep_for(90ms);
        modProgress::BytesRead(400'000);
        ASSERT_EQ(sb.boxes->texts.size(), 1u);
        EXPECT_NE(sb.boxes->texts[0].find("KVB32755Q"), std::string::npos) << sb.boxes->texts[0];
        EXPECT_EQ(closed, 0);

        // Cancel, answered Yes: the program ends at the user's request.
        cancels = {true};
        std::this_thread::sleep_for(90ms);
        try {
            modProgress::BytesRead(500'000);
        } catch (const ProgramEnd& end) {
            status = end.exitStatus;
        }
        modProgress::LoadFinished();
    });
    EXPECT_EQ(status, kExitUserRequest);
    EXPECT_EQ(sb.boxes->texts.size(), 2u);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(terminal, "");  // the window takes the line's place

    // In the rounds the bar follows the processes; it is unknown before the first one.
    shown.clear();
    modProgress::SetDelays(0ms, 0ms);
    modProgress::ExportStarted();
    modProgress::RoundStarted(1);
    std::this_thread::sleep_for(90ms);
    modProgress::ProcessStarted(3, 4);
    modProgress::ExportFinished();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].percent, -1);
    EXPECT_EQ(shown[1].text, "round 1, process 3 of 4, 0 constructs");
    EXPECT_EQ(shown[1].percent, 75);
    EXPECT_EQ(closed, 2);
    modProgress::SetProgressWindow(nullptr);
}

// The program run with its standard error on a pseudo-terminal; returns what the terminal
// received and sets the exit status.
std::string RunOnTerminal(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                          int& status) {
    winsize size{};
    size.ws_col = 200;
    size.ws_row = 40;
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, &size);
    if (pid == 0) {
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        for (const auto& [k, v] : env) ::setenv(k.c_str(), v.c_str(), 1);
        const std::string program = testenv::BinPath("kvbrars");
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    std::string received;
    char buffer[4096];
    for (;;) {
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, 30'000) <= 0) break;
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0) break;  // the program closed the terminal
        received.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(master);
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return received;
}

TEST(Progress, OnARealTerminalTheLineStartsWithTheLoadAndNeverMixesWithTheSummary) {
    testenv::Sandbox sb;
    const std::string fixture = testenv::TestDataPath("e2e/name-conversion");
    testenv::WriteFile(sb.userHive, testenv::ReadFile(fixture + "/user.reg"));
    const std::string out = sb.dir.File("out.wpx");
    int status = -1;
    const std::string terminal = RunOnTerminal({"--batch", "--output", out, "--aml", fixture + "/vertrieb.xml",
                                                "/SEL=guid-pruefung,Auftrag: Prüfung. V1.0,13", "/LOC=1031"},
                                               {{"LUMENPORT_PROGRESS_AFTER_MS", "0"}, {"LC_ALL", "C.UTF-8"}}, status);
    EXPECT_EQ(status, 0) << terminal;
    // Shown at once (no delay asked for): the file's reading, then the export's round.
    EXPECT_EQ(terminal.rfind(kClear + "kvbrars: lese vertrieb.xml: 0,0 von 0,0 MB (0 %)", 0), 0u) << terminal;
    EXPECT_NE(terminal.find(kClear + "kvbrars: Runde 1, "), std::string::npos) << terminal;
    // Writing and checking are shown however soon they follow the last drawing.
    const std::size_t writing = terminal.find(kClear + "kvbrars: schreibe out.wpx");
    EXPECT_NE(writing, std::string::npos) << terminal;
    EXPECT_GT(terminal.find(kClear + "kvbrars: prüfe out.wpx"), writing) << terminal;
    // The line is cleared before the summary; everything after it is plain text.
    const std::size_t summary = terminal.find("Export beendet.");
    ASSERT_NE(summary, std::string::npos) << terminal;
    EXPECT_EQ(terminal.rfind(kClear, summary), summary - kClear.size()) << terminal;
    EXPECT_EQ(terminal.find("kvbrars: ", summary), std::string::npos) << terminal;
    // Nothing of it goes into the log.
    const std::string log = testenv::ReadFile(sb.dir.File("out.log"));
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.find("\033"), std::string::npos);
    EXPECT_EQ(log.find("vertrieb.xml:"), std::string::npos);

    // Standard error no terminal: no line, whatever the delay.
    const testenv::RunResult piped =
        testenv::RunProgram({"--batch", "--output", out, "--aml", fixture + "/vertrieb.xml",
                             "/SEL=guid-pruefung,Auftrag: Prüfung. V1.0,13", "/LOC=1031"},
                            {{"LUMENPORT_PROGRESS_AFTER_MS", "0"}, {"LC_ALL", "C.UTF-8"}});
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.err.find("\033"), std::string::npos) << piped.err;
    EXPECT_EQ(piped.err.rfind("Export beendet.", 0), 0u) << piped.err;
}

}  // namespace
