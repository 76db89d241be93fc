#include "runtime/modProgress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <streambuf>

#include "platform/CodePage.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"
#include "runtime/modUtilities.h"

namespace modProgress {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr const char* kClearLine = "\r\033[K";
// The line is redrawn at most ten times a second; the window is updated (and its events are
// handled) at most every 80 ms, so that it stays responsive without costing the export.
constexpr milliseconds kLineInterval{100};
constexpr milliseconds kWindowInterval{80};
// An export that starts this soon after its load ended follows it without a dialog between
// them: it goes on with the load's clock, so that the line does not vanish for a second.
constexpr milliseconds kContinuation{250};

/// Stands between standard error and its buffer while the line may be shown: whatever else
/// is written there clears the line first.
class ClearingBuffer : public std::streambuf {
public:
    bool lineShown = false;

    void Attach() {
        if (std::cerr.rdbuf() == this) return;
        inner_ = std::cerr.rdbuf(this);
    }
    void Detach() {
        if (std::cerr.rdbuf() == this) std::cerr.rdbuf(inner_);
        inner_ = nullptr;
    }
    void ClearLine() {
        if (!lineShown) return;
        lineShown = false;
        std::fputs(kClearLine, stderr);
        std::fflush(stderr);
    }

protected:
    int overflow(int c) override {
        ClearLine();
        if (c == traits_type::eof()) return traits_type::not_eof(c);
        return inner_ ? inner_->sputc(static_cast<char>(c)) : traits_type::eof();
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        ClearLine();
        return inner_ ? inner_->sputn(s, n) : 0;
    }
    int sync() override { return inner_ ? inner_->pubsync() : 0; }

private:
    std::streambuf* inner_ = nullptr;
};

// Process-wide, as standard error is: the stream may hold the buffer beyond one export.
ClearingBuffer& Clearing() {
    static ClearingBuffer buffer;
    return buffer;
}

// Process-wide: the desktop installs its window once per process, as it does its message boxes.
std::unique_ptr<ProgressWindow>& Window() {
    static std::unique_ptr<ProgressWindow> window;
    return window;
}

milliseconds DelayFromEnvironment(milliseconds fallback) {
    const char* value = std::getenv("LUMENPORT_PROGRESS_AFTER_MS");
    if (!value || !*value) return fallback;
    char* end = nullptr;
    const long ms = std::strtol(value, &end, 10);
    return (*end == '\0' && ms >= 0) ? milliseconds(ms) : fallback;
}

enum class Phase { Idle, Loading, Exporting, Writing, Checking };

struct State {
    bool terminal = ::isatty(STDERR_FILENO) == 1;
    milliseconds terminalDelay = DelayFromEnvironment(milliseconds(1000));
    milliseconds windowDelay = DelayFromEnvironment(milliseconds(500));
    Phase phase = Phase::Idle;
    bool windowShown = false;
    bool inWindow = false;  ///< the window handles its events: no progress call goes further
    Clock::time_point started, lastDrawn, idleSince;
    std::string fileName;
    std::uint64_t totalBytes = 0, bytesRead = 0;
    int round = 0;
    std::size_t process = 0, roundTotal = 0, constructs = 0;
};

State& S() { return CurrentExport().Part<State>(); }

// "31.2": a byte count in megabytes with one decimal, in the library's decimal separator.
std::string Megabytes(std::uint64_t bytes) {
    const std::uint64_t tenths = (bytes + 50'000) / 100'000;
    std::string separator = modUtilities::GetNLSString(60525);
    if (separator.empty()) separator = ".";
    return std::to_string(tenths / 10) + separator + std::to_string(tenths % 10);
}

std::string TextOf(const State& s) {
    using modUtilities::GetNLSString;
    switch (s.phase) {
        case Phase::Idle: return "";
        case Phase::Loading: {
            const std::string name = std::filesystem::path(s.fileName).filename().string();
            if (s.totalBytes == 0) return GetNLSString(60524, name, Megabytes(s.bytesRead));
            const std::uint64_t read = std::min(s.bytesRead, s.totalBytes);
            return GetNLSString(60520, name, Megabytes(read), Megabytes(s.totalBytes),
                                std::to_string(read * 100 / s.totalBytes));
        }
        case Phase::Exporting:
            if (s.process == 0) return GetNLSString(60522, std::to_string(s.round), std::to_string(s.constructs));
            if (s.process <= s.roundTotal)
                return GetNLSString(60521, std::to_string(s.round), std::to_string(s.process),
                                    std::to_string(s.roundTotal), std::to_string(s.constructs));
            return GetNLSString(60523, std::to_string(s.round), std::to_string(s.process),
                                std::to_string(s.constructs));
        case Phase::Writing: return GetNLSString(60527, std::filesystem::path(s.fileName).filename().string());
        case Phase::Checking: return GetNLSString(60528, std::filesystem::path(s.fileName).filename().string());
    }
    return "";
}

int PercentOf(const State& s) {
    if (s.phase == Phase::Loading && s.totalBytes > 0)
        return static_cast<int>(std::min(s.bytesRead, s.totalBytes) * 100 / s.totalBytes);
    if (s.phase == Phase::Exporting && s.process > 0 && s.process <= s.roundTotal)
        return static_cast<int>(s.process * 100 / s.roundTotal);
    return -1;
}

// The line cut to the terminal's width, so that clearing it clears all of it.
std::string FitToTerminal(std::string line) {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col < 2) return line;
    std::size_t columns = 0, at = 0;
    for (; at < line.size(); ++at) {
        if ((static_cast<unsigned char>(line[at]) & 0xC0) == 0x80) continue;  // within a character
        if (columns == static_cast<std::size_t>(size.ws_col) - 1) break;
        ++columns;
    }
    line.resize(at);
    return line;
}

void DrawLine(const State& s) {
    ClearingBuffer& clearing = Clearing();
    const std::string line = FitToTerminal(platform::ForTerminal("kvbrars: " + TextOf(s)));
    std::fputs(kClearLine, stderr);
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    clearing.lineShown = true;
    clearing.Attach();
}

// The user pressed Cancel: the question of a cancelled dialog; Yes ends the program.
void AskToCancel() {
    ExceptionHandler().Handle(platform::Error(kErrDialogCancelled, "The progress window was cancelled"));
}

// `step`: a step without counts begins, shown at once whatever the rate (it is drawn only once).
void Tick(State& s, bool step = false) {
    if (s.phase == Phase::Idle || s.inWindow) return;
    const Clock::time_point now = Clock::now();
    const Clock::duration running = now - s.started;
    if (ProgressWindow* window = Window().get()) {
        if (running < s.windowDelay) return;
        if (!step && s.windowShown && now - s.lastDrawn < kWindowInterval) return;
        s.lastDrawn = now;
        s.windowShown = true;
        s.inWindow = true;
        bool cancel = false;
        try {
            cancel = window->Update(modUtilities::GetNLSString(60526), TextOf(s), PercentOf(s));
        } catch (...) {
            s.inWindow = false;
            throw;
        }
        s.inWindow = false;
        if (cancel) AskToCancel();
        return;
    }
    if (!s.terminal || running < s.terminalDelay) return;
    if (!step && Clearing().lineShown && now - s.lastDrawn < kLineInterval) return;
    s.lastDrawn = now;
    DrawLine(s);
}

// A phase begins: a new clock, unless it follows a running phase or the work goes straight on
// from the phase before.
void Begin(State& s, Phase phase) {
    const Clock::time_point now = Clock::now();
    const bool continues =
        s.phase != Phase::Idle || (s.idleSince != Clock::time_point{} && now - s.idleSince < kContinuation);
    if (!continues) s.started = now;
    s.phase = phase;
}

void End(State& s) {
    if (s.phase == Phase::Idle) return;
    s.phase = Phase::Idle;
    s.idleSince = Clock::now();
    Clearing().ClearLine();
    Clearing().Detach();
    if (s.windowShown && Window()) Window()->Close();
    s.windowShown = false;
}

}  // namespace

