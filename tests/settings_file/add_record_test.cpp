#include "settings_file/add_record.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cerrno>
#include <functional>
#include <map>
#include <memory>

#include "settings_file/file_lock.h"
#include "settings_file/in_out_error.h"
#include "settings_file/t_state_file.h"
#include "support/child_process.h"
#include "support/other_copy_lock.h"
#include "support/sys_fault.h"
#include "support/temp_files.h"

namespace {

using SysCalls::Call;
namespace fs = std::filesystem;

class AddRecordTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("s.tv0");
    TStateFile file;

    // Saves record and closes the file; returns the error's text, empty on success.
    std::string save(const TState& record) {
        file.assign(path);
        try {
            addRecordToFile(file, record);
        } catch (const EInOutError& e) {
            EXPECT_FALSE(file.isOpen());
            return e.what();
        }
        EXPECT_TRUE(file.isOpen());
        file.close();
        return "";
    }
};

TEST_F(AddRecordTest, CreatesANewFileThenAppendsOverAnyTail) {
    EXPECT_EQ(save(patternRecord(1)), "");
    EXPECT_EQ(readBytes(path), fileImage({patternRecord(1)}));
    writeBytes(path, fileImage({patternRecord(1)}, 100));
    EXPECT_EQ(save(patternRecord(2)), "");
    EXPECT_EQ(readBytes(path), fileImage({patternRecord(1), patternRecord(2)}));
}

// Only "no such file" may lead to creating one: any other failure of the check says nothing about what is
// there, and creating would empty a file that exists.
TEST_F(AddRecordTest, AFailingCheckForTheFileIsReportedAndTheFileKept) {
    const Bytes before = fileImage({patternRecord(1), patternRecord(2), patternRecord(3)});
    writeBytes(path, before);
    for (const auto& [err, text] : std::vector<std::pair<int, std::string>>{
             {EIO, "I/O error 5"}, {EACCES, "File access denied"}, {ENOMEM, "I/O error 12"}}) {
        SCOPED_TRACE(text);
        SysFault inject(Call::StatPath, 1, {err});
        EXPECT_EQ(save(patternRecord(9)), text);
        EXPECT_TRUE(inject.fired());
        EXPECT_EQ(readBytes(path), before);
    }
}

// Another process makes the file between the check and the create: the record is added to what it wrote.
TEST_F(AddRecordTest, AFileThatAppearsAfterTheCheckIsAppendedTo) {
    const Bytes theirs = fileImage({patternRecord(1), patternRecord(2)});
    writeBytes(path, theirs);
    {
        SysFault inject(Call::StatPath, 1, {ENOENT});
        EXPECT_EQ(save(patternRecord(3)), "");
        EXPECT_TRUE(inject.fired());
    }
    EXPECT_EQ(readBytes(path), fileImage({patternRecord(1), patternRecord(2), patternRecord(3)}));
}

TEST_F(AddRecordTest, ADanglingLinkGetsItsTargetCreatedAndAnExistingLinkIsAppendedThrough) {
    const std::string target = dir.file("target.tv0");
    fs::create_symlink("target.tv0", path);
    EXPECT_EQ(save(patternRecord(1)), "");
    EXPECT_EQ(save(patternRecord(2)), "");
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(readBytes(target), fileImage({patternRecord(1), patternRecord(2)}));
}

TEST_F(AddRecordTest, AFileAnotherCopyKeepsLockedIsReportedWithTheLockedCode) {
    const Bytes before = fileImage({patternRecord(1)});
    writeBytes(path, before);
    OtherCopyLock other(path);
    ASSERT_TRUE(other.locked());
    file.assign(path);
    try {
        addRecordToFile(file, patternRecord(2));
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.code(), 32);
        EXPECT_STREQ(e.what(), "I/O error 32");
    }
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(readBytes(path), before);
}

TEST_F(AddRecordTest, ALockReleasedWithinTheRetriesIsWaitedFor) {
    writeBytes(path, fileImage({patternRecord(1)}));
    SysFault busy(Call::Lock, 1, {EWOULDBLOCK}, 3);
    EXPECT_EQ(save(patternRecord(2)), "");
    EXPECT_TRUE(busy.fired());
    EXPECT_EQ(readBytes(path), fileImage({patternRecord(1), patternRecord(2)}));
}

TEST_F(AddRecordTest, AFileSystemWithoutLocksIsStillSavedTo) {
    writeBytes(path, fileImage({patternRecord(1)}));
    for (const int err : {ENOLCK, EOPNOTSUPP, ENOSYS}) {
        SysFault noLocks(Call::Lock, 1, {err});
        EXPECT_EQ(save(patternRecord(2)), "");
        EXPECT_TRUE(noLocks.fired());
    }
    EXPECT_EQ(readBytes(path),
              fileImage({patternRecord(1), patternRecord(2), patternRecord(2), patternRecord(2)}));
}

