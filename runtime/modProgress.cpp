#include "runtime/modProgress.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "runtime/modGlobals.h"

namespace modProgress {

namespace {

using Clock = std::chrono::steady_clock;

struct State {
    bool terminal = ::isatty(STDERR_FILENO) == 1;
    bool running = false;
    bool shown = false;
    Clock::time_point started;
    Clock::time_point lastDrawn;
    int round = 0;
    std::size_t process = 0, processes = 0, constructs = 0;
};

State& S() { return CurrentExport().Part<State>(); }

// Redraw at most ten times a second, and only after the first second of the export.
void Draw(bool force = false) {
    State& s = S();
    if (!s.terminal || !s.running) return;
    const Clock::time_point now = Clock::now();
    if (now - s.started < std::chrono::seconds(1)) return;
    if (!force && s.shown && now - s.lastDrawn < std::chrono::milliseconds(100)) return;
    s.lastDrawn = now;
    s.shown = true;
    std::fprintf(stderr, "\r\033[Kkvbrars: round %d, process %zu of %zu, %zu constructs", s.round, s.process,
                 s.processes, s.constructs);
    std::fflush(stderr);
}

}  // namespace

void SetTerminal(bool terminal) { S().terminal = terminal; }

void ExportStarted() {
    State& s = S();
    s.running = true;
    s.shown = false;
    s.started = Clock::now();
    s.round = 0;
    s.process = s.processes = s.constructs = 0;
}

void RoundStarted(int round) {
    S().round = round;
    S().process = S().processes = 0;
    Draw();
}

void ProcessStarted(std::size_t n, std::size_t m) {
    S().process = n;
    S().processes = m;
    Draw();
}

void ConstructCompleted() {
    ++S().constructs;
    Draw();
}

std::size_t Constructs() { return S().constructs; }

void ExportFinished() {
    State& s = S();
    if (s.shown) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
    }
    s.running = false;
    s.shown = false;
}

}  // namespace modProgress
