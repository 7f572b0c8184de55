#pragma once

#include <sched.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

// A small tmpfs of a test's own, for failures an ordinary folder cannot give: a full disk, a read-only file
// system (root ignores file modes, so a read-only mount is the honest way to get "access denied").
// Mounting needs privileges; when they are missing, ok() is false and why() says so, and the test must skip.
// Where the process can have a mount namespace of its own, the mount lives there and vanishes with the
// process.
class ScratchMount {
public:
    explicit ScratchMount(std::size_t bytes = 64 * 1024) {
        privateNamespace();
        char tmpl[] = "/tmp/tulvane-mount-XXXXXX";
        if (!::mkdtemp(tmpl)) {
            why_ = std::string("mkdtemp: ") + std::strerror(errno);
            return;
        }
        path_ = tmpl;
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
        if (::mount("tulvane-test", path_.c_str(), "tmpfs", 0, options.c_str()) != 0) {
            why_ = "cannot mount a tmpfs (needs root): " + std::string(std::strerror(errno));
            return;
        }
        mounted_ = true;
    }
    ~ScratchMount() {
        if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
        if (!path_.empty()) ::rmdir(path_.c_str());
    }
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool ok() const { return mounted_; }
    const std::string& why() const { return why_; }
    const std::string& path() const { return path_; }

    // Remounts read-only; fails while a file on it is open for writing.
    bool makeReadOnly() {
        if (::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0) return true;
        why_ = "cannot remount read-only: " + std::string(std::strerror(errno));
        return false;
    }

private:
    static void privateNamespace() {
        static bool tried = false;
        if (tried) return;
        tried = true;
        // Fails in a process with threads (or without privileges); the mount is then made where we are.
        if (::unshare(CLONE_NEWNS) == 0) ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
    }

    std::string path_;
    std::string why_;
    bool mounted_ = false;
};
