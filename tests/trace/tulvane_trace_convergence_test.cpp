#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/convergence_sweep.h"
#include "core/fp_error.h"
#include "core/orbit_readout.h"
#include "core/vector_math.h"
#include "support/temp_files.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out;  // every byte
    std::string err;
};

std::string contentsOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Outcome runTrace(const std::string& args) {
    TempDir dir;
    const std::string cmd = std::string("'") + TULVANE_TRACE + "' " + args + " >'" + dir.file("out") +
                            "' 2>'" + dir.file("err") + "'";
    const int raw = std::system(cmd.c_str());
    Outcome o;
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    o.out = contentsOf(dir.file("out"));
    o.err = contentsOf(dir.file("err"));
    return o;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> cellsOf(const std::string& row) {
    std::vector<std::string> cells;
    std::stringstream in(row);
    for (std::string cell; std::getline(in, cell, ',');) cells.push_back(cell);
    if (!row.empty() && row.back() == ',') cells.push_back("");
    return cells;
}

// A bound orbit of about eleven days, one step a plot point: its default sweep is quick.
TState shortPeriodRecord() {
    TState s = defaultSettings();
    s.setCpT(1);
    s.setBSpeed(2);
    s.setAPos({2e11L, 1e11L});
    s.setBPos({2e11L, 1.2e10L});
    s.setASpeed(28);
    s.setADir(90);
    s.setBDir(270);
    return s;
}

// The tool prints the core's sweep byte for byte, for the built-in record and for records of a file, and it
// prints the same bytes every time.
TEST(TulvaneTraceConvergence, PrintsTheCoresSweepByteForByte) {
    TempDir dir;
    TState second = defaultSettings();
    second.setCpT(13);
    Bytes file = bytesOf(defaultSettings());
    const Bytes more = bytesOf(second);
    file.insert(file.end(), more.begin(), more.end());
    writeBytes(dir.file("two.tv0"), file);

    const struct {
        std::string args;
        TState start;
        Extended days;
    } cases[] = {
        {"--convergence --until 20", defaultSettings(), 20},
        {"--convergence --until=7.5 '" + dir.file("two.tv0") + "' 2", second, 7.5L},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const Outcome o = runTrace(c.args);
        EXPECT_EQ(o.status, 0) << o.err;
        ConvergenceSweep sweep(c.start, c.days * 86400);
        EXPECT_EQ(o.out, convergenceCsv(sweep.run(1)));
        EXPECT_EQ(runTrace(c.args).out, o.out);
        EXPECT_NE(o.err.find("tulvane-trace: least-squares order "), std::string::npos) << o.err;
    }
}

TEST(TulvaneTraceConvergence, RunsToOnePeriodOfABoundOrbitAndAYearOfAnOpenOne) {
    TempDir dir;
    const TState bound = shortPeriodRecord();
    TState open = bound;
    open.setBSpeed(-150);  // B flies off
    open.setCpT(1);
    Bytes file = bytesOf(bound);
    const Bytes more = bytesOf(open);
    file.insert(file.end(), more.begin(), more.end());
    writeBytes(dir.file("orbits.tv0"), file);

    const OrbitReadout boundOrbit = readOrbit(bound);
    ASSERT_TRUE(boundOrbit.period);
    const Extended periodDays = *boundOrbit.period / 86400;
    ASSERT_LT(periodDays, 60);
    ASSERT_FALSE(readOrbit(open).period);

    for (const auto& [record, days] : {std::pair{1, periodDays}, std::pair{2, 365.25L}}) {
        SCOPED_TRACE(record);
        const Outcome o =
            runTrace("--convergence '" + dir.file("orbits.tv0") + "' " + std::to_string(record));
        EXPECT_EQ(o.status, 0) << o.err;
        const std::vector<std::string> lines = linesOf(o.out);
        ASSERT_GE(lines.size(), 2u);
        // The longest interval reaches the end with a plot point; the next one on the menu would not.
        const Extended longest = std::strtold(cellsOf(lines.back())[0].c_str(), nullptr);
        EXPECT_LE(longest, days * 86400);
        const Extended intervals[] = {60,     100,    1000,    3600,    10000,    86400,
                                      100000, 604800, 1000000, 2626560, 10000000, 31557600};
        ASSERT_EQ(lines.size() - 1 < std::size(intervals), days < 365.25L);
        if (lines.size() - 1 < std::size(intervals)) {
            EXPECT_GT(intervals[lines.size() - 1], days * 86400);
        }
        for (std::size_t i = 1; i < lines.size(); ++i) {
            EXPECT_EQ(cellsOf(lines[i]).size(), 11u) << lines[i];
            EXPECT_LE(std::strtold(cellsOf(lines[i])[3].c_str(), nullptr), days) << lines[i];
        }
    }
}

TEST(TulvaneTraceConvergence, AskForForceBeyondAHundredYearsAndSaysWhyRowsAreNotRun) {
    const Outcome refused = runTrace("--convergence --until 36526");
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(
        refused.err,
        "tulvane-trace: the sweep would run to day 36526.0, beyond 100 years: give --until, or --force to "
        "run it\n");

    // Five million years: even a year's interval needs more plot points than a sweep makes.
    const Outcome forced = runTrace("--convergence --force --until 2e9");
    EXPECT_EQ(forced.status, 0) << forced.err;
    const std::vector<std::string> lines = linesOf(forced.out);
    ASSERT_EQ(lines.size(), 13u);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> cells = cellsOf(lines[i]);
        ASSERT_EQ(cells.size(), 11u);
        for (std::size_t c = 4; c < 10; ++c) EXPECT_EQ(cells[c], "") << lines[i];
        EXPECT_EQ(cells[10], "no");
    }
    EXPECT_NE(forced.err.find("tulvane-trace: plot interval 3.15576000000000000000e+07 s: needs 5475701 plot "
                              "points; runs of more than 5000000 are not made\n"),
              std::string::npos)
        << forced.err;
}

