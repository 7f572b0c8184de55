#include "settings_file/safe_rewrite.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "settings_file/checked_writes.h"
#include "settings_file/file_changed_error.h"
#include "settings_file/in_out_error.h"
#include "settings_file/t_state_file.h"
#include "support/child_process.h"
#include "support/other_copy_lock.h"
#include "support/scratch_mount.h"
#include "support/sys_fault.h"
#include "support/temp_files.h"

namespace {

using SysCalls::Call;
namespace fs = std::filesystem;

std::vector<TState> recordsWithActions(const std::vector<std::int32_t>& actions) {
    std::vector<TState> out;
    for (std::size_t i = 0; i < actions.size(); ++i)
        out.push_back(patternRecord(static_cast<int>(i), actions[i]));
    return out;
}

std::vector<TState> keptOf(const std::vector<TState>& records) {
    std::vector<TState> out;
    for (const auto& r : records)
        if (r.Action() != 1) out.push_back(r);
    return out;
}

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

class CompactTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("s.tv0");
    TStateFile viewed;

    void open(const Bytes& image) {
        writeBytes(path, image);
        viewed.assign(path);
        viewed.openExisting();
    }
};

// Action values next to 1 and with 1 in their low byte are kept: only exactly 1 marks a record.
TEST_F(CompactTest, KeepsEveryRecordNotMarkedInOrderAndDropsTheTail) {
    const auto records = recordsWithActions({0, 1, 2, 1, 257, -1, 0x01000000, 0});
    open(fileImage(records, 100));
    const ino_t before = inodeOf(path);
    viewed.seek(3);
    compactStateFile(viewed);
    EXPECT_FALSE(viewed.isOpen());
    EXPECT_EQ(readBytes(path), fileImage(keptOf(records)));
    EXPECT_NE(inodeOf(path), before) << "the file was not replaced in one step";
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"s.tv0"});
}

TEST_F(CompactTest, RemovingEveryRecordLeavesAnEmptyFile) {
    open(fileImage(recordsWithActions({1, 1, 1}), 5));
    compactStateFile(viewed);
    EXPECT_TRUE(fs::exists(path));
    EXPECT_EQ(fs::file_size(path), 0u);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"s.tv0"});
}

TEST_F(CompactTest, KeepsThePermissionBits) {
    for (const mode_t mode : {0640, 0604, 0755}) {
        SCOPED_TRACE(mode);
        open(fileImage(recordsWithActions({0, 1})));
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        compactStateFile(viewed);
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
    }
}

// A file of the user's own, compacted by root (or by a member of a shared group), must stay theirs: a 0600
// file owned by root would be lost to them.
TEST_F(CompactTest, KeepsTheOwnerAndGroupWherePermitted) {
    const auto records = recordsWithActions({0, 1});
    open(fileImage(records));
    if (::chown(path.c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "cannot give a file away (not running as root)";
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    compactStateFile(viewed);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(readBytes(path), fileImage(keptOf(records)));
}

TEST_F(CompactTest, FollowsASymbolicLinkAndReplacesTheRealFile) {
    TempDir other;
    const std::string real = other.file("real.tv0");
    const auto records = recordsWithActions({1, 0, 1, 2});
    writeBytes(real, fileImage(records));
    fs::create_symlink(real, path);
    viewed.assign(path);
    viewed.openExisting();
    compactStateFile(viewed);
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(fs::read_symlink(path), real);
    EXPECT_EQ(readBytes(real), fileImage(keptOf(records)));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"s.tv0"});
    EXPECT_EQ(namesIn(other.path()), std::vector<std::string>{"real.tv0"});
}

// The temporary file's name must fit wherever the viewed file's name fits.
TEST_F(CompactTest, AFileWithTheLongestNameIsCompacted) {
    const std::string name = std::string(251, 'a') + ".tv0";
    path = dir.file(name);
    const auto records = recordsWithActions({0, 1, 0});
    open(fileImage(records));
    compactStateFile(viewed);
    EXPECT_EQ(readBytes(path), fileImage(keptOf(records)));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{name});
}