void SetTerminal(bool terminal) { S().terminal = terminal; }

void SetDelays(milliseconds terminal, milliseconds window) {
    S().terminalDelay = terminal;
    S().windowDelay = window;
}

std::unique_ptr<ProgressWindow> SetProgressWindow(std::unique_ptr<ProgressWindow> window) {
    std::swap(Window(), window);
    return window;
}

void LoadStarted(const std::string& fileName, std::uint64_t totalBytes) {
    State& s = S();
    Begin(s, Phase::Loading);
    s.fileName = fileName;
    s.totalBytes = totalBytes;
    s.bytesRead = 0;
    Tick(s);
}

void BytesRead(std::uint64_t bytesRead) {
    State& s = S();
    s.bytesRead = bytesRead;
    Tick(s);
}

void LoadFinished() { End(S()); }

void ExportStarted() {
    State& s = S();
    Begin(s, Phase::Exporting);
    s.round = 0;
    s.process = s.roundTotal = s.constructs = 0;
}

void RoundStarted(int round) {
    State& s = S();
    s.round = round;
    s.process = s.roundTotal = 0;
    Tick(s);
}

void ProcessStarted(std::size_t n, std::size_t m) {
    State& s = S();
    // The round's total is the one its first process brings; it does not grow with the round.
    if (s.roundTotal == 0) s.roundTotal = m;
    s.process = n;
    Tick(s);
}

void ConstructCompleted() {
    State& s = S();
    ++s.constructs;
    Tick(s);
}

void WritingStarted(const std::string& fileName) {
    State& s = S();
    Begin(s, Phase::Writing);
    s.fileName = fileName;
    Tick(s, true);
}

void CheckStarted(const std::string& fileName) {
    State& s = S();
    Begin(s, Phase::Checking);
    s.fileName = fileName;
    Tick(s, true);
}

void CheckFinished() { End(S()); }

std::size_t Constructs() { return S().constructs; }

void ExportFinished() { End(S()); }

std::string Text() { return TextOf(S()); }

}  // namespace modProgress
