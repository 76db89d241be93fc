#pragma once
#include <cstddef>

/// One self-updating progress line on a terminal for long exports: round, process n of m,
/// constructs so far. It appears only when standard error is a terminal and the export has run
/// for more than a second; it never goes into the log.
namespace modProgress {

/// The export begins (the clock starts).
void ExportStarted();
/// A round of construct creation begins.
void RoundStarted(int round);
/// The set-up of process n of m of the round begins.
void ProcessStarted(std::size_t n, std::size_t m);
/// One more construct is complete.
void ConstructCompleted();
/// The export is over: the line is cleared.
void ExportFinished();
/// Constructs completed since ExportStarted.
std::size_t Constructs();

/// Whether the line may be shown (standard error a terminal); tests switch it on and off.
void SetTerminal(bool terminal);

}  // namespace modProgress
