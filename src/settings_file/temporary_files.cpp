#include "settings_file/temporary_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <random>
#include <regex>

#include "settings_file/sys_calls.h"

namespace TemporaryFiles {

namespace {

constexpr int NameAttempts = 100;
constexpr std::time_t StaleAfterSeconds = 7 * 24 * 60 * 60;

const std::regex& namePattern() {
    static const std::regex pattern(R"(\..+\.tulvane-([0-9a-f]{8})-([1-9][0-9]{0,9})-[a-z0-9]{6}\.tmp)");
    return pattern;
}

std::string randomPart() {
    static std::mt19937 gen{std::random_device{}()};
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 2);
    std::string part(6, ' ');
    for (char& c : part) c = alphabet[pick(gen)];
    return part;
}

bool processGone(long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

}  // namespace

const std::string& bootId() {
    static const std::string id = [] {
        std::ifstream in("/proc/sys/kernel/random/boot_id");
        std::string line;
        std::getline(in, line);
        std::string hex;
        for (char c : line) {
            if (hex.size() == 8) break;
            if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')) hex += c;
        }
        return hex.size() == 8 ? hex : std::string("00000000");
    }();
    return id;
}

std::string baseFor(const std::string& path) {
    std::string base = path.substr(path.find_last_of('/') + 1);
    constexpr std::size_t MaxKept = 100;
    if (base.size() > MaxKept) {
        std::size_t cut = MaxKept;
        while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80) --cut;
        base.resize(cut);
    }
    return base;
}

std::string nameFor(const std::string& base) {
    return "." + base + ".tulvane-" + bootId() + "-" + std::to_string(::getpid()) + "-" + randomPart() +
           ".tmp";
}

int createFor(const std::string& folder, const std::string& base, std::string& tmpPath) {
    for (int attempt = 0;; ++attempt) {
        tmpPath = folder + "/" + nameFor(base);
        const int fd = SysCalls::open(tmpPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) return fd;
        if (errno != EEXIST || attempt == NameAttempts) {
            tmpPath.clear();
            return -1;
        }
    }
}

bool isTemporaryName(const std::string& name) {
    return std::regex_match(name, namePattern());
}

int removeStale(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    const int dirFd = ::dirfd(dir);
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        std::smatch m;
        if (!std::regex_match(name, m, namePattern())) continue;
        struct stat st {};
        if (::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
        const bool ours = m[1].str() == bootId();
        const bool old = now - st.st_mtime > StaleAfterSeconds;
        if ((ours && processGone(std::strtol(m[2].str().c_str(), nullptr, 10))) || old) {
            if (::unlinkat(dirFd, name.c_str(), 0) == 0) ++removed;
        }
    }
    ::closedir(dir);
    return removed;
}

}  // namespace TemporaryFiles
