#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "core/extended_near.h"
#include "core/orbit_drift.h"
#include "support/plot_point_states.h"
#include "support/temp_files.h"

namespace {

const std::string Classic = "point,days,a_u,a_v,b_u,b_v,a_speed,a_dir,b_speed,b_dir";
const std::string Orbit =
    "relative_energy,total_energy,angular_momentum,eccentricity,semi_major_axis,period,energy_drift";

// The lines tulvane-trace prints, and its exit status.
std::vector<std::string> traceLines(const std::string& args, int* status = nullptr) {
    const std::string cmd = std::string("'") + TULVANE_TRACE + "' " + args + " 2>/dev/null";
    FILE* pipe = ::popen(cmd.c_str(), "r");
    std::vector<std::string> lines;
    if (!pipe) return lines;
    std::string line;
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        lines.push_back(line);
        line.clear();
    }
    const int raw = ::pclose(pipe);
    if (status) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return lines;
}

std::vector<std::string> cellsOf(const std::string& row) {
    std::vector<std::string> cells;
    std::stringstream in(row);
    for (std::string cell; std::getline(in, cell, ',');) cells.push_back(cell);
    if (!row.empty() && row.back() == ',') cells.push_back("");
    return cells;
}

// The orbit cell of a row by its name: empty when the field is.
Quantity cell(const std::string& row, const std::string& name) {
    const std::vector<std::string> names = cellsOf(Classic + "," + Orbit);
    const std::vector<std::string> cells = cellsOf(row);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name && i < cells.size() && !cells[i].empty())
            return std::strtold(cells[i].c_str(), nullptr);
    return std::nullopt;
}

bool sameBits(const Quantity& a, const Quantity& b) {
    return a.has_value() == b.has_value() && (!a || bytesOfExtended(*a) == bytesOfExtended(*b));
}

TEST(TulvaneTraceOrbit, AddsItsFieldsBehindTheUnchangedClassicOnes) {
    const std::vector<std::string> classic = traceLines("--points 3");
    const std::vector<std::string> orbit = traceLines("--points 3 --orbit");
    ASSERT_EQ(classic.size(), 5u);
    ASSERT_EQ(orbit.size(), 5u);
    EXPECT_EQ(classic[0], Classic);
    EXPECT_EQ(orbit[0], Classic + "," + Orbit);
    for (std::size_t i = 1; i < classic.size(); ++i) {
        EXPECT_EQ(orbit[i].substr(0, classic[i].size() + 1), classic[i] + ",");
        EXPECT_EQ(cellsOf(orbit[i]).size(), 17u) << orbit[i];
    }
}

TEST(TulvaneTraceOrbit, GivesTheCoreReadoutAndDriftOfTheDefaultRun) {
    const std::vector<std::string> rows = traceLines("--orbit --points 120");
    ASSERT_EQ(rows.size(), 122u);
    const std::vector<TState> states = plotPointStates(defaultSettings(), 120);
    const OrbitReadout start = readOrbit(defaultSettings());
    for (const int day : {0, 1, 111, 120}) {
        SCOPED_TRACE(day);
        const OrbitReadout now = day == 0 ? start : readOrbit(states[day - 1]);
        const std::string& row = rows[day + 1];
        EXPECT_TRUE(sameBits(cell(row, "relative_energy"), now.relativeEnergy));
        EXPECT_TRUE(sameBits(cell(row, "total_energy"), now.totalEnergy));
        EXPECT_TRUE(sameBits(cell(row, "angular_momentum"), now.angularMomentum));
        EXPECT_TRUE(sameBits(cell(row, "eccentricity"), now.eccentricity));
        EXPECT_TRUE(sameBits(cell(row, "semi_major_axis"), now.semiMajorAxis));
        EXPECT_TRUE(sameBits(cell(row, "period"), now.period));
        EXPECT_TRUE(sameBits(cell(row, "energy_drift"), driftGauge(start, now).energy.value));
    }
    // The figures the readout shows: bound at the start, an escape with no period after the closest approach.
    EXPECT_EXTENDED_NEAR(*cell(rows[1], "period") / 86400, 1356.60L, 0.005L);
    EXPECT_EQ(*cell(rows[1], "energy_drift"), 0);
    EXPECT_EXTENDED_NEAR(*cell(rows[2], "energy_drift"), -7.04e-7L, 0.01e-7L);
    EXPECT_GT(*cell(rows[121], "eccentricity"), 1.01L);
    EXPECT_FALSE(cell(rows[121], "period"));
    EXPECT_LT(*cell(rows[121], "semi_major_axis"), 0);
    EXPECT_EXTENDED_NEAR(*cell(rows[121], "energy_drift"), 0.71L, 0.01L);
}

TEST(TulvaneTraceOrbit, LeavesFieldsWithoutMeaningEmpty) {
    TempDir dir;
    TState coincident = defaultSettings();
    coincident.setBPos(coincident.APos());
    TState notFinite = defaultSettings();
    notFinite.setAMass(std::numeric_limits<Extended>::quiet_NaN());
    writeBytes(dir.file("no-orbit.TV0"), fileImage({coincident, notFinite}));
    // Bodies at one place still have their angular momentum, zero; a NaN mass leaves nothing.
    const struct {
        const char* record;
        const char* tail;
    } cases[] = {{"1", ",,,0.00000000000000000000e+00,,,,"}, {"2", ",,,,,,,"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        int status = -1;
        const std::vector<std::string> rows =
            traceLines("--orbit --points 0 '" + dir.file("no-orbit.TV0") + "' " + c.record, &status);
        EXPECT_EQ(status, 0);
        ASSERT_EQ(rows.size(), 2u);
        const std::string tail = c.tail;
        ASSERT_GT(rows[1].size(), tail.size());
        EXPECT_EQ(rows[1].substr(rows[1].size() - tail.size()), tail) << rows[1];
        EXPECT_EQ(cellsOf(rows[1]).size(), 17u);
    }
}

}  // namespace
