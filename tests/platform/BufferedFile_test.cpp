// The buffered files the definition file and the log are written through: byte for byte what
// was appended, whole lines in every block, failures returned, and the lines written so far in
// the file however the process ends (signals and crashes run in a child process).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../support/TestEnv.h"
#include "platform/BufferedFile.h"

namespace {

using platform::BufferedFile;
constexpr std::size_t kCap = BufferedFile::kCapacity;

// The wait status of a child process that runs `body` and then ends normally with status 0.
int InChild(const std::function<void()>& body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

// Line `n` of a numbered run of lines: recognisable, and of varying length.
std::string NumberedLine(int n) { return "line " + std::to_string(n) + std::string(n % 37, 'x'); }

TEST(BufferedFile, LinesOfEverySizeArriveByteForByteAndBlocksHoldWholeLines) {
    struct Case {
        const char* what;
        std::vector<std::size_t> sizes;  // lengths of the lines before their CR LF
    };
    const std::vector<Case> cases = {
        {"small lines across many buffers", std::vector<std::size_t>(20000, 13)},
        {"a line that fills the buffer exactly", {10, kCap - 2, 5}},
        {"a line one byte over the buffer", {10, kCap - 1, 5}},
        {"a line larger than the buffer between small ones", {3, 2 * kCap + 17, 4, 0}},
        {"lines that split at the buffer's end", {kCap / 2, kCap / 2, kCap / 2, 1}},
        {"empty lines", {0, 0, 0}},
    };
    for (const Case& c : cases) {
        testenv::TempDir dir;
        const std::string path = dir.File("out.log");
        BufferedFile file;
        ASSERT_EQ(file.Open(path), 0) << c.what;
        std::string expected;
        std::vector<std::size_t> lineEnds;
        char fill = 'a';
        std::uintmax_t onDiskSize = 0;
        for (std::size_t size : c.sizes) {
            const std::string text(size, fill);
            fill = fill == 'z' ? 'a' : static_cast<char>(fill + 1);
            ASSERT_EQ(file.Append(text, "\r\n"), 0) << c.what;
            expected += text + "\r\n";
            lineEnds.push_back(expected.size());
            EXPECT_LE(file.Pending(), kCap) << c.what;
            // Whatever is in the file already ends where a line ends and is what was appended.
            const std::uintmax_t fileSize = std::filesystem::file_size(path);
            if (fileSize == onDiskSize) continue;
            onDiskSize = fileSize;
            const std::string onDisk = testenv::ReadFile(path);
            EXPECT_EQ(expected.compare(0, onDisk.size(), onDisk), 0) << c.what;
            EXPECT_TRUE(std::binary_search(lineEnds.begin(), lineEnds.end(), onDisk.size()))
                << c.what << ": a block ends inside a line at " << onDisk.size();
        }
        ASSERT_EQ(file.Flush(), 0) << c.what;
        EXPECT_EQ(file.Pending(), 0u);
        EXPECT_TRUE(testenv::ReadFile(path) == expected) << c.what;
    }
}

TEST(BufferedFile, WritesAtTheEndAndSurvivesItsFileBeingRemoved) {
    testenv::TempDir dir;
    const std::string path = dir.File("out.wpx");
    testenv::WriteFile(path, "kept\r\n");
    {
        BufferedFile file;
        ASSERT_EQ(file.Open(path), 0);
        file.Append("one", "\r\n");
        ASSERT_EQ(file.Close(), 0);
        EXPECT_FALSE(file.IsOpen());
    }
    EXPECT_EQ(testenv::ReadFile(path), "kept\r\none\r\n");
    {
        // Removed while lines are pending: they go with the removed file, without an error.
        BufferedFile file;
        ASSERT_EQ(file.Open(path), 0);
        file.Append("two", "\r\n");
        ASSERT_EQ(::unlink(path.c_str()), 0);
        EXPECT_EQ(file.Flush(), 0);
    }
    // The destructor writes what is pending.
    {
        BufferedFile file;
        ASSERT_EQ(file.Open(path), 0);
        file.Append("three", "\r\n");
    }
    EXPECT_EQ(testenv::ReadFile(path), "three\r\n");
    BufferedFile missing;
    EXPECT_EQ(missing.Open(dir.File("no/such/folder/x.log")), ENOENT);
    EXPECT_EQ(missing.Append("x", "\r\n"), EBADF);
}

TEST(BufferedFile, AFailedWriteIsReturnedOnceAndItsBytesAreDropped) {
    BufferedFile full;
    ASSERT_EQ(full.Open("/dev/full"), 0);
    EXPECT_EQ(full.Append("fits", "\r\n"), 0);  // only buffered
    EXPECT_EQ(full.Flush(), ENOSPC);
    EXPECT_EQ(full.Pending(), 0u);
    EXPECT_EQ(full.Flush(), 0);  // nothing is written twice
    // Full buffer: the line that does not fit gets the failure.
    int err = 0;
    for (int i = 0; i < 10000 && err == 0; ++i) err = full.Append(NumberedLine(i), "\r\n");
    EXPECT_EQ(err, ENOSPC);
    // A line larger than the buffer is written directly and fails directly.
    EXPECT_EQ(full.Append(std::string(kCap + 1, 'x'), "\r\n"), ENOSPC);

    // Written out for someone else (a message box): the failure waits for the owner, once.
    full.Append("later", "\r\n");
    EXPECT_EQ(BufferedFile::FlushAll(), ENOSPC);
    EXPECT_EQ(full.TakeDeferredError(), ENOSPC);
    EXPECT_EQ(full.TakeDeferredError(), 0);
    EXPECT_EQ(full.Close(), 0);
}

// A child that appends numbered lines and ends by `how` after line 1999: every line is in the
// file, and the child ends as the signal ends a program.
TEST(BufferedFile, EveryLineIsInTheFileWhenASignalOrACrashEndsTheProgram) {
    struct Case {
        const char* what;
        int signal;
        std::function<void()> end;
    };
    const std::vector<Case> cases = {
        {"SIGTERM", SIGTERM, [] { ::raise(SIGTERM); }},
        {"SIGINT", SIGINT, [] { ::raise(SIGINT); }},
        {"SIGHUP", SIGHUP, [] { ::kill(::getpid(), SIGHUP); }},
        {"SIGQUIT", SIGQUIT, [] { ::raise(SIGQUIT); }},
        {"a closed pipe", SIGPIPE,
         [] {
             int ends[2];
             if (::pipe(ends) != 0) ::_exit(92);
             ::close(ends[0]);
             (void)!::write(ends[1], "x", 1);
         }},
        {"a null pointer written", SIGSEGV,
         [] {
             volatile int* volatile nowhere = nullptr;
             *nowhere = 1;
         }},
        {"a division by zero", SIGFPE,
         [] {
             volatile int zero = 0;
             volatile int seven = 7;
             volatile int quotient = seven / zero;
             (void)quotient;
         }},
        {"abort", SIGABRT, [] { std::abort(); }},
    };
    for (const Case& c : cases) {
#ifdef LP_SANITIZED
        // The sanitizers report real faults themselves and end the program their own way.
        if (c.signal == SIGSEGV || c.signal == SIGFPE) continue;
#endif
        testenv::TempDir dir;
        const std::string path = dir.File("out.log");
        std::string expected;
        for (int n = 0; n < 2000; ++n) expected += NumberedLine(n) + "\r\n";
        const int status = InChild([&] {
            const rlimit noCore{0, 0};  // the crashes leave no core file behind
            ::setrlimit(RLIMIT_CORE, &noCore);
            platform::FlushBufferedFilesOnSignals();
            BufferedFile file;
            if (file.Open(path) != 0) ::_exit(90);
            for (int n = 0; n < 2000; ++n) file.Append(NumberedLine(n), "\r\n");
            c.end();
            ::_exit(91);
        });
        ASSERT_TRUE(WIFSIGNALED(status)) << c.what << ": status " << status;
        EXPECT_EQ(WTERMSIG(status), c.signal) << c.what;
        EXPECT_TRUE(testenv::ReadFile(path) == expected) << c.what << ": lines lost";
    }
}

TEST(BufferedFile, ASignalSentWhileLinesAreWrittenLeavesEveryLineBeforeIt) {
    testenv::TempDir dir;
    const std::string path = dir.File("out.log");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        platform::FlushBufferedFilesOnSignals();
        BufferedFile file;
        if (file.Open(path) != 0) ::_exit(90);
        for (int n = 0;; ++n) {
            file.Append(NumberedLine(n), "\r\n");
            if (n == 5000) (void)!::write(ready[1], "r", 1);
        }
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    // Lines 0 to 5000 at least, in order, each whole.
    const std::string onDisk = testenv::ReadFile(path);
    std::size_t at = 0;
    int n = 0;
    for (;; ++n) {
        const std::string line = NumberedLine(n) + "\r\n";
        if (onDisk.compare(at, line.size(), line) != 0) break;
        at += line.size();
    }
    EXPECT_EQ(at, onDisk.size()) << "the file does not end with line " << n - 1;
    EXPECT_GT(n, 5000);
}

TEST(BufferedFile, AForkedChildEndedByASignalWritesNoneOfItsParentsLines) {
    testenv::TempDir dir;
    const std::string path = dir.File("out.log");
    BufferedFile file;
    ASSERT_EQ(file.Open(path), 0);
    file.Append("the parent's line", "\r\n");
    const int status = InChild([] {
        platform::FlushBufferedFilesOnSignals();
        ::raise(SIGTERM);
    });
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(testenv::ReadFile(path), "");
    ASSERT_EQ(file.Flush(), 0);
    EXPECT_EQ(testenv::ReadFile(path), "the parent's line\r\n");
}

TEST(BufferedFile, ASignalTheProgramWasToldToIgnoreStaysIgnored) {
    testenv::TempDir dir;
    const std::string path = dir.File("out.log");
    const int status = InChild([&] {
        ::signal(SIGHUP, SIG_IGN);  // as nohup starts a program
        platform::FlushBufferedFilesOnSignals();
        BufferedFile file;
        if (file.Open(path) != 0) ::_exit(90);
        file.Append("before", "\r\n");
        ::raise(SIGHUP);
        file.Append("after", "\r\n");
    });
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(testenv::ReadFile(path), "before\r\nafter\r\n");
}

}  // namespace
