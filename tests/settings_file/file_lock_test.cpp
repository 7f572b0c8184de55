#include "settings_file/file_lock.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <memory>

#include "settings_file/add_record.h"
#include "settings_file/checked_writes.h"
#include "settings_file/in_out_error.h"
#include "settings_file/t_state_file.h"
#include "support/other_copy_lock.h"
#include "support/sys_fault.h"
#include "support/temp_files.h"

namespace {

using SysCalls::Call;

// The user at the waiting box, played without a window: tries again up to patience times, then gives up.
// Before each try, beforeTry(n) may play the other copy.
class ScriptedWait : public LockWait {
public:
    int patience = 100;
    std::function<void(int)> beforeTry;
    int asked = 0;
    int tries = 0;

    bool wait(const std::function<bool()>& tryAgain) override {
        ++asked;
        while (tries < patience) {
            ++tries;
            if (beforeTry) beforeTry(tries);
            if (tryAgain()) return true;
        }
        return false;
    }
};

int openDescriptors() {
    int n = 0;
    DIR* d = ::opendir("/proc/self/fd");
    while (d && ::readdir(d)) ++n;
    if (d) ::closedir(d);
    return n;
}

class FileLockTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("s.tv0");
    int fd = -1;
    ScriptedWait wait;
    std::unique_ptr<OtherCopyLock> other;

    void SetUp() override {
        writeBytes(path, fileImage({patternRecord(1)}));
        fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(fd, 0);
    }
    void TearDown() override { ::close(fd); }

    void otherCopyLocks() {
        other = std::make_unique<OtherCopyLock>(path);
        ASSERT_TRUE(other->locked());
    }
    // The other copy lets go just before try n.
    void otherCopyReleasesAtTry(int n) {
        wait.beforeTry = [this, n](int t) {
            if (t == n) other.reset();
        };
    }
};

TEST_F(FileLockTest, AFreeLockIsTakenWithoutWaiting) {
    {
        FileLock lock(fd, &wait);
        EXPECT_TRUE(OtherCopyLock::heldOn(path));
    }
    EXPECT_EQ(wait.asked, 0);
    EXPECT_FALSE(OtherCopyLock::heldOn(path));
}

// Far past the attempts of a wait without anyone to ask: as long as the other copy needs.
TEST_F(FileLockTest, ALockAnotherCopyHoldsIsWaitedForUntilItLetsGo) {
    otherCopyLocks();
    const int release = FileLock::Attempts * 3;
    otherCopyReleasesAtTry(release);
    {
        FileLock lock(fd, &wait);
        EXPECT_EQ(wait.asked, 1);
        EXPECT_EQ(wait.tries, release);
        EXPECT_TRUE(OtherCopyLock::heldOn(path));
    }
    EXPECT_FALSE(OtherCopyLock::heldOn(path));
}

TEST_F(FileLockTest, GivingUpLeavesNoLockAndNoDescriptor) {
    otherCopyLocks();
    wait.patience = 3;
    const int before = openDescriptors();
    EXPECT_THROW(FileLock(fd, &wait), LockWaitCancelled);
    EXPECT_EQ(wait.tries, 3);
    EXPECT_EQ(openDescriptors(), before);
    other.reset();
    EXPECT_FALSE(OtherCopyLock::heldOn(path));
}

// A compaction takes its own lock inside the viewer's: on the same open file that must succeed at once, and
// still shut out everyone else.
TEST_F(FileLockTest, ASecondLockOnTheSameOpenFileIsTakenAtOnce) {
    FileLock outer(fd, &wait);
    int attempts = 0;
    {
        SysHook count([&](Call c) {
            if (c == Call::Lock) ++attempts;
            return SysCalls::Outcome{};
        });
        FileLock inner(fd);
        EXPECT_TRUE(OtherCopyLock::heldOn(path));
    }
    EXPECT_EQ(attempts, 1);
}

struct FailureWhileWaiting {
    const char* name;
    int err;
    const char* text;  // empty when the lock counts as taken
};

void PrintTo(const FailureWhileWaiting& f, std::ostream* os) {
    *os << f.name;
}

class FileLockWhileWaiting : public FileLockTest,
                             public ::testing::WithParamInterface<FailureWhileWaiting> {};

