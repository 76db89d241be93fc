#include "platform/BufferedFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

static_assert(std::atomic<std::size_t>::is_always_lock_free, "a signal handler reads the buffer's counters");
static_assert(std::atomic<BufferedFile*>::is_always_lock_free, "a signal handler walks the table of open files");

// Process-wide: the open files the signal handlers write out. A fixed table, so that a handler
// walks it without allocating or locking; a file that finds no place is written unbuffered.
constexpr int kSlots = 16;
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): process-wide, as said above
std::atomic<BufferedFile*> g_open[kSlots];

// The signals a person or the system sends to end the program (a closed pipe on standard output
// and the limits of processor time and file size among them). They are held back while the
// program itself writes a buffer out or changes the table, so that a handler never writes the
// same bytes twice nor a file half opened.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGXCPU, SIGXFSZ};
// The crashes: raised by the failing instruction (or by abort).
constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS};

// Holds the ending signals back for its lifetime.
class EndingSignalsHeld {
public:
    EndingSignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (const int s : kEndingSignals) sigaddset(&held, s);
        pthread_sigmask(SIG_BLOCK, &held, &previous_);
    }
    ~EndingSignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

private:
    sigset_t previous_;
};

// Write all bytes with plain write(2): safe in a signal handler. 0 or errno.
int WriteFully(int fd, const char* data, std::size_t size) noexcept {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace

BufferedFile::~BufferedFile() { Close(); }

int BufferedFile::Open(const std::string& fileName) {
    Close();
    // The modes of fopen(..., "ab"): created when missing, every write at the end.
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    if (!data_) data_ = new char[kCapacity];
    written_ = 0;
    used_ = 0;
    deferredError_ = 0;
    fd_ = fd;
    owner_ = static_cast<int>(::getpid());
    Register();
    return 0;
}

void BufferedFile::Register() {
    const EndingSignalsHeld held;
    for (int i = 0; i < kSlots; ++i) {
        BufferedFile* expected = nullptr;
        if (g_open[i].compare_exchange_strong(expected, this)) {
            slot_ = i;
            return;
        }
    }
    slot_ = -1;
}

void BufferedFile::Unregister() {
    if (slot_ < 0) return;
    const EndingSignalsHeld held;
    g_open[slot_].store(nullptr);
    slot_ = -1;
}

int BufferedFile::WriteAll(const char* data, std::size_t size) const { return WriteFully(fd_, data, size); }

int BufferedFile::Append(std::string_view text, std::string_view end) {
    if (fd_ < 0) return EBADF;
    const std::size_t size = text.size() + end.size();
    if (slot_ >= 0 && size <= kCapacity) {
        if (used_.load(std::memory_order_relaxed) + size > kCapacity) {
            if (const int err = Flush()) return err;
        }
        // The line is copied first and counted after: a signal handler sees it whole or not at all.
        const std::size_t at = used_.load(std::memory_order_relaxed);
        std::memcpy(data_ + at, text.data(), text.size());
        std::memcpy(data_ + at + text.size(), end.data(), end.size());
        std::atomic_signal_fence(std::memory_order_release);
        used_.store(at + size, std::memory_order_relaxed);
        return 0;
    }
    // Larger than the buffer (or no place in the table): what is pending first, then the line
    // directly, in one write where the system allows.
    if (const int err = Flush()) return err;
    iovec parts[2] = {{const_cast<char*>(text.data()), text.size()}, {const_cast<char*>(end.data()), end.size()}};
    iovec* part = parts;
    int count = 2;
    while (count > 0) {
        const ssize_t n = ::writev(fd_, part, count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        // A short write: go on with what is left.
        auto done = static_cast<std::size_t>(n);
        while (count > 0 && done >= part->iov_len) {
            done -= part->iov_len;
            ++part;
            --count;
        }
        if (count > 0) {
            part->iov_base = static_cast<char*>(part->iov_base) + done;
            part->iov_len -= done;
        }
    }
    return 0;
}

int BufferedFile::Flush() {
    if (fd_ < 0 || Pending() == 0) return 0;
    const EndingSignalsHeld held;
    return FlushLocked();
}

int BufferedFile::FlushLocked() {
    const std::size_t from = written_.load();
    const std::size_t to = used_.load();
    const int err = WriteAll(data_ + from, to - from);
    // Written or dropped: a failed block is not written again, as a failed line was not.
    written_.store(0);
    used_.store(0);
    return err;
}

int BufferedFile::Close() {
    if (fd_ < 0) return 0;
    int err = 0;
    {
        const EndingSignalsHeld held;
        err = FlushLocked();
        Unregister();
        ::close(fd_);
        fd_ = -1;
    }
    delete[] data_;
    data_ = nullptr;
    return err;
}

int BufferedFile::TakeDeferredError() {
    const int err = deferredError_;
    deferredError_ = 0;
    return err;
}

int BufferedFile::FlushAll() {
    int first = 0;
    for (const std::atomic<BufferedFile*>& slot : g_open) {
        BufferedFile* file = slot.load();
        if (!file) continue;
        const int err = file->Flush();
        if (err && !file->deferredError_) file->deferredError_ = err;
        if (err && !first) first = err;
    }
    return first;
}

void BufferedFile::FlushAllFromSignalHandler() noexcept {
    const int self = static_cast<int>(::getpid());
    for (const std::atomic<BufferedFile*>& slot : g_open) {
        BufferedFile* file = slot.load();
        if (!file || file->fd_ < 0 || file->owner_ != self) continue;
        const std::size_t from = file->written_.load();
        const std::size_t to = file->used_.load();
        if (to > from && WriteFully(file->fd_, file->data_ + from, to - from) == 0) file->written_.store(to);
    }
}

namespace {

// Process-wide: the action each handled signal had before, put back before it is raised again.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): process-wide, as said above
struct sigaction g_previous[NSIG];
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): process-wide, as said above
std::atomic<bool> g_flushedOnSignal{false};
// The handlers run on a stack of their own, so that a crash from a stack overflow still writes
// the files out.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): process-wide, as said above
alignas(16) char g_signalStack[64 * 1024];

extern "C" void WriteOutAndEnd(int signal, siginfo_t* info, void* /*context*/) {
    const int savedErrno = errno;
    // Once: a second signal while the files are written out adds nothing.
    if (!g_flushedOnSignal.exchange(true)) BufferedFile::FlushAllFromSignalHandler();
    sigaction(signal, &g_previous[signal], nullptr);
    // A fault the failing instruction raised comes again when the handler returns, now with the
    // action it had before (and its own address); any other signal is raised again here.
    const bool fault =
        info && info->si_code > 0 && (signal == SIGSEGV || signal == SIGBUS || signal == SIGFPE || signal == SIGILL);
    if (!fault) raise(signal);
    errno = savedErrno;
}

}  // namespace

void FlushBufferedFilesOnSignals() {
    static bool installed = false;
    if (installed) return;
    installed = true;

    stack_t current{};
    if (sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE)) {
        stack_t own{};
        own.ss_sp = g_signalStack;
        own.ss_size = sizeof g_signalStack;
        sigaltstack(&own, nullptr);
    }

    struct sigaction action {};
    action.sa_sigaction = WriteOutAndEnd;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    // While one handler writes the files out, the other signals wait.
    sigemptyset(&action.sa_mask);
    for (const int s : kEndingSignals) sigaddset(&action.sa_mask, s);
    for (const int s : kCrashSignals) sigaddset(&action.sa_mask, s);

    auto install = [&](int signal) {
        struct sigaction previous {};
        if (sigaction(signal, nullptr, &previous) != 0) return;
        // A signal the program was started to ignore (nohup, a background job) stays ignored.
        if (!(previous.sa_flags & SA_SIGINFO) && previous.sa_handler == SIG_IGN) return;
        g_previous[signal] = previous;
        sigaction(signal, &action, nullptr);
    };
    for (const int s : kEndingSignals) install(s);
    for (const int s : kCrashSignals) install(s);
}

}  // namespace platform