// The other copy compacts while this one waits for the lock: the record must go into the new file, not into
// the old one that is no longer anyone's.
TEST_F(AddRecordTest, AFileReplacedWhileWaitingForTheLockIsReopened) {
    writeBytes(path, fileImage({patternRecord(1), patternRecord(2, 1)}));
    const Bytes compacted = fileImage({patternRecord(1)});
    int locks = 0;
    {
        SysHook otherCopy([&](Call c) {
            if (c == Call::Lock && ++locks == 1) {
                writeBytes(dir.file("new"), compacted);
                fs::rename(dir.file("new"), path);
            }
            return SysCalls::Outcome{};
        });
        EXPECT_EQ(save(patternRecord(3)), "");
    }
    EXPECT_EQ(locks, 2);
    EXPECT_EQ(readBytes(path), fileImage({patternRecord(1), patternRecord(3)}));
}

TEST_F(AddRecordTest, AFileRemovedWhileWaitingForTheLockIsCreatedAgain) {
    writeBytes(path, fileImage({patternRecord(1)}));
    int locks = 0;
    {
        SysHook otherCopy([&](Call c) {
            if (c == Call::Lock && ++locks == 1) fs::remove(path);
            return SysCalls::Outcome{};
        });
        EXPECT_EQ(save(patternRecord(3)), "");
    }
    EXPECT_EQ(readBytes(path), fileImage({patternRecord(3)}));
}

struct FirstWriteFault {
    const char* name;
    SysCalls::Outcome outcome;
    const char* text;
};

void PrintTo(const FirstWriteFault& f, std::ostream* os) {
    *os << f.name;
}

class AddRecordFirstWriteFails : public AddRecordTest,
                                 public ::testing::WithParamInterface<FirstWriteFault> {};

TEST_P(AddRecordFirstWriteFails, RemovesTheNewFile) {
    SysFault inject(Call::Write, 1, GetParam().outcome);
    EXPECT_EQ(save(patternRecord(1)), GetParam().text);
    EXPECT_TRUE(inject.fired());
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, AddRecordFirstWriteFails,
                         ::testing::Values(FirstWriteFault{"NoSpace", {ENOSPC}, "Disk full"},
                                           FirstWriteFault{"SizeLimit", {EFBIG}, "Disk full"},
                                           FirstWriteFault{"CutShort", {0, 100}, "Disk full"},
                                           FirstWriteFault{"DeviceError", {EIO}, "I/O error 5"}),
                         [](const auto& p) { return std::string(p.param.name); });

// The user gives up at the waiting box after two more tries.
class GiveUp : public LockWait {
public:
    bool wait(const std::function<bool()>& tryAgain) override { return tryAgain() || tryAgain(); }
};

// A save that creates the file fails before its first record is complete. The new, empty file goes only when
// this save made it, holds its lock, and finds the path still naming it with nothing written: a file another
// copy locked, wrote to or put in its place may be theirs to fill.
struct NewFileFailure {
    const char* name;
    // Plays the fault, and the other copy into other, while the returned object lives.
    std::function<std::shared_ptr<void>(const std::string& path, std::unique_ptr<OtherCopyLock>& other)>
        arrange;
    bool withWait;
    const char* error;  // the EInOutError's text, or "cancelled"
    bool remains;
    Bytes (*content)();  // what the remaining file holds
};

void PrintTo(const NewFileFailure& f, std::ostream* os) {
    *os << f.name;
}

class AddRecordToANewFile : public AddRecordTest, public ::testing::WithParamInterface<NewFileFailure> {};

TEST_P(AddRecordToANewFile, FailingIsRemovedOnlyWhenCertainlyThisSavesAlone) {
    std::unique_ptr<OtherCopyLock> other;
    GiveUp giveUp;
    std::string error;
    {
        const auto fault = GetParam().arrange(path, other);
        file.assign(path);
        try {
            addRecordToFile(file, patternRecord(1), GetParam().withWait ? &giveUp : nullptr);
            error = "no error";
        } catch (const EInOutError& e) {
            error = e.what();
        } catch (const LockWaitCancelled&) {
            error = "cancelled";
        }
    }
    EXPECT_EQ(error, GetParam().error);
    EXPECT_FALSE(file.isOpen());
    if (GetParam().remains) {
        ASSERT_TRUE(fs::exists(path));
        EXPECT_EQ(readBytes(path), GetParam().content());
    } else {
        EXPECT_TRUE(namesIn(dir.path()).empty());
    }
    if (other) {
        EXPECT_TRUE(other->locked());
    }
}

// Counts the calls of each kind and hands them to act, which may play the other copy or fail the call.
std::shared_ptr<void> onCalls(const std::function<SysCalls::Outcome(Call, int)>& act) {
    auto counts = std::make_shared<std::map<Call, int>>();
    return std::make_shared<SysHook>([counts, act](Call c) { return act(c, ++(*counts)[c]); });
}

std::shared_ptr<void> anotherCopyLocksFirst(const std::string& path, std::unique_ptr<OtherCopyLock>& other) {
    return onCalls([&path, &other](Call c, int n) {
        if (c == Call::Lock && n == 1) other = std::make_unique<OtherCopyLock>(path);
        return SysCalls::Outcome{};
    });
}