// The viewer's "File lost" state: its file was closed by an earlier failure.
TEST_F(CompactTest, AClosedFileFailsWithCode103AndChangesNothing) {
    const Bytes image = fileImage(recordsWithActions({0, 1}), 7);
    open(image);
    viewed.close();
    try {
        compactStateFile(viewed);
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.code(), 103);
        EXPECT_STREQ(e.what(), "I/O error 103");
    }
    EXPECT_EQ(readBytes(path), image);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"s.tv0"});
}

TEST_F(CompactTest, AFolderThatCannotBeSyncedStillCompletes) {
    const auto records = recordsWithActions({0, 1, 0});
    open(fileImage(records));
    SysFault inject(Call::Sync, 1, {EINVAL});
    compactStateFile(viewed);
    EXPECT_TRUE(inject.fired());
    EXPECT_EQ(readBytes(path), fileImage(keptOf(records)));
}

struct Stage {
    const char* name;
    Call call;
    int nth;
    SysCalls::Outcome outcome;
    const char* text;
};

void PrintTo(const Stage& s, std::ostream* os) {
    *os << s.name;
}

class CompactFailure : public CompactTest, public ::testing::WithParamInterface<Stage> {};

TEST_P(CompactFailure, LeavesTheFileByteIdenticalAndNoTemporaryFile) {
    const Bytes image = fileImage(recordsWithActions({0, 1, 2, 1, 0}), 77);
    open(image);
    {
        SysFault inject(GetParam().call, GetParam().nth, GetParam().outcome);
        try {
            compactStateFile(viewed);
            ADD_FAILURE() << "no error";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.kindName(), "EInOutError");
            EXPECT_STREQ(e.what(), GetParam().text);
        }
        EXPECT_TRUE(inject.fired()) << "the stage was never reached";
    }
    EXPECT_FALSE(viewed.isOpen());
    EXPECT_EQ(readBytes(path), image);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"s.tv0"});
}

