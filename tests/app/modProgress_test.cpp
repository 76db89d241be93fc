#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "../support/TestEnv.h"
#include "runtime/modProgress.h"

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

TEST(Progress, ShownOnATerminalOnlyAfterTheFirstSecondAndClearedAtTheEnd) {
    std::string shown = CaptureStderr([] {
        modProgress::SetTerminal(true);
        modProgress::ExportStarted();
        modProgress::RoundStarted(1);
        modProgress::ConstructCompleted();  // within the first second: nothing yet
        std::this_thread::sleep_for(std::chrono::milliseconds(1050));
        modProgress::ProcessStarted(2, 5);
        modProgress::ExportFinished();
    });
    EXPECT_EQ(shown, "\r\033[Kkvbrars: round 1, process 2 of 5, 1 constructs\r\033[K");

    std::string quiet = CaptureStderr([] {
        modProgress::SetTerminal(false);
        modProgress::ExportStarted();
        std::this_thread::sleep_for(std::chrono::milliseconds(1050));
        modProgress::RoundStarted(2);
        modProgress::ConstructCompleted();
        modProgress::ExportFinished();
    });
    EXPECT_EQ(quiet, "");
    EXPECT_EQ(modProgress::Constructs(), 1u);
}

}  // namespace
