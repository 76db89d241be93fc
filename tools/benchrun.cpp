// benchrun: runs one command and reports its wall-clock time and peak memory.
//
//   benchrun RESULT_FILE COMMAND [ARGS...]
//
// The command inherits standard input, output and error. When it ends, one line
// "wall_s=SECONDS maxrss_kb=KILOBYTES status=EXIT" is written to RESULT_FILE; the peak memory
// is the child's resident set high-water mark as the kernel reports it at its end. benchrun
// exits with the command's exit status (128 + signal number when a signal ended it).
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: benchrun RESULT_FILE COMMAND [ARGS...]\n");
        return 64;
    }
    const char* resultPath = argv[1];
    auto start = std::chrono::steady_clock::now();
    pid_t pid = ::fork();
    if (pid < 0) {
        std::fprintf(stderr, "benchrun: fork failed: %s\n", std::strerror(errno));
        return 71;
    }
    if (pid == 0) {
        ::execvp(argv[2], argv + 2);
        std::fprintf(stderr, "benchrun: cannot run %s: %s\n", argv[2], std::strerror(errno));
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    while (::wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::fprintf(stderr, "benchrun: wait failed: %s\n", std::strerror(errno));
            return 71;
        }
    }
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::FILE* out = std::fopen(resultPath, "w");
    if (!out) {
        std::fprintf(stderr, "benchrun: cannot write %s: %s\n", resultPath, std::strerror(errno));
        return 73;
    }
    std::fprintf(out, "wall_s=%.3f maxrss_kb=%ld status=%d\n", wall, usage.ru_maxrss, exitStatus);
    std::fclose(out);
    return exitStatus;
}