// Calls in order: fstat of the viewed file, open of the folder, open of the (unnamed) temporary file, fchmod,
// then per record an fstat (at end?) and a pread, with a pwrite for each kept record; then fdatasync and the
// link that names the copy, the viewed file's close, the close of the temporary file, rename.
INSTANTIATE_TEST_SUITE_P(
    Stages, CompactFailure,
    ::testing::Values(Stage{"ModeUnreadable", Call::Stat, 1, {EIO}, "I/O error 5"},
                      Stage{"FolderNotOpened", Call::Open, 1, {EACCES}, "File access denied"},
                      Stage{"TemporaryNotCreated", Call::Open, 2, {EACCES}, "File access denied"},
                      Stage{"TooManyOpenFiles", Call::Open, 2, {EMFILE}, "Too many open files"},
                      Stage{"PermissionsNotSet", Call::Chmod, 1, {EPERM}, "File access denied"},
                      Stage{"SizeUnreadable", Call::Stat, 3, {EIO}, "I/O error 5"},
                      Stage{"RecordUnreadable", Call::Read, 3, {EIO}, "I/O error 5"},
                      Stage{"FirstWriteFindsNoSpace", Call::Write, 1, {ENOSPC}, "Disk full"},
                      Stage{"WriteCutShort", Call::Write, 2, {0, 100}, "Disk full"},
                      Stage{"LastWriteFails", Call::Write, 3, {EIO}, "I/O error 5"},
                      Stage{"ViewedCloseFails", Call::Close, 1, {EIO}, "I/O error 5"},
                      Stage{"FlushFails", Call::DataSync, 1, {EIO}, "I/O error 5"},
                      Stage{"CopyNotNamed", Call::Link, 1, {EPERM}, "File access denied"},
                      Stage{"NamingFindsNoSpace", Call::Link, 1, {ENOSPC}, "Disk full"},
                      Stage{"TemporaryCloseFails", Call::Close, 2, {ENOSPC}, "Disk full"},
                      Stage{"RenameFails", Call::Rename, 1, {EXDEV}, "I/O error 18"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(CompactTest, AFileRemovedWhileViewedIsNotFoundAndNothingIsCreated) {
    open(fileImage(recordsWithActions({0, 1})));
    fs::remove(path);
    try {
        compactStateFile(viewed);
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "The specified file was not found");
    }
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST(CompactFullDisk, ACopyThatDoesNotFitLeavesTheFileAsItWas) {
    ScratchMount mount;
    if (!mount.ok()) GTEST_SKIP() << mount.why();
    const std::string path = mount.path() + "/s.tv0";
    // About 40 KiB on a 64 KiB file system: the copy cannot fit beside it.
    std::vector<std::int32_t> actions(140, 0);
    actions[0] = 1;
    const Bytes image = fileImage(recordsWithActions(actions), 10);
    writeBytes(path, image);
    ASSERT_EQ(readBytes(path), image);
    TStateFile viewed;
    viewed.assign(path);
    viewed.openExisting();
    try {
        compactStateFile(viewed);
        FAIL() << "the copy fitted";
    } catch (const EInOutError& e) {
        EXPECT_STREQ(e.what(), "Disk full");
    }
    EXPECT_EQ(readBytes(path), image);
    EXPECT_EQ(namesIn(mount.path()), std::vector<std::string>{"s.tv0"});
}

// Root may write anywhere, so the folder's refusal is seen from a child that has given up root.
TEST_F(CompactTest, AFolderWithoutWriteAccessIsAccessDenied) {
    const Bytes image = fileImage(recordsWithActions({0, 1}));
    writeBytes(path, image);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        TStateFile f;
        f.assign(path);
        try {
            f.openExisting();
            compactStateFile(f);
        } catch (const EInOutError& e) {
            ::_exit(std::string(e.what()) == "File access denied" ? 0 : 3);
        }
        ::_exit(4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "cannot drop to an unprivileged user (not running as root)";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "3: another error, 4: no error";
    EXPECT_EQ(readBytes(path), image);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"s.tv0"});
}

// A compaction killed part-way (power cut, kill -9) must not leave a copy behind that nothing ever removes.
TEST_F(CompactTest, AKilledCompactionLeavesNoTemporaryFile) {
    const Bytes image = fileImage(recordsWithActions({0, 1, 0, 0}), 9);
    writeBytes(path, image);
    const int status = exitStatusOfChild([&] {
        TStateFile f;
        f.assign(path);
        f.openExisting();
        int writes = 0;
        SysHook killer([&](Call c) {
            if (c == Call::Write && ++writes == 2) ::raise(SIGKILL);
            return SysCalls::Outcome{};
        });
        compactStateFile(f);
        return 0;
    });
    EXPECT_EQ(status, -1) << "the child was not killed";
    EXPECT_EQ(readBytes(path), image);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"s.tv0"});
}

struct Refusal {
    const char* name;
    Call call;
    int err;
};

void PrintTo(const Refusal& r, std::ostream* os) {
    *os << r.name;
}

class CompactFallback : public CompactTest, public ::testing::WithParamInterface<Refusal> {};

// A file system without unnamed files, or a system that cannot name one (no /proc), still compacts.
TEST_P(CompactFallback, UsesANamedTemporaryFile) {
    const auto records = recordsWithActions({0, 1, 2, 0});
    open(fileImage(records, 3));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    {
        SysFault refuse(GetParam().call, GetParam().call == Call::Open ? 2 : 1, {GetParam().err});
        compactStateFile(viewed);
        EXPECT_TRUE(refuse.fired());
    }
    EXPECT_FALSE(viewed.isOpen());
    EXPECT_EQ(readBytes(path), fileImage(keptOf(records)));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"s.tv0"});
}

