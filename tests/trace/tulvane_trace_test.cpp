#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/run.h"
#include "support/plot_point_states.h"
#include "support/scratch_mount.h"
#include "support/temp_files.h"

namespace {

const std::string Header = "point,days,a_u,a_v,b_u,b_v,a_speed,a_dir,b_speed,b_dir";

struct Outcome {
    int status = -1;
    std::vector<std::string> out;  // lines
    std::string err;
};

std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// feed: a shell command whose output becomes the tool's standard input.
Outcome runTrace(const std::string& args, const std::string& feed = "") {
    TempDir dir;
    const std::string cmd = (feed.empty() ? "" : feed + " | ") + "'" + TULVANE_TRACE + "' " + args + " >'" +
                            dir.file("out") + "' 2>'" + dir.file("err") + "'";
    const int raw = std::system(cmd.c_str());
    Outcome o;
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    o.out = linesOf(dir.file("out"));
    for (const std::string& line : linesOf(dir.file("err"))) o.err += line + "\n";
    return o;
}

std::vector<Extended> fieldsOf(const std::string& row) {
    std::vector<Extended> values;
    std::stringstream in(row);
    for (std::string cell; std::getline(in, cell, ',');)
        values.push_back(std::strtold(cell.c_str(), nullptr));
    return values;
}

bool sameBits(Extended a, Extended b) {
    return bytesOfExtended(a) == bytesOfExtended(b);
}

// The state at each plot point, as Run computes it in this process, after the start.
std::vector<TState> statesOfRun(const TState& start, std::int32_t points) {
    std::vector<TState> states{start};
    const std::vector<TState> later = plotPointStates(start, points);
    states.insert(states.end(), later.begin(), later.end());
    return states;
}

// Every printed value must read back to the very bits Run holds.
void expectRowsMatch(const std::vector<std::string>& out, const std::vector<TState>& states, Extended dT) {
    ASSERT_EQ(out.size(), states.size() + 1);
    EXPECT_EQ(out[0], Header);
    for (std::size_t k = 0; k < states.size(); ++k) {
        const std::vector<Extended> f = fieldsOf(out[k + 1]);
        ASSERT_EQ(f.size(), 10u) << out[k + 1];
        const TState& s = states[k];
        EXPECT_EQ(f[0], k);
        EXPECT_TRUE(sameBits(f[1], k == 0 ? 0 : static_cast<Extended>(k) * dT / 86400)) << "days at " << k;
        const Extended expected[] = {s.APos().u, s.APos().v, s.BPos().u, s.BPos().v,
                                     s.ASpeed(), s.ADir(),   s.BSpeed(), s.BDir()};
        for (int i = 0; i < 8; ++i)
            EXPECT_TRUE(sameBits(f[2 + i], expected[i])) << "row " << k << " column " << i;
    }
}

TEST(TulvaneTrace, DefaultsPrintExactlyWhatRunComputes) {
    const Outcome o = runTrace("--points 5");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "");
    expectRowsMatch(o.out, statesOfRun(defaultSettings(), 5), 86400);
}

TEST(TulvaneTrace, HundredPointsByDefault) {
    const Outcome o = runTrace("");
    EXPECT_EQ(o.status, 0);
    ASSERT_EQ(o.out.size(), 102u);
    EXPECT_EQ(o.out.back().substr(0, 4), "100,");
}

TEST(TulvaneTrace, RecordOfAFileStartsTheRunWithItsOwnInterval) {
    TempDir dir;
    TState second = defaultSettings();
    second.setDT(3600);
    second.setCpT(9);
    second.setAPos({-1e11L, 3e11L});
    writeBytes(dir.file("two.TV0"), fileImage({defaultSettings(), second}));
    const Outcome o = runTrace("--points 6 '" + dir.file("two.TV0") + "' 2");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "");
    expectRowsMatch(o.out, statesOfRun(second, 6), 3600);
    ASSERT_EQ(o.out.size(), 8u);
    EXPECT_EQ(fieldsOf(o.out[7])[1], 0.25L);
}