TEST(TulvaneTraceConvergence, AFailedRowIsPrintedEmptyAndEndsWithStatusOne) {
    TempDir dir;
    TState s = defaultSettings();
    s.setCpT(0);
    writeBytes(dir.file("zero.tv0"), bytesOf(s));
    const Outcome o = runTrace("--convergence --until 2 '" + dir.file("zero.tv0") + "'");
    EXPECT_EQ(o.status, 1);
    const std::vector<std::string> lines = linesOf(o.out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(cellsOf(lines[1])[1], "inf");
    EXPECT_NE(o.err.find(std::string("tulvane-trace: plot interval 6.00000000000000000000e+01 s: ") +
                         ZeroDivideText + "\n"),
              std::string::npos)
        << o.err;
}

TEST(TulvaneTraceConvergence, RefusesArgumentsThatDoNotFit) {
    const struct {
        const char* args;
        const char* message;
    } cases[] = {
        {"--convergence --until", "--until needs a number of days"},
        {"--convergence --until 0", "--until needs a number of days above 0, not \"0\""},
        {"--convergence --until -5", "--until needs a number of days above 0, not \"-5\""},
        {"--convergence --until=nan", "--until needs a number of days above 0, not \"nan\""},
        {"--convergence --until 1e99999", "--until needs a number of days above 0, not \"1e99999\""},
        {"--convergence --until 3days", "--until needs a number of days above 0, not \"3days\""},
        {"--convergence --points 4",
         "--convergence prints a table of its own: leave out --points and --orbit"},
        {"--orbit --convergence", "--convergence prints a table of its own: leave out --points and --orbit"},
        {"--until 3", "--until and --force go with --convergence"},
        {"--force", "--until and --force go with --convergence"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const Outcome o = runTrace(c.args);
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(o.err, std::string("tulvane-trace: ") + c.message + "\n");
    }
}

}  // namespace