INSTANTIATE_TEST_SUITE_P(Refusals, CompactFallback,
                         ::testing::Values(Refusal{"NoUnnamedFiles", Call::Open, EOPNOTSUPP},
                                           Refusal{"OldKernelTakesAFolder", Call::Open, EISDIR},
                                           Refusal{"FlagUnknown", Call::Open, EINVAL},
                                           Refusal{"OpenFindsNoSuchThing", Call::Open, ENOENT},
                                           Refusal{"LinkNotSupported", Call::Link, EOPNOTSUPP},
                                           Refusal{"LinkIsFolder", Call::Link, EISDIR},
                                           Refusal{"LinkInvalid", Call::Link, EINVAL},
                                           Refusal{"NoProc", Call::Link, ENOENT}),
                         [](const auto& p) { return std::string(p.param.name); });

// Root may link any descriptor; an ordinary user may only link through /proc. A child that has given up root
// shows that the copy is made unnamed and named once complete, with no fallback taken.
TEST_F(CompactTest, AnOrdinaryUserCompactsThroughAnUnnamedFile) {
    const auto records = recordsWithActions({1, 0, 0, 1});
    writeBytes(path, fileImage(records));
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const int status = exitStatusOfChild([&] {
        if (!dropToNobody()) return CannotDropPrivileges;
        const int probe = ::open(dir.path().c_str(), O_TMPFILE | O_RDWR, 0600);
        if (probe < 0) return 6;
        ::close(probe);
        TStateFile f;
        f.assign(path);
        f.openExisting();
        int opens = 0, links = 0;
        SysHook count([&](Call c) {
            opens += c == Call::Open;
            links += c == Call::Link;
            return SysCalls::Outcome{};
        });
        try {
            compactStateFile(f);
        } catch (const EInOutError&) {
            return 3;
        }
        // The folder and the unnamed file; a named temporary file would be a third open.
        return opens == 2 && links == 1 ? 0 : 4;
    });
    if (status == CannotDropPrivileges)
        GTEST_SKIP() << "cannot drop to an unprivileged user (not running as root)";
    if (status == 6) GTEST_SKIP() << "the file system of " << dir.path() << " has no unnamed files";
    EXPECT_EQ(status, 0) << "3: the compaction failed, 4: a named temporary file was used";
    EXPECT_EQ(readBytes(path), fileImage(keptOf(records)));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"s.tv0"});
}

// With SIGXFSZ ignored, as the program does, a copy that outgrows a file-size limit is a full disk.
TEST_F(CompactTest, ACopyPastAFileSizeLimitIsDiskFullAndLeavesTheFileAsItWas) {
    const Bytes image = fileImage(recordsWithActions({1, 0, 0, 0}));
    writeBytes(path, image);
    const int status = exitStatusOfChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{400, 400};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
        TStateFile f;
        f.assign(path);
        f.openExisting();
        try {
            compactStateFile(f);
        } catch (const EInOutError& e) {
            return std::string(e.what()) == "Disk full" ? 0 : 3;
        }
        return 4;
    });
    EXPECT_EQ(status, 0) << "2: no limit, 3: another error, 4: no error, -1: killed";
    EXPECT_EQ(readBytes(path), image);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"s.tv0"});
}

// A copy that waits to append must find the new file, so the lock lasts until the rename is done.
TEST_F(CompactTest, TheLockIsHeldUntilTheNewFileIsInPlace) {
    const auto records = recordsWithActions({0, 1});
    open(fileImage(records));
    const FileIdentity known = viewed.identity();
    bool heldAtRename = false;
    {
        SysHook watch([&](Call c) {
            if (c == Call::Rename) heldAtRename = OtherCopyLock::heldOn(path);
            return SysCalls::Outcome{};
        });
        compactStateFileIfUnchanged(viewed, known);
    }
    EXPECT_TRUE(heldAtRename);
    EXPECT_FALSE(OtherCopyLock::heldOn(path));
    EXPECT_EQ(readBytes(path), fileImage(keptOf(records)));
}

}  // namespace
