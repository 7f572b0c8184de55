#include "settings_file/checked_file_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "settings_file/temporary_files.h"
#include "support/sys_fault.h"
#include "support/temp_files.h"

namespace {

namespace fs = std::filesystem;
using Call = SysCalls::Call;

const std::string OldBytes = "the user's own picture, as it was\n";

std::string text(const std::string& path) {
    const Bytes b = readBytes(path);
    return {b.begin(), b.end()};
}

void writeText(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::size_t filesIn(const std::string& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
    return n;
}

// Plays a file system that offers no unnamed files: the second open (the O_TMPFILE one) is refused.
SysCalls::Outcome refuseUnnamed(Call c, int& opens) {
    if (c == Call::Open && ++opens == 2) return {EOPNOTSUPP, -1};
    return {};
}

struct FailingCall {
    const char* name;
    Call call;
    SysCalls::Outcome outcome;
    int expectedErrno;
};

class CheckedFileWriterFaults : public testing::TestWithParam<std::tuple<FailingCall, bool>> {};

// A failure anywhere before the rename leaves the old file byte for byte, no temporary file, and the
// system's own reason.
TEST_P(CheckedFileWriterFaults, KeepsTheOldFileAndTellsTheReason) {
    // Named, not bound: the hook below captures them, and clang-tidy's clang 14 cannot capture a binding.
    const FailingCall& failing = std::get<0>(GetParam());
    const bool unnamedRefused = std::get<1>(GetParam());
    TempDir dir;
    const std::string target = dir.file("orbit.png");
    writeText(target, OldBytes);
    int opens = 0;
    int seen = 0;
    SysHook hook([&](Call c) {
        if (unnamedRefused && refuseUnnamed(c, opens).err) return SysCalls::Outcome{EOPNOTSUPP, -1};
        if (c == failing.call && ++seen == 1) return failing.outcome;
        return SysCalls::Outcome{};
    });
    CheckedFileWriter writer(target);
    try {
        writer.open();
        writer.write(std::string(5000, 'x'));
        writer.commit();
        FAIL() << "no failure reported";
    } catch (const FileWriteError& e) {
        EXPECT_EQ(e.err(), failing.expectedErrno);
        EXPECT_STREQ(e.what(), std::strerror(failing.expectedErrno));
    }
    EXPECT_EQ(text(target), OldBytes);
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CheckedFileWriterFaults,
    testing::Combine(testing::Values(FailingCall{"DiskFull", Call::Write, {ENOSPC, -1}, ENOSPC},
                                     FailingCall{"FileTooLarge", Call::Write, {EFBIG, -1}, EFBIG},
                                     FailingCall{"WriteTakesNothing", Call::Write, {0, 0}, ENOSPC},
                                     FailingCall{"SyncFails", Call::DataSync, {EIO, -1}, EIO},
                                     FailingCall{"CloseFails", Call::Close, {EIO, -1}, EIO},
                                     FailingCall{"RenameFails", Call::Rename, {EXDEV, -1}, EXDEV}),
                     testing::Bool()),
    [](const auto& p) {
        return std::string(std::get<0>(p.param).name) + (std::get<1>(p.param) ? "Named" : "Unnamed");
    });

// A short write is carried on from where it stopped, not taken for the whole.
TEST(FaultsCheckedFileWriter, CarriesOnAfterAShortWrite) {
    TempDir dir;
    const std::string target = dir.file("t.csv");
    const std::string content(10000, 'y');
    SysFault shortWrite(Call::Write, 1, {0, 100});
    CheckedFileWriter writer(target);
    writer.open();
    writer.write(content);
    writer.commit();
    EXPECT_EQ(text(target), content);
}

// The new file takes the old one's permission bits, and the file a symbolic link names is replaced, not the
// link.
TEST(CheckedFileWriter, ReplacesTheLinkedFileAndKeepsItsMode) {
    TempDir dir;
    const std::string real = dir.file("real.csv");
    const std::string link = dir.file("link.csv");
    writeText(real, OldBytes);
    ::chmod(real.c_str(), 0640);
    fs::create_symlink(real, link);
    CheckedFileWriter writer(link);
    writer.open();
    writer.write(std::string("new\n"));
    writer.commit();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(text(real), "new\n");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// A writer gone before its commit leaves nothing where the system gives unnamed files, and a named file that
// the next writer into the folder removes where it does not.
TEST(FaultsCheckedFileWriter, LitterOfAKilledWriterIsRemovedByTheNext) {
    TempDir dir;
    const std::string target = dir.file("t.csv");
    writeText(target, OldBytes);
    for (const bool refused : {false, true}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int opens = 0;
            if (refused) SysCalls::hook = [&opens](Call c) { return refuseUnnamed(c, opens); };
            CheckedFileWriter writer(target);
            writer.open();
            writer.write(std::string(3000, 'z'));
            ::_exit(0);  // as a kill would: no destructor, no cancel
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_EQ(filesIn(dir.path()), refused ? 2u : 1u) << (refused ? "named" : "unnamed");
    }
    CheckedFileWriter next(target);
    next.open();
    EXPECT_EQ(filesIn(dir.path()), 1u);
    next.cancel();
    EXPECT_EQ(text(target), OldBytes);
}

// Where a complete unnamed file cannot be linked in, its bytes are copied to a named one.
TEST(FaultsCheckedFileWriter, AnUnnamedFileThatCannotBeLinkedIsCopied) {
    TempDir dir;
    const std::string target = dir.file("t.csv");
    std::string content;
    for (int i = 0; i < 20000; ++i) content += std::to_string(i) + '\n';
    SysFault refuseLink(Call::Link, 1, {EOPNOTSUPP, -1});
    CheckedFileWriter writer(target);
    writer.open();
    writer.write(content);
    writer.commit();
    EXPECT_TRUE(refuseLink.fired());
    EXPECT_EQ(text(target), content);
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

// A copy made only where none is: a file that is there by the commit, even one that appeared after the
// writer opened, keeps its bytes, and the new file leaves no trace. The same with named temporary files.
TEST(CheckedFileWriter, CommitIfAbsentNeverReplacesAFile) {
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "named" : "unnamed");
        int opens = 0;
        SysHook hook([&](Call c) { return refused ? refuseUnnamed(c, opens) : SysCalls::Outcome{}; });
        TempDir dir;
        const std::string target = dir.file("copy.tv0");
        CheckedFileWriter first(target);
        first.open();
        first.write(std::string("first\n"));
        EXPECT_TRUE(first.commitIfAbsent());
        EXPECT_EQ(text(target), "first\n");

        opens = 0;
        CheckedFileWriter second(target);
        second.open();
        second.write(std::string("second\n"));
        writeText(target, OldBytes);
        EXPECT_FALSE(second.commitIfAbsent());
        EXPECT_EQ(text(target), OldBytes);
        EXPECT_EQ(filesIn(dir.path()), 1u);
    }
}

// Any other failure of the last step is the system's reason, with the target still absent.
TEST(FaultsCheckedFileWriter, CommitIfAbsentReportsAFailedRename) {
    TempDir dir;
    const std::string target = dir.file("copy.tv0");
    SysFault refuse(Call::Rename, 1, {EROFS, -1});
    CheckedFileWriter writer(target);
    writer.open();
    writer.write(std::string("new\n"));
    try {
        writer.commitIfAbsent();
        ADD_FAILURE() << "the failed rename was not reported";
    } catch (const FileWriteError& e) {
        EXPECT_EQ(e.err(), EROFS);
    }
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(filesIn(dir.path()), 0u);
}

}  // namespace