// The first StatPath looks for an existing file; the second is the check, under the lock, that the path still
// names the open file; the third compares them again before a removal.
INSTANTIATE_TEST_SUITE_P(
    Faults, AddRecordToANewFile,
    ::testing::Values(
        NewFileFailure{"LockHeldByAnotherCopy", anotherCopyLocksFirst, true, "cancelled", true,
                       [] { return Bytes{}; }},
        NewFileFailure{"LockHeldByAnotherCopyWithNobodyToAsk", anotherCopyLocksFirst, false, "I/O error 32",
                       true, [] { return Bytes{}; }},
        NewFileFailure{"LockFails",
                       [](const std::string&, std::unique_ptr<OtherCopyLock>&) -> std::shared_ptr<void> {
                           return std::make_shared<SysFault>(Call::Lock, 1, SysCalls::Outcome{EIO});
                       },
                       true, "I/O error 5", true, [] { return Bytes{}; }},
        NewFileFailure{"IdentityCheckFails",
                       [](const std::string&, std::unique_ptr<OtherCopyLock>&) -> std::shared_ptr<void> {
                           return std::make_shared<SysFault>(Call::StatPath, 2, SysCalls::Outcome{EIO});
                       },
                       true, "I/O error 5", false, nullptr},
        NewFileFailure{"IdentityCheckAndComparisonFail",
                       [](const std::string&, std::unique_ptr<OtherCopyLock>&) -> std::shared_ptr<void> {
                           return std::make_shared<SysFault>(Call::StatPath, 2, SysCalls::Outcome{EIO}, 2);
                       },
                       true, "I/O error 5", true, [] { return Bytes{}; }},
        NewFileFailure{"IdentityCheckFailsAfterAnotherCopyWrote",
                       [](const std::string& path, std::unique_ptr<OtherCopyLock>&) {
                           return onCalls([&path](Call c, int n) {
                               if (c == Call::Lock && n == 1) writeBytes(path, fileImage({patternRecord(5)}));
                               if (c == Call::StatPath && n == 2) return SysCalls::Outcome{EIO};
                               return SysCalls::Outcome{};
                           });
                       },
                       true, "I/O error 5", true, [] { return fileImage({patternRecord(5)}); }},
        NewFileFailure{"IdentityCheckFailsAndThePathNamesAnotherFileByThen",
                       [](const std::string& path, std::unique_ptr<OtherCopyLock>&) {
                           return onCalls([&path](Call c, int n) {
                               if (c == Call::StatPath && n == 2) return SysCalls::Outcome{EIO};
                               if (c == Call::StatPath && n == 3) {
                                   writeBytes(path + ".new", {});
                                   fs::rename(path + ".new", path);
                               }
                               return SysCalls::Outcome{};
                           });
                       },
                       true, "I/O error 5", true, [] { return Bytes{}; }},
        NewFileFailure{"FirstWriteFails",
                       [](const std::string&, std::unique_ptr<OtherCopyLock>&) -> std::shared_ptr<void> {
                           return std::make_shared<SysFault>(Call::Write, 1, SysCalls::Outcome{ENOSPC});
                       },
                       true, "Disk full", false, nullptr}),
    [](const auto& p) { return std::string(p.param.name); });

// Under a real file-size limit, with SIGXFSZ ignored as the program does: a write at or past the limit fails
// with EFBIG, which the user sees as a full disk, and nothing is left behind.
TEST_F(AddRecordTest, AFileSizeLimitIsDiskFullAndLeavesNothingBehind) {
    const Bytes before = fileImage({patternRecord(1), patternRecord(2)});
    writeBytes(path, before);
    const std::string fresh = dir.file("new.tv0");
    const int status = exitStatusOfChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        // The limit is the existing file's length: the next byte written to it, or to a new file, is refused.
        const rlimit limit{before.size(), before.size()};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
        int failures = 0;
        for (const std::string& target : {path, fresh}) {
            TStateFile f;
            f.assign(target);
            try {
                addRecordToFile(f, patternRecord(3));
                if (target == fresh) f.close();
                if (target == path) return 4;
            } catch (const EInOutError& e) {
                if (std::string(e.what()) != "Disk full") return 3;
                ++failures;
            }
        }
        return failures == 1 ? 0 : 5;
    });
    EXPECT_EQ(status, 0) << "2: no limit, 3: another error, 4: the append passed the limit";
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(readBytes(fresh), fileImage({patternRecord(3)}));

    fs::remove(fresh);
    const int zero = exitStatusOfChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{0, 0};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
        TStateFile f;
        f.assign(fresh);
        try {
            addRecordToFile(f, patternRecord(3));
        } catch (const EInOutError& e) {
            return std::string(e.what()) == "Disk full" ? 0 : 3;
        }
        return 4;
    });
    EXPECT_EQ(zero, 0) << "2: no limit, 3: another error, 4: no error";
    EXPECT_FALSE(fs::exists(fresh)) << "an empty new file was left";
}

}  // namespace
