#include "settings_file/temporary_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_files.h"

namespace {

namespace fs = std::filesystem;

constexpr std::time_t Day = 24 * 60 * 60;

// A boot id that is not this machine's present one.
std::string otherBootId() {
    std::string id = TemporaryFiles::bootId();
    id[0] = id[0] == 'a' ? 'b' : 'a';
    return id;
}

std::string nameOf(const std::string& boot, long pid, const std::string& base = "s.tv0") {
    return "." + base + ".tulvane-" + boot + "-" + std::to_string(pid) + "-k3x9q0.tmp";
}

// The process id of a child that has ended and been reaped: no process has it, at least for a while.
pid_t goneProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(TemporaryFileNames, AreFreshEachTimeAndCarryBootAndProcess) {
    const std::string a = TemporaryFiles::nameFor("s.tv0");
    const std::string b = TemporaryFiles::nameFor("s.tv0");
    EXPECT_NE(a, b);
    EXPECT_EQ(
        a.rfind(".s.tv0.tulvane-" + TemporaryFiles::bootId() + "-" + std::to_string(::getpid()) + "-", 0), 0u)
        << a;
    EXPECT_EQ(TemporaryFiles::bootId().size(), 8u);
}

struct NameCase {
    const char* what;
    std::string name;
    bool accepted;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.what;
}

class TemporaryFileNameShape : public ::testing::TestWithParam<NameCase> {};

// Only the exact shape is ever removed: a user's file that merely looks similar stays.
TEST_P(TemporaryFileNameShape, IsRecognisedExactly) {
    EXPECT_EQ(TemporaryFiles::isTemporaryName(GetParam().name), GetParam().accepted) << GetParam().name;
}

const std::string Boot = "0123abcd";

INSTANTIATE_TEST_SUITE_P(
    NearMisses, TemporaryFileNameShape,
    ::testing::Values(
        NameCase{"given", TemporaryFiles::nameFor("s.tv0"), true},
        NameCase{"given for a name with spaces and dots", TemporaryFiles::nameFor("my orbit.v2.tv0"), true},
        NameCase{"given for a name in UTF-8", TemporaryFiles::nameFor("\xc3\xb6rbit.tv0"), true},
        NameCase{"written out", nameOf(Boot, 4242), true},
        NameCase{"ten-digit process id", nameOf(Boot, 4294967295L), true},
        NameCase{"not hidden", nameOf(Boot, 4242).substr(1), false},
        NameCase{"no file name", ".tulvane-" + Boot + "-4242-k3x9q0.tmp", false},
        NameCase{"boot id in capitals", nameOf("0123ABCD", 4242), false},
        NameCase{"boot id too short", nameOf("0123abc", 4242), false},
        NameCase{"boot id too long", nameOf("0123abcde", 4242), false},
        NameCase{"process id 0", nameOf(Boot, 0), false},
        NameCase{"process id with a leading 0", ".s.tv0.tulvane-" + Boot + "-042-k3x9q0.tmp", false},
        NameCase{"process id of eleven digits", nameOf(Boot, 12345678901L), false},
        NameCase{"random part too short", ".s.tv0.tulvane-" + Boot + "-4242-k3x9q.tmp", false},
        NameCase{"random part too long", ".s.tv0.tulvane-" + Boot + "-4242-k3x9q0a.tmp", false},
        NameCase{"random part in capitals", ".s.tv0.tulvane-" + Boot + "-4242-K3X9Q0.tmp", false},
        NameCase{"another ending", nameOf(Boot, 4242) + "~", false},
        NameCase{"another program", ".s.tv0.otherprog-" + Boot + "-4242-k3x9q0.tmp", false},
        NameCase{"the older shape without boot and process", ".s.tv0.k3x9q0ab.tmp", false},
        NameCase{"the settings file itself", "s.tv0", false}),
    [](const auto& p) {
        std::string n = p.param.what;
        for (char& c : n)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return n;
    });

class RemoveStale : public ::testing::Test {
protected:
    TempDir dir;

    std::string make(const std::string& name, std::time_t age = 0) {
        const std::string path = dir.file(name);
        writeBytes(path, Bytes(10, 0x5A));
        if (age > 0) {
            const timespec times[2] = {{std::time(nullptr) - age, 0}, {std::time(nullptr) - age, 0}};
            EXPECT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        }
        return name;
    }
};

// A writer of this boot that is gone left its file for good; a live one may still rename it into place. Of
// another boot (another host on a shared folder, or before a restart) only the age tells.
TEST_F(RemoveStale, RemovesWhatGoneOrOldWritersLeftAndNothingElse) {
    const std::string& boot = TemporaryFiles::bootId();
    const std::vector<std::string> gone = {
        make(nameOf(boot, goneProcess())),
        make(nameOf(otherBootId(), goneProcess(), "old.tv0"), 8 * Day),
        make(nameOf(boot, ::getpid(), "live but old.tv0"), 8 * Day),
    };
    std::vector<std::string> kept = {
        make(nameOf(boot, ::getpid())),
        make(nameOf(otherBootId(), goneProcess(), "recent.tv0"), 6 * Day),
        make(nameOf(otherBootId(), ::getpid(), "elsewhere.tv0")),
        make("s.tv0", 30 * Day),
        make(".s.tv0.k3x9q0ab.tmp", 30 * Day),
        make(nameOf(boot, goneProcess()) + ".bak", 30 * Day),
    };
    // Only regular files: a folder or a link of that name is somebody's doing.
    const std::string folderName = nameOf(boot, goneProcess(), "folder.tv0");
    fs::create_directory(dir.file(folderName));
    const std::string linkName = nameOf(boot, goneProcess(), "link.tv0");
    fs::create_symlink("s.tv0", dir.file(linkName));
    kept.push_back(folderName);
    kept.push_back(linkName);

    EXPECT_EQ(TemporaryFiles::removeStale(dir.path()), static_cast<int>(gone.size()));
    for (const auto& name : gone) EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file(name)))) << name;
    for (const auto& name : kept) EXPECT_TRUE(fs::exists(fs::symlink_status(dir.file(name)))) << name;
}

TEST_F(RemoveStale, AFolderThatIsNotThereHasNothingToRemove) {
    EXPECT_EQ(TemporaryFiles::removeStale(dir.file("missing")), 0);
}

TEST_F(RemoveStale, CreateForGivesAFileThatALiveWriterKeeps) {
    std::string tmpPath;
    const int fd = TemporaryFiles::createFor(dir.path(), "s.tv0", tmpPath);
    ASSERT_GE(fd, 0);
    struct stat st {};
    ASSERT_EQ(::fstat(fd, &st), 0);
    ::close(fd);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_TRUE(TemporaryFiles::isTemporaryName(fs::path(tmpPath).filename()));
    EXPECT_EQ(TemporaryFiles::removeStale(dir.path()), 0);
    EXPECT_TRUE(fs::exists(tmpPath));
}

}  // namespace
