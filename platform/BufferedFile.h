#pragma once
#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

/// A file the program appends lines to through a buffer of its own: the lines are written in
/// blocks of up to kCapacity bytes instead of one write per line. Every open BufferedFile is
/// known to the signal handlers FlushBufferedFilesOnSignals installs, so that the lines appended
/// so far reach the file however the program ends, short of SIGKILL or a power loss.
///
/// Failures are returned as an errno value (0 for success); the bytes that could not be written
/// are dropped, as an unbuffered write drops its line, and the owner reports the failure.
class BufferedFile {
public:
    static constexpr std::size_t kCapacity = 64 * 1024;

    BufferedFile() = default;
    /// Writes what is pending and closes the file. A failure can no longer be reported here:
    /// owners call Close (or Flush) first.
    ~BufferedFile();
    BufferedFile(const BufferedFile&) = delete;
    BufferedFile& operator=(const BufferedFile&) = delete;

    /// Open the file for appending, created when missing (every write lands at its end, even
    /// when someone else emptied it meanwhile).
    int Open(const std::string& fileName);
    bool IsOpen() const { return fd_ >= 0; }
    /// Append `text` and then `end` as one line. The buffer is written out first when the line
    /// does not fit; a line larger than the whole buffer is written directly.
    int Append(std::string_view text, std::string_view end);
    /// Write what is pending.
    int Flush();
    /// Write what is pending and close the file; it is closed even when the write fails.
    int Close();
    /// The bytes appended but not yet written.
    std::size_t Pending() const { return used_.load() - written_.load(); }
    /// The failure of a write made on the file's behalf by FlushBufferedFiles, once; 0 when
    /// there was none.
    int TakeDeferredError();

    /// Write the pending bytes of every open BufferedFile with plain write(2) calls: no memory
    /// allocation, no locks, no streams, so that a signal handler may call it.
    static void FlushAllFromSignalHandler() noexcept;
    /// Write the pending bytes of every open BufferedFile (before the program waits for the
    /// user, who may look at the files meanwhile). A failure is kept for the file's owner
    /// (TakeDeferredError). Returns the first failure, or 0.
    static int FlushAll();

private:
    int WriteAll(const char* data, std::size_t size) const;
    int FlushLocked();
    void Register();
    void Unregister();

    int fd_ = -1;
    char* data_ = nullptr;  ///< kCapacity bytes while open
    /// The bytes [written_, used_) of data_ are pending. Atomic so that a signal handler running
    /// between two statements of the owner sees a whole line or none of it.
    std::atomic<std::size_t> written_{0};
    std::atomic<std::size_t> used_{0};
    int deferredError_ = 0;
    int slot_ = -1;  ///< the place in the table of open files the signal handlers walk
    int owner_ = 0;  ///< the process that opened it: a child made by fork writes none of its lines
};

/// Install, once per process, handlers for the signals that end the program: SIGINT, SIGTERM,
/// SIGHUP, SIGQUIT, SIGPIPE, SIGXCPU and SIGXFSZ, and the crashes SIGSEGV, SIGBUS, SIGFPE, SIGILL,
/// SIGABRT, SIGTRAP and SIGSYS. Each writes the pending lines of every open BufferedFile, then
/// puts back the action the signal had before and raises it again, so that the program ends as
/// it would have without the handler. A signal ignored at start-up stays ignored.
void FlushBufferedFilesOnSignals();

}  // namespace platform
