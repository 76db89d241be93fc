#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

/// Feedback during long work: while the ARIS file loads (bytes read of its size), while the
/// export rounds run (round, process n of m, constructs so far), and while the definition file
/// is written and checked. On a terminal one
/// self-updating line on standard error, from the first second on; on the desktop a progress
/// window with a Cancel button, from the first half second on. Nothing of it goes into the log.
///
/// The total of a round (m of "process n of m") is the one known when the round's processes
/// start; it never grows while the round runs. Any other text written to standard error while
/// the line is shown clears the line first, so that lines never mix.
namespace modProgress {

/// Reading of an ARIS file begins (the clock starts); `totalBytes` is its size, 0 when unknown.
void LoadStarted(const std::string& fileName, std::uint64_t totalBytes);
/// `bytesRead` bytes of the file are read so far.
void BytesRead(std::uint64_t bytesRead);
/// The file is loaded (or its loading ended early): the line is cleared, the window closed.
void LoadFinished();

/// The export begins. Right after a load it goes on with the load's clock, else it starts one.
void ExportStarted();
/// A round of construct creation begins.
void RoundStarted(int round);
/// The set-up of process n of m of the round begins.
void ProcessStarted(std::size_t n, std::size_t m);
/// One more construct is complete.
void ConstructCompleted();
/// The export is over: the line is cleared, the window closed.
void ExportFinished();
/// The constructs are being written to the definition file `fileName`; the export goes on.
void WritingStarted(const std::string& fileName);
/// Constructs completed since ExportStarted.
std::size_t Constructs();

/// The definition file `fileName` that was just written is being checked. Like the writing,
/// a step without counts: shown once at its start when the work has run long enough.
void CheckStarted(const std::string& fileName);
/// The check is over: the line is cleared, the window closed.
void CheckFinished();

/// The text the line and the window show now ("" when no work runs); in the language of the
/// loaded library.
std::string Text();

/// A window that shows the progress on the desktop.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    /// Show the window (when it is not shown yet) with `text` and how far the current step has
    /// come in percent (negative when that is not known), then handle the window's pending
    /// events. True when the user asked to cancel since the last call.
    virtual bool Update(const std::string& title, const std::string& text, int percent) = 0;
    /// Close the window; nothing when it is not shown.
    virtual void Close() = 0;
};

/// The progress window of the desktop (none: the terminal line only); returns the previous
/// one. When a window is set the terminal line is not drawn.
std::unique_ptr<ProgressWindow> SetProgressWindow(std::unique_ptr<ProgressWindow> window);

/// Whether the line may be shown (standard error a terminal); tests switch it on and off.
void SetTerminal(bool terminal);
/// How long work runs before the line (default one second) and the window (half a second)
/// appear; for tests and demonstrations.
void SetDelays(std::chrono::milliseconds terminal, std::chrono::milliseconds window);

}  // namespace modProgress