// The first attempt finds the lock taken; the second fails otherwise. The failure leaves the waiter's event
// loop as a value and is thrown only once the wait is over.
TEST_P(FileLockWhileWaiting, AFailureEndsTheWaitWithItsOwnOutcome) {
    otherCopyLocks();
    SysFault fault(Call::Lock, 2, {GetParam().err});
    const std::string text = GetParam().text;
    const int before = openDescriptors();
    try {
        FileLock lock(fd, &wait);
        EXPECT_EQ(text, "");
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.what(), text);
    }
    EXPECT_TRUE(fault.fired());
    EXPECT_EQ(wait.tries, 1);
    EXPECT_EQ(openDescriptors(), before);
}

INSTANTIATE_TEST_SUITE_P(Faults, FileLockWhileWaiting,
                         ::testing::Values(FailureWhileWaiting{"DeviceError", EIO, "I/O error 5"},
                                           FailureWhileWaiting{"OutOfMemory", ENOMEM, "I/O error 12"},
                                           FailureWhileWaiting{"LocksNotKept", ENOLCK, ""},
                                           FailureWhileWaiting{"LocksNotSupported", EOPNOTSUPP, ""}),
                         [](const auto& p) { return std::string(p.param.name); });

// Every writer of a settings file, given a wait: it writes once the other copy lets go, and writes nothing
// when the wait is given up, leaving the file it keeps open still open.
struct Writer {
    const char* name;
    // Writes record 9 to the file at path; a kept file is open beforehand and stays with the caller.
    std::function<void(TStateFile& kept, const std::string& path, LockWait& wait)> write;
    Bytes (*after)();  // the file once written, from records 1 and 2 (record 2 marked for deletion)
    bool usesKeptFile;
};

void PrintTo(const Writer& w, std::ostream* os) {
    *os << w.name;
}

class WritersWaitForTheLock : public FileLockTest, public ::testing::WithParamInterface<Writer> {
protected:
    const Bytes before = fileImage({patternRecord(1), patternRecord(2, 1)});
    TStateFile kept;

    void SetUp() override {
        FileLockTest::SetUp();
        writeBytes(path, before);
        kept.assign(path);
        kept.openExisting();
    }
};

TEST_P(WritersWaitForTheLock, AndWriteOnceItIsFree) {
    otherCopyLocks();
    otherCopyReleasesAtTry(FileLock::Attempts + 5);
    GetParam().write(kept, path, wait);
    EXPECT_EQ(wait.asked, 1);
    EXPECT_EQ(readBytes(path), GetParam().after());
    EXPECT_FALSE(OtherCopyLock::heldOn(path));
}

TEST_P(WritersWaitForTheLock, AndWriteNothingWhenTheWaitIsGivenUp) {
    otherCopyLocks();
    wait.patience = 2;
    EXPECT_THROW(GetParam().write(kept, path, wait), LockWaitCancelled);
    EXPECT_EQ(readBytes(path), before);
    if (GetParam().usesKeptFile) {
        EXPECT_TRUE(kept.isOpen());
    }
    other.reset();
    EXPECT_FALSE(OtherCopyLock::heldOn(path));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"s.tv0"});
}

INSTANTIATE_TEST_SUITE_P(
    AllWriters, WritersWaitForTheLock,
    ::testing::Values(Writer{"Save",
                             [](TStateFile&, const std::string& path, LockWait& wait) {
                                 TStateFile f;
                                 f.assign(path);
                                 try {
                                     addRecordToFile(f, patternRecord(9), &wait);
                                 } catch (...) {
                                     EXPECT_FALSE(f.isOpen());
                                     throw;
                                 }
                                 f.close();
                             },
                             [] {
                                 return fileImage({patternRecord(1), patternRecord(2, 1), patternRecord(9)});
                             },
                             false},
                      Writer{"Append",
                             [](TStateFile& kept, const std::string&, LockWait& wait) {
                                 FileIdentity known = kept.identity();
                                 appendRecordIfUnchanged(kept, patternRecord(9), known, &wait);
                             },
                             [] {
                                 return fileImage({patternRecord(1), patternRecord(2, 1), patternRecord(9)});
                             },
                             true},
                      Writer{"Mark",
                             [](TStateFile& kept, const std::string&, LockWait& wait) {
                                 FileIdentity known = kept.identity();
                                 rewriteRecordIfUnchanged(kept, 0, patternRecord(9), known, &wait);
                             },
                             [] {
                                 return fileImage({patternRecord(9), patternRecord(2, 1)});
                             },
                             true},
                      Writer{"Compact",
                             [](TStateFile& kept, const std::string&, LockWait& wait) {
                                 compactIfUnchanged(kept, kept.identity(), &wait);
                             },
                             [] { return fileImage({patternRecord(1)}); }, true}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