TEST(TulvaneTrace, ReadsAFileThatMayNotBeWritten) {
    ScratchMount mount;
    if (!mount.ok()) GTEST_SKIP() << mount.why();
    const std::string path = mount.path() + "/ro.TV0";
    writeBytes(path, fileImage({defaultSettings()}));
    if (!mount.makeReadOnly()) GTEST_SKIP() << mount.why();
    const Outcome o = runTrace("--points 1 '" + path + "'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out.size(), 3u);
}

struct BadCase {
    const char* name;
    // FILE stands for a file of two records, EMPTY for 0 bytes, SHORT for 292, BIGCPT and NEGCPT for records
    // whose cpT is beyond a million steps per point
    std::string args;
};

TState withCpT(std::int32_t cpT) {
    TState s = defaultSettings();
    s.setCpT(cpT);
    return s;
}

class TulvaneTraceRefuses : public ::testing::TestWithParam<BadCase> {};

TEST_P(TulvaneTraceRefuses, WithOneLineAndStatusTwo) {
    TempDir dir;
    writeBytes(dir.file("two.TV0"), fileImage({defaultSettings(), defaultSettings()}));
    writeBytes(dir.file("empty.TV0"), {});
    writeBytes(dir.file("short.TV0"), Bytes(292, 1));
    writeBytes(dir.file("bigcpt.TV0"), fileImage({defaultSettings(), withCpT(1000001), withCpT(INT32_MAX)}));
    writeBytes(dir.file("negcpt.TV0"), fileImage({withCpT(-1000001), withCpT(INT32_MIN)}));
    std::string args = GetParam().args;
    for (const auto& [key, name] : {std::pair<std::string, std::string>{"FILE", "two.TV0"},
                                    {"EMPTY", "empty.TV0"},
                                    {"SHORT", "short.TV0"},
                                    {"MISSING", "none.TV0"},
                                    {"BIGCPT", "bigcpt.TV0"},
                                    {"NEGCPT", "negcpt.TV0"}}) {
        if (auto at = args.find(key); at != std::string::npos) args.replace(at, key.size(), dir.file(name));
    }
    const Outcome o = runTrace(args);
    EXPECT_EQ(o.status, 2);
    EXPECT_TRUE(o.out.empty());
    EXPECT_EQ(o.err.rfind("tulvane-trace: ", 0), 0u) << o.err;
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, TulvaneTraceRefuses,
    ::testing::Values(BadCase{"missingfile", "MISSING"}, BadCase{"emptyfile", "EMPTY"},
                      BadCase{"nowholerecord", "SHORT 1"}, BadCase{"recordzero", "FILE 0"},
                      BadCase{"recordpastend", "FILE 3"}, BadCase{"recordnotanumber", "FILE x"},
                      BadCase{"folder", "/"}, BadCase{"negativepoints", "--points -1"},
                      BadCase{"hugepoints", "--points 2147483648"}, BadCase{"pointsmissing", "--points"},
                      BadCase{"unknownoption", "--fast"}, BadCase{"toomany", "FILE 1 2"},
                      BadCase{"emptyname", "''"}, BadCase{"emptynameafterpoints", "--points 3 ''"},
                      BadCase{"cptjustovermillion", "BIGCPT 2"}, BadCase{"cptlargest", "BIGCPT 3"},
                      BadCase{"cptjustundermillion", "NEGCPT 1"}, BadCase{"cptsmallest", "NEGCPT 2"}),
    [](const auto& p) { return std::string(p.param.name); });

struct FailCase {
    const char* name;
    void (*damage)(TState&);
    const char* text;
};

class TulvaneTraceFails : public ::testing::TestWithParam<FailCase> {};

TEST_P(TulvaneTraceFails, AfterTheRowsSoFarWithTheErrorTextAndStatusOne) {
    TempDir dir;
    TState s = defaultSettings();
    GetParam().damage(s);
    writeBytes(dir.file("bad.TV0"), fileImage({s}));
    const Outcome o = runTrace("'" + dir.file("bad.TV0") + "' 1");
    EXPECT_EQ(o.status, 1);
    ASSERT_EQ(o.out.size(), 2u);
    EXPECT_EQ(o.out[0], Header);
    EXPECT_EQ(o.out[1].substr(0, 2), "0,");
    EXPECT_EQ(o.err, "tulvane-trace: " + std::string(GetParam().text) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Records, TulvaneTraceFails,
                         ::testing::Values(FailCase{"samepoint", [](TState& s) { s.setBPos(s.APos()); },
                                                    "Floating point division by zero"},
                                           FailCase{"nostepsperinterval", [](TState& s) { s.setCpT(0); },
                                                    "Floating point division by zero"},
                                           FailCase{"hugeangle", [](TState& s) { s.setBDir(1e300L); },
                                                    "Invalid floating point operation"}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(TulvaneTrace, HelpDescribesTheCommand) {
    const Outcome o = runTrace("--help");
    EXPECT_EQ(o.status, 0);
    ASSERT_FALSE(o.out.empty());
    EXPECT_EQ(o.out[0], "Usage: tulvane-trace [--points N] [--orbit] [FILE.TV0 [RECORD]]");
}

TEST(TulvaneTrace, AMillionCalculationsPerIntervalAreStillRun) {
    TempDir dir;
    writeBytes(dir.file("million.TV0"), fileImage({withCpT(1000000)}));
    const Outcome o = runTrace("--points 1 '" + dir.file("million.TV0") + "'");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out.size(), 3u);
}

TEST(TulvaneTrace, AFileThatCannotBeReadIsDescribedInTheSystemsWords) {
    TempDir dir;
    std::filesystem::create_symlink("b.TV0", dir.file("a.TV0"));
    std::filesystem::create_symlink("a.TV0", dir.file("b.TV0"));
    for (const auto& [file, err] :
         {std::pair<std::string, int>{dir.path(), EISDIR}, {dir.file("a.TV0"), ELOOP}}) {
        const Outcome o = runTrace("'" + file + "'");
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(o.err, "tulvane-trace: cannot read " + file + ": " + std::strerror(err) + "\n");
    }
}

// Body A flies off so fast that the squared separation overflows after about 10900 plot points: a tool that
// went on computing after its reader left would end with that error instead of the failed write.
TEST(TulvaneTrace, StopsAtTheFirstFailedWrite) {
    TempDir dir;
    TState s = defaultSettings();
    s.setASpeed(1e2459L);
    s.setDT(1);
    s.setCpT(1);
    writeBytes(dir.file("fast.TV0"), fileImage({s}));
    const Outcome whole = runTrace("--points 20000 '" + dir.file("fast.TV0") + "'");
    ASSERT_EQ(whole.err, "tulvane-trace: Floating point overflow\n") << "the record no longer fails late";
    ASSERT_GT(whole.out.size(), 5000u);

    // With SIGPIPE ignored, as many shells and tools leave it, and with its default action, which would end
    // the tool by the signal: once head has gone, the write fails with EPIPE, and a closed pipe is no error
    // worth a message.
    for (const std::string setup : {"trap '' PIPE; ", ""}) {
        SCOPED_TRACE(setup.empty() ? "SIGPIPE default" : "SIGPIPE ignored");
        const std::string cmd = setup + "{ '" + std::string(TULVANE_TRACE) + "' --points 20000 '" +
                                dir.file("fast.TV0") + "' 2>'" + dir.file("err") + "'; echo $? >'" +
                                dir.file("status") + "'; } | head -c 1 >/dev/null";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        EXPECT_EQ(linesOf(dir.file("status")), std::vector<std::string>{"2"});
        EXPECT_EQ(linesOf(dir.file("err")), std::vector<std::string>{});
    }
}

// "-" reads the settings file from standard input, from a pipe that gives the records in pieces too.
TEST(TulvaneTrace, ReadsTheSettingsFileFromStandardInput) {
    TempDir dir;
    TState second = defaultSettings();
    second.setDT(3600);
    second.setCpT(9);
    writeBytes(dir.file("two.TV0"), fileImage({defaultSettings(), second}, 100));
    const std::string file = "'" + dir.file("two.TV0") + "'";
    const struct {
        const char* name;
        std::string args;
        std::string feed;
        int status;
        std::string err;
    } cases[] = {
        {"redirected file", "--points 3 - 2 <" + file, "", 0, ""},
        // dd writes 100 bytes at a time, so that reads return parts of records.
        {"pipe in pieces", "--points 3 - 2", "dd if=" + file + " bs=100 status=none", 0, ""},
        {"beyond the last whole record", "--points 3 - 3", "cat " + file, 2,
         "tulvane-trace: record 3 is out of range: standard input holds 2 records\n"},
        {"empty", "--points 3 -", "true", 2, "tulvane-trace: standard input holds no whole record\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome o = runTrace(c.args, c.feed);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.err, c.err);
        if (c.status == 0) expectRowsMatch(o.out, statesOfRun(second, 3), 3600);
    }
}

// A file-size limit ends the tool with a message, not with SIGXFSZ.
TEST(TulvaneTrace, AFileSizeLimitOnTheOutputIsReported) {
    TempDir dir;
    const std::string cmd = "ulimit -f 1; '" + std::string(TULVANE_TRACE) + "' --points 1000 >'" +
                            dir.file("out") + "' 2>'" + dir.file("err") + "'";
    const int raw = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(raw)) << "killed by a signal";
    EXPECT_EQ(WEXITSTATUS(raw), 2);
    EXPECT_EQ(linesOf(dir.file("err")), std::vector<std::string>{"tulvane-trace: cannot write the output: " +
                                                                 std::string(std::strerror(EFBIG))});
    const std::vector<std::string> out = linesOf(dir.file("out"));
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out[0], Header);
}

// CPU time the process has used, in clock ticks.
long cpuTicksOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::stringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stol(field);
        if (i == 15) stime = std::stol(field);
    }
    return utime + stime;
}

// A million steps per point take a while: the header and the start row must reach the reader before that,
// not wait in a buffer that only a finished run would flush.
TEST(TulvaneTrace, TheStartIsOutBeforeTheRunBegins) {
    TempDir dir;
    writeBytes(dir.file("slow.TV0"), fileImage({withCpT(1000000)}));
    const std::string out = dir.file("out");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(fd, 1);
        ::execl(TULVANE_TRACE, TULVANE_TRACE, "--points", "2147483647", dir.file("slow.TV0").c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Well inside the first plot interval: a fifth of a second of computing, far less than a million steps.
    const long ticks = ::sysconf(_SC_CLK_TCK) / 5;
    bool running = true;
    while (running && cpuTicksOf(child) < ticks) {
        const timespec pause{0, 10'000'000};
        ::nanosleep(&pause, nullptr);
        running = ::waitpid(child, nullptr, WNOHANG) == 0;
    }
    ASSERT_TRUE(running) << "the tool ended on its own";
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const std::vector<std::string> lines = linesOf(out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], Header);
    EXPECT_EQ(lines[1].substr(0, 2), "0,");
}

}  // namespace
