// fork, fork again so that the opener is nobody's child to wait for, and exec; a close-on-exec
// pipe tells the caller whether the exec happened.
#include "platform/linux/xdg_shell.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "base/utf.h"

namespace platform::linux_backend {
namespace {

HINSTANCE Result(std::intptr_t code) {
    return reinterpret_cast<HINSTANCE>(code);
}

}  // namespace

std::string ToUtf8(LPCWSTR text) {
    return Utf16ToUtf8(text ? text : u"");
}

HINSTANCE XdgShell::Execute(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, int) {
    if (verb && ToUtf8(verb) != "open")
        return Result(31);
    const std::string target = ToUtf8(file);
    if (target.empty())
        return Result(2);
    // Everything the child needs is made before fork: after it, only async-signal-safe calls.
    const char* argv[] = {program_.c_str(), target.c_str(), nullptr};
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return Result(2);
    const pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return Result(2);
    }
    if (child == 0) {
        setsid();
        if (fork() != 0)
            _exit(0);
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, STDIN_FILENO);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        execvp(argv[0], const_cast<char* const*>(argv));
        const int error = errno;
        [[maybe_unused]] const ssize_t n = write(report[1], &error, sizeof error);
        _exit(127);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    return Result(got > 0 ? 2 : 42);
}

}  // namespace platform::linux_backend
