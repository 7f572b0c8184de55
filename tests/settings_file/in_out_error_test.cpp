#include "settings_file/in_out_error.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "support/temp_files.h"

namespace {

struct CodeCase {
    int code;
    const char* text;
};

void PrintTo(const CodeCase& c, std::ostream* os) {
    *os << c.code;
}

class InOutErrorCodeText : public ::testing::TestWithParam<CodeCase> {};

TEST_P(InOutErrorCodeText, CarriesKindCodeAndText) {
    const EInOutError e(GetParam().code);
    EXPECT_EQ(e.kindName(), "EInOutError");
    EXPECT_EQ(e.code(), GetParam().code);
    EXPECT_STREQ(e.what(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, InOutErrorCodeText,
                         ::testing::Values(CodeCase{2, "The specified file was not found"},
                                           CodeCase{3, "Invalid file name - %s"},
                                           CodeCase{4, "Too many open files"},
                                           CodeCase{5, "File access denied"},
                                           CodeCase{100, "Read beyond end of file"},
                                           CodeCase{101, "Disk full"}, CodeCase{103, "I/O error 103"},
                                           CodeCase{32, "I/O error 32"}, CodeCase{0, "I/O error 0"}));

struct ErrnoCase {
    int err;
    int code;
    const char* text;
};

void PrintTo(const ErrnoCase& c, std::ostream* os) {
    *os << "errno " << c.err;
}

class InOutErrorFromErrno : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(InOutErrorFromErrno, MapsToTheUsersText) {
    const EInOutError e = EInOutError::fromErrno(GetParam().err);
    EXPECT_EQ(e.kindName(), "EInOutError");
    EXPECT_EQ(e.code(), GetParam().code);
    EXPECT_STREQ(e.what(), GetParam().text);
}

// An errno without a code of its own keeps its number: EIO (5) must not read "File access denied". A
// file-size limit (EFBIG) reads as the full disk it is to the user.
INSTANTIATE_TEST_SUITE_P(
    Table, InOutErrorFromErrno,
    ::testing::Values(ErrnoCase{ENOENT, 2, "The specified file was not found"},
                      ErrnoCase{ENOTDIR, 3, "Invalid file name - %s"},
                      ErrnoCase{EACCES, 5, "File access denied"}, ErrnoCase{EPERM, 5, "File access denied"},
                      ErrnoCase{EROFS, 5, "File access denied"}, ErrnoCase{EMFILE, 4, "Too many open files"},
                      ErrnoCase{ENFILE, 4, "Too many open files"}, ErrnoCase{ENOSPC, 101, "Disk full"},
                      ErrnoCase{EIO, EIO, "I/O error 5"}, ErrnoCase{EISDIR, EISDIR, "I/O error 21"},
                      ErrnoCase{EFBIG, 101, "Disk full"}));

// Only a failure without a code of the table keeps its errno for the system's own text.
TEST(InOutErrorFromErrno, KeepsTheErrnoOnlyWhereTheTableHasNoCode) {
    EXPECT_EQ(EInOutError::fromErrno(EISDIR).unmappedErrno(), EISDIR);
    EXPECT_EQ(EInOutError::fromErrno(ELOOP).unmappedErrno(), ELOOP);
    EXPECT_EQ(EInOutError::fromErrno(ENOENT).unmappedErrno(), 0);
    EXPECT_EQ(EInOutError::fromErrno(EFBIG).unmappedErrno(), 0);
    EXPECT_EQ(EInOutError(IoCode::Locked).unmappedErrno(), 0);
}

TEST(InOutErrorFromErrnoOnPath, MissingFileIsNotFoundButMissingFolderIsInvalidName) {
    TempDir dir;
    EXPECT_EQ(EInOutError::fromErrno(ENOENT, dir.file("none.tv0")).code(), 2);
    EXPECT_EQ(EInOutError::fromErrno(ENOENT, dir.file("gone/none.tv0")).code(), 3);
    EXPECT_STREQ(EInOutError::fromErrno(ENOENT, dir.file("gone/none.tv0")).what(), "Invalid file name - %s");
    // A bare name lives in the current folder, which exists.
    EXPECT_EQ(EInOutError::fromErrno(ENOENT, "none.tv0").code(), 2);
    EXPECT_EQ(EInOutError::fromErrno(EACCES, dir.file("gone/none.tv0")).code(), 5);
}

}  // namespace
