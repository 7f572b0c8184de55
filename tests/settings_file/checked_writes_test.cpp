#include "settings_file/checked_writes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "settings_file/add_record.h"
#include "settings_file/file_changed_error.h"
#include "settings_file/in_out_error.h"
#include "settings_file/safe_rewrite.h"
#include "settings_file/t_state_file.h"
#include "support/other_copy_lock.h"
#include "support/sys_fault.h"
#include "support/temp_files.h"

namespace {

namespace fs = std::filesystem;

std::vector<TState> threeRecords() {
    return {patternRecord(1), patternRecord(2), patternRecord(3)};
}

// One copy of the program with the file open in its viewer: what it saw at opening is what it knows.
struct Viewer {
    TStateFile file;
    FileIdentity known;

    explicit Viewer(const std::string& path) {
        file.assign(path);
        file.openExisting();
        known = file.identity();
    }
    void mark(std::int64_t n, std::int32_t action) {
        TState r;
        file.seek(n);
        file.read(r);
        r.setAction(action);
        rewriteRecordIfUnchanged(file, n, r, known);
    }
};

void save(const std::string& path, const TState& record) {
    TStateFile f;
    f.assign(path);
    addRecordToFile(f, record);
    f.close();
}

class CheckedWritesTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("s.tv0");
    void SetUp() override { writeBytes(path, fileImage(threeRecords())); }
};

// Each write moves what the viewer knows along, so its own writes never look like another's.
TEST_F(CheckedWritesTest, OwnWritesFollowOneAnother) {
    Viewer v(path);
    v.mark(1, 1);
    v.mark(2, 1);
    v.mark(1, 0);
    EXPECT_EQ(v.file.position(), 2);
    appendRecordIfUnchanged(v.file, patternRecord(4), v.known);
    EXPECT_EQ(v.known, FileIdentity::atPath(path));
    compactStateFileIfUnchanged(v.file, v.known);
    EXPECT_EQ(readBytes(path), fileImage({patternRecord(1), patternRecord(2), patternRecord(4)}));
}

struct Change {
    const char* name;
    std::function<void(const std::string& path)> make;
};

void PrintTo(const Change& c, std::ostream* os) {
    *os << c.name;
}

class ChangedByAnother : public CheckedWritesTest, public ::testing::WithParamInterface<Change> {};

// Whatever the other copy did stays as it left it: no mark lands on it, and no compaction undoes it.
TEST_P(ChangedByAnother, NothingIsWrittenAndTheChangeIsReported) {
    Viewer v(path);
    v.mark(0, 1);
    GetParam().make(path);
    const Bytes theirs = fs::exists(path) ? readBytes(path) : Bytes{};
    EXPECT_THROW(v.mark(2, 1), FileChangedError);
    EXPECT_THROW(appendRecordIfUnchanged(v.file, patternRecord(9), v.known), FileChangedError);
    EXPECT_TRUE(v.file.isOpen());
    EXPECT_THROW(compactStateFileIfUnchanged(v.file, v.known), FileChangedError);
    EXPECT_FALSE(v.file.isOpen());
    if (fs::exists(path))
        EXPECT_EQ(readBytes(path), theirs);
    else
        EXPECT_TRUE(theirs.empty());
    EXPECT_FALSE(OtherCopyLock::heldOn(path)) << "a lock was left behind";
}

INSTANTIATE_TEST_SUITE_P(Changes, ChangedByAnother,
                         ::testing::Values(Change{"RecordAdded",
                                                  [](const std::string& p) { save(p, patternRecord(7)); }},
                                           Change{"Compacted",
                                                  [](const std::string& p) {
                                                      Viewer other(p);
                                                      other.mark(1, 1);
                                                      compactStateFileIfUnchanged(other.file, other.known);
                                                  }},
                                           Change{"Removed", [](const std::string& p) { fs::remove(p); }},
                                           // Same size and file: only the modification time tells.
                                           Change{"MarkedInPlace",
                                                  [](const std::string& p) {
                                                      Viewer other(p);
                                                      other.mark(2, 1);
                                                      struct stat st {};
                                                      ::stat(p.c_str(), &st);
                                                      timespec later[2] = {st.st_atim, st.st_mtim};
                                                      later[1].tv_sec += 1;
                                                      ::utimensat(AT_FDCWD, p.c_str(), later, 0);
                                                  }}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(CheckedWritesTest, AFileAnotherCopyKeepsLockedIsNotWritten) {
    Viewer v(path);
    OtherCopyLock other(path);
    ASSERT_TRUE(other.locked());
    for (const auto& write : std::vector<std::function<void()>>{
             [&] { v.mark(0, 1); }, [&] { compactStateFileIfUnchanged(v.file, v.known); }}) {
        try {
            write();
            ADD_FAILURE() << "no error";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.code(), 32);
        }
    }
    EXPECT_EQ(readBytes(path), fileImage(threeRecords()));
}

TEST_F(CheckedWritesTest, AClosedFileIsCode103) {
    Viewer v(path);
    v.file.close();
    try {
        rewriteRecordIfUnchanged(v.file, 0, patternRecord(5), v.known);
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.code(), 103);
    }
}

// Copy 1 keeps the file open in its viewer; copy 2 deletes a record and compacts; a save adds a record and is
// confirmed; copy 1 then deletes a record and finishes. The confirmed record must survive and the deleted one
// stay deleted.
TEST_F(CheckedWritesTest, TwoCopiesKeepTheConfirmedSave) {
    Viewer copy1(path);
    {
        Viewer copy2(path);
        copy2.mark(0, 1);
        compactStateFileIfUnchanged(copy2.file, copy2.known);
    }
    save(path, patternRecord(4));
    const Bytes expected = fileImage({patternRecord(2), patternRecord(3), patternRecord(4)});
    ASSERT_EQ(readBytes(path), expected);
    EXPECT_THROW(copy1.mark(1, 1), FileChangedError);
    EXPECT_THROW(compactStateFileIfUnchanged(copy1.file, copy1.known), FileChangedError);
    EXPECT_EQ(readBytes(path), expected);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"s.tv0"});
}

}  // namespace
