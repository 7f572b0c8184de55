#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

// What a child returns when it cannot give up root (the test is then not running as root and skips).
constexpr int CannotDropPrivileges = 77;

// Runs body in a forked child and returns the status it exits with, or -1 when it did not exit normally.
// The child ends with _exit, so nothing of the parent (test state, buffers) runs twice.
inline int exitStatusOfChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) ::_exit(body());
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// Root ignores file modes and holds every capability; an ordinary user's view needs a child that drops to
// nobody (65534). False when that is not possible.
inline bool dropToNobody() {
    return ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
}
