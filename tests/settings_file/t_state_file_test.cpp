#include "settings_file/t_state_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include "settings_file/in_out_error.h"
#include "support/scratch_mount.h"
#include "support/sys_fault.h"
#include "support/temp_files.h"

namespace {

using SysCalls::Call;
namespace fs = std::filesystem;

// Runs f and returns the EInOutError it throws; fails the test when it throws nothing.
EInOutError thrownBy(const std::function<void()>& f) {
    try {
        f();
    } catch (const EInOutError& e) {
        return e;
    }
    ADD_FAILURE() << "no EInOutError thrown";
    return EInOutError(0);
}

class TStateFileTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("s.tv0");
};

TEST_F(TStateFileTest, EveryOperationOnAClosedFileFailsWithCode103) {
    TStateFile f;
    f.assign(path);
    TState r;
    const std::vector<std::pair<const char*, std::function<void()>>> ops = {
        {"size", [&] { f.size(); }},   {"position", [&] { f.position(); }},
        {"atEnd", [&] { f.atEnd(); }}, {"seek", [&] { f.seek(0); }},
        {"read", [&] { f.read(r); }},  {"write", [&] { f.write(r); }},
        {"close", [&] { f.close(); }}, {"appendRecord", [&] { f.appendRecord(r); }},
    };
    for (const auto& [name, op] : ops) {
        SCOPED_TRACE(name);
        const EInOutError e = thrownBy(op);
        EXPECT_EQ(e.code(), 103);
        EXPECT_STREQ(e.what(), "I/O error 103");
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(TStateFileTest, RecordsGoOutAndComeBackByteForByte) {
    TStateFile f;
    f.assign(path);
    f.create();
    const TState a = patternRecord(1), b = patternRecord(2, 1);
    f.write(a);
    f.write(b);
    EXPECT_EQ(f.size(), 2);
    EXPECT_EQ(f.position(), 2);
    EXPECT_TRUE(f.atEnd());
    f.close();
    EXPECT_EQ(readBytes(path), fileImage({a, b}));

    f.openExisting();
    EXPECT_EQ(f.position(), 0);
    EXPECT_FALSE(f.atEnd());
    f.seek(1);
    TState got;
    f.read(got);
    EXPECT_EQ(got, b);
    f.seek(0);
    f.read(got);
    EXPECT_EQ(got, a);
    EXPECT_EQ(f.position(), 1);
    f.close();
    EXPECT_FALSE(f.isOpen());
}

TEST_F(TStateFileTest, WriteInsideTheFileReplacesOneRecordInPlace) {
    writeBytes(path, fileImage({patternRecord(1), patternRecord(2), patternRecord(3)}, 50));
    TStateFile f;
    f.assign(path);
    f.openExisting();
    f.seek(1);
    f.write(patternRecord(9));
    EXPECT_EQ(f.position(), 2);
    f.close();
    EXPECT_EQ(readBytes(path), fileImage({patternRecord(1), patternRecord(9), patternRecord(3)}, 50));
}

TEST_F(TStateFileTest, CreateEmptiesAnExistingFile) {
    writeBytes(path, fileImage({patternRecord(1)}));
    TStateFile f;
    f.assign(path);
    f.create();
    EXPECT_EQ(f.size(), 0);
    EXPECT_TRUE(f.atEnd());
    f.close();
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
}

TEST_F(TStateFileTest, CreateNewNeverEmptiesWhatExists) {
    const Bytes image = fileImage({patternRecord(1)}, 10);
    writeBytes(path, image);
    fs::create_symlink("s.tv0", dir.file("link.tv0"));
    TStateFile f;
    for (const std::string& at : {path, dir.file("link.tv0")}) {
        f.assign(at);
        EXPECT_FALSE(f.createNew());
        EXPECT_FALSE(f.isOpen());
    }
    EXPECT_EQ(readBytes(path), image);

    f.assign(dir.file("fresh.tv0"));
    std::string made;
    ASSERT_TRUE(f.createNew(&made));
    EXPECT_EQ(made, dir.file("fresh.tv0"));
    EXPECT_EQ(f.size(), 0);
    f.write(patternRecord(2));
    f.close();
    EXPECT_EQ(readBytes(made), fileImage({patternRecord(2)}));
}

class TStateFileSize : public TStateFileTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(TStateFileSize, CountsWholeRecordsOnly) {
    const auto [records, tail] = GetParam();
    writeBytes(path, fileImage(std::vector<TState>(records, patternRecord(4)), tail));
    TStateFile f;
    f.assign(path);
    f.openExisting();
    EXPECT_EQ(f.size(), records);
    f.seek(records);
    EXPECT_TRUE(f.atEnd());
    if (tail > 0) {
        TState r;
        const EInOutError e = thrownBy([&] { f.read(r); });
        EXPECT_EQ(e.code(), 100);
        EXPECT_STREQ(e.what(), "Read beyond end of file");
        EXPECT_EQ(f.position(), records);
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, TStateFileSize,
                         ::testing::Values(std::pair{0, 0}, std::pair{0, 292}, std::pair{1, 0},
                                           std::pair{2, 1}, std::pair{3, 292}));

TEST_F(TStateFileTest, OpeningAMissingFileOrFolderNamesWhatIsMissing) {
    TStateFile f;
    f.assign(path);
    EXPECT_STREQ(thrownBy([&] { f.openExisting(); }).what(), "The specified file was not found");
    f.assign(dir.file("gone/s.tv0"));
    EXPECT_STREQ(thrownBy([&] { f.openExisting(); }).what(), "Invalid file name - %s");
    EXPECT_STREQ(thrownBy([&] { f.create(); }).what(), "Invalid file name - %s");
    EXPECT_FALSE(f.isOpen());
}

TEST(TStateFileReadOnlyMount, OpeningForWritingIsAccessDenied) {
    ScratchMount mount;
    if (!mount.ok()) GTEST_SKIP() << mount.why();
    const std::string path = mount.path() + "/s.tv0";
    writeBytes(path, fileImage({patternRecord(1)}));
    if (!mount.makeReadOnly()) GTEST_SKIP() << mount.why();
    TStateFile f;
    f.assign(path);
    for (const auto& op :
         {std::function<void()>([&] { f.openExisting(); }), std::function<void()>([&] { f.create(); })}) {
        const EInOutError e = thrownBy(op);
        EXPECT_EQ(e.kindName(), "EInOutError");
        EXPECT_STREQ(e.what(), "File access denied");
    }
    EXPECT_EQ(readBytes(path), fileImage({patternRecord(1)}));
}

class TStateFileAppend : public TStateFileTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(TStateFileAppend, LandsAfterTheLastWholeRecordOverAnyTail) {
    const auto [records, tail] = GetParam();
    std::vector<TState> before;
    before.reserve(static_cast<std::size_t>(records));
    for (int i = 0; i < records; ++i) before.push_back(patternRecord(i));
    writeBytes(path, fileImage(before, tail));
    TStateFile f;
    f.assign(path);
    f.openExisting();
    f.appendRecord(patternRecord(50));
    EXPECT_EQ(f.position(), records + 1);
    f.close();
    before.push_back(patternRecord(50));
    EXPECT_EQ(readBytes(path), fileImage(before));
}

INSTANTIATE_TEST_SUITE_P(Lengths, TStateFileAppend,
                         ::testing::Values(std::pair{0, 0}, std::pair{0, 100}, std::pair{1, 0},
                                           std::pair{2, 1}, std::pair{2, 292}));

struct AppendFault {
    const char* name;
    Call call;
    SysCalls::Outcome outcome;
    const char* text;
};

void PrintTo(const AppendFault& f, std::ostream* os) {
    *os << f.name;
}

class TStateFileAppendFault : public TStateFileTest,
                              public ::testing::WithParamInterface<std::tuple<AppendFault, int>> {};

// A torn record would be read as garbage later: the file must come back exactly as it was, tail included.
TEST_P(TStateFileAppendFault, LeavesTheFileExactlyAsItWas) {
    const auto [fault, tail] = GetParam();
    const Bytes before = fileImage({patternRecord(1), patternRecord(2)}, static_cast<std::size_t>(tail));
    writeBytes(path, before);
    TStateFile f;
    f.assign(path);
    f.openExisting();
    {
        SysFault inject(fault.call, 1, fault.outcome);
        const EInOutError e = thrownBy([&] { f.appendRecord(patternRecord(3)); });
        EXPECT_TRUE(inject.fired());
        EXPECT_STREQ(e.what(), fault.text);
    }
    EXPECT_EQ(f.size(), 2);
    f.close();
    EXPECT_EQ(readBytes(path), before);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TStateFileAppendFault,
    ::testing::Combine(::testing::Values(AppendFault{"ShortWrite", Call::Write, {0, 120}, "Disk full"},
                                         AppendFault{"NothingWritten", Call::Write, {0, 0}, "Disk full"},
                                         AppendFault{"NoSpace", Call::Write, {ENOSPC}, "Disk full"},
                                         AppendFault{"DeviceError", Call::Write, {EIO}, "I/O error 5"},
                                         AppendFault{"StatFails", Call::Stat, {EIO}, "I/O error 5"}),
                       ::testing::Values(0, 200)),
    [](const auto& p) {
        return std::string(std::get<0>(p.param).name) + "Tail" + std::to_string(std::get<1>(p.param));
    });

TEST(TStateFileFullDisk, AppendThatDoesNotFitKeepsTheFormerLength) {
    ScratchMount mount;
    if (!mount.ok()) GTEST_SKIP() << mount.why();
    const std::string path = mount.path() + "/s.tv0";
    TStateFile f;
    f.assign(path);
    f.create();
    // Fill the file system with records until one does not fit, checking the file after every failure.
    int written = 0;
    for (;; ++written) {
        const auto former = std::filesystem::file_size(path);
        try {
            f.appendRecord(patternRecord(written));
        } catch (const EInOutError& e) {
            EXPECT_STREQ(e.what(), "Disk full");
            EXPECT_EQ(std::filesystem::file_size(path), former);
            break;
        }
        ASSERT_LT(written, 1000) << "the 64 KiB file system never filled";
    }
    f.close();
    EXPECT_GT(written, 0);
    std::vector<TState> expected;
    expected.reserve(static_cast<std::size_t>(written));
    for (int i = 0; i < written; ++i) expected.push_back(patternRecord(i));
    EXPECT_EQ(readBytes(path), fileImage(expected));
}

// A file-size limit cuts a write short part-way through the record, as a disk that fills up would.
TEST_F(TStateFileTest, AppendCutShortByAFileSizeLimitKeepsTheFileAsItWas) {
    const Bytes before = fileImage({patternRecord(1), patternRecord(2)}, 40);
    writeBytes(path, before);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{700, 700};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(2);
        TStateFile f;
        f.assign(path);
        f.openExisting();
        try {
            f.appendRecord(patternRecord(3));
        } catch (const EInOutError& e) {
            ::_exit(std::string(e.what()) == "Disk full" ? 0 : 3);
        }
        ::_exit(4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: no limit, 3: other error, 4: no error";
    EXPECT_EQ(readBytes(path), before);
}

TEST_F(TStateFileTest, PlainWriteCutShortIsDiskFullAndKeepsThePosition) {
    TStateFile f;
    f.assign(path);
    f.create();
    SysFault inject(Call::Write, 1, {0, 10});
    EXPECT_STREQ(thrownBy([&] { f.write(patternRecord(1)); }).what(), "Disk full");
    EXPECT_EQ(f.position(), 0);
}

TEST_F(TStateFileTest, ReadFailureKeepsThePositionAndTheRecord) {
    writeBytes(path, fileImage({patternRecord(1)}));
    TStateFile f;
    f.assign(path);
    f.openExisting();
    TState r = patternRecord(7);
    SysFault inject(Call::Read, 1, {EIO});
    EXPECT_STREQ(thrownBy([&] { f.read(r); }).what(), "I/O error 5");
    EXPECT_EQ(f.position(), 0);
    EXPECT_EQ(r, patternRecord(7));
}

TEST_F(TStateFileTest, FailedCloseIsReportedAndStillClosesTheFile) {
    TStateFile f;
    f.assign(path);
    f.create();
    {
        SysFault inject(Call::Close, 1, {EIO});
        EXPECT_STREQ(thrownBy([&] { f.close(); }).what(), "I/O error 5");
    }
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(thrownBy([&] { f.close(); }).code(), 103);
}

TEST_F(TStateFileTest, TooManyOpenFilesHasItsOwnText) {
    writeBytes(path, {});
    TStateFile f;
    f.assign(path);
    SysFault inject(Call::Open, 1, {EMFILE});
    EXPECT_STREQ(thrownBy([&] { f.openExisting(); }).what(), "Too many open files");
}

}  // namespace
