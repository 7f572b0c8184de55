#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <thread>

#include "core/convergence_sweep.h"
#include "core/fp_error.h"
#include "core/run.h"
#include "core/track_csv.h"
#include "settings_file/in_out_error.h"
#include "settings_file/t_state_file.h"

namespace {

constexpr const char* Usage =
    "Usage: tulvane-trace [--points N] [--orbit] [FILE.TV0 [RECORD]]\n"
    "       tulvane-trace --convergence [--until DAYS] [--force] [FILE.TV0 [RECORD]]\n"
    "Runs the two-body integrator without a window and prints CSV: a row for the start (point 0) and one\n"
    "per plot point, each value with 21 significant digits, which read back exactly.\n"
    "  --points N  plot points to compute (default 100)\n"
    "  --orbit     adds the relative orbit of each row: relative_energy and total_energy (J), "
    "angular_momentum\n"
    "              (kg m^2/s, positive clockwise on the screen), eccentricity, semi_major_axis (m, negative "
    "for\n"
    "              an escape), period (s) and energy_drift (since point 0, over its |potential energy|);\n"
    "              a field is empty where it has no meaning\n"
    "  --convergence  instead of the plot points, runs the start at every plot interval of the Settings\n"
    "              menu and prints one row per interval: plot_interval_s, step_s, plot_points, end_day (the\n"
    "              day the row is measured at), error_a_m and error_b_m (each body's distance from the "
    "exact\n"
    "              orbit), energy_drift, angular_momentum_drift, steps_across_closest_approach, "
    "observed_order\n"
    "              (against the previous row of the fit) and in_fit (yes: measured at the fit's common "
    "day);\n"
    "              why a row was not run or failed, and the least-squares order, go to standard error\n"
    "  --until DAYS  the sweep's end time (default: one period of a bound orbit, else 365.25 days)\n"
    "  --force     lets --until go beyond 100 years\n"
    "  FILE.TV0    settings file to start from (default: the built-in settings); - reads it from standard\n"
    "              input\n"
    "  RECORD      record of FILE.TV0, counted from 1 (default 1)\n"
    "  --help      print this help and exit\n"
    "  --version   print the version and exit\n"
    "Exit status: 0 done, 1 floating-point error (rows so far printed; with --convergence, a row that\n"
    "failed), 2 bad arguments, a file or record that cannot be used (a cpT beyond -1000000 to 1000000 never\n"
    "reaches a plot point), or output that cannot be written.\n";

// Ends the program with a one-line message and status 2.
class UsageError : public std::exception {
public:
    explicit UsageError(std::string text) : text_(std::move(text)) {}
    const char* what() const noexcept override { return text_.c_str(); }

private:
    std::string text_;
};

// A write to the output failed (a closed pipe, a full disk, a file-size limit): the rest is not computed.
class OutputError : public std::exception {
public:
    explicit OutputError(int err) : err_(err) {}
    const char* what() const noexcept override { return std::strerror(err_); }
    bool closedPipe() const { return err_ == EPIPE; }

private:
    int err_;
};

struct Options {
    std::int32_t points = 100;
    bool pointsGiven = false;
    std::optional<std::string> file;  // none: the built-in settings
    std::int64_t record = 1;
    bool orbit = false;
    bool convergence = false;
    std::optional<Extended> untilDays;
    bool force = false;
};

// Beyond this a sweep's end time asks for --force: its finest rows would run for minutes, or not at all.
constexpr Extended ForceBeyondDays = 100 * 365.25L;

// A plot point every cpT steps: beyond this the step counter wraps before any step count is a multiple of
// cpT, so a run would never reach its next point.
constexpr std::int64_t MaxCpT = 1000000;

// A whole decimal number within [low, high], nothing else.
bool parseNumber(const char* text, std::int64_t low, std::int64_t high, std::int64_t& out) {
    if (*text < '0' || *text > '9') return false;
    errno = 0;
    char* end = nullptr;
    const long long n = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || n < low || n > high) return false;
    out = n;
    return true;
}

std::int32_t parsePoints(const char* text) {
    std::int64_t n = 0;
    if (!parseNumber(text, 0, INT32_MAX, n))
        throw UsageError("--points needs a whole number from 0 to 2147483647, not \"" + std::string(text) +
                         "\"");
    return static_cast<std::int32_t>(n);
}

Extended parseDays(const char* text) {
    errno = 0;
    char* end = nullptr;
    const Extended days = std::strtold(text, &end);
    if (*text < '0' || *text > '9' || errno != 0 || *end != '\0' || !(days > 0) || !std::isfinite(days))
        throw UsageError("--until needs a number of days above 0, not \"" + std::string(text) + "\"");
    return days;
}

Options parseArguments(int argc, char** argv, bool& help) {
    Options o;
    int positional = 0;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            help = true;
            return o;
        } else if (!optionsEnded && arg == "--points") {
            if (i + 1 >= argc) throw UsageError("--points needs a number");
            o.points = parsePoints(argv[++i]);
            o.pointsGiven = true;
        } else if (!optionsEnded && arg.rfind("--points=", 0) == 0) {
            o.points = parsePoints(argv[i] + 9);
            o.pointsGiven = true;
        } else if (!optionsEnded && arg == "--orbit") {
            o.orbit = true;
        } else if (!optionsEnded && arg == "--convergence") {
            o.convergence = true;
        } else if (!optionsEnded && arg == "--until") {
            if (i + 1 >= argc) throw UsageError("--until needs a number of days");
            o.untilDays = parseDays(argv[++i]);
        } else if (!optionsEnded && arg.rfind("--until=", 0) == 0) {
            o.untilDays = parseDays(argv[i] + 8);
        } else if (!optionsEnded && arg == "--force") {
            o.force = true;
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option " + arg + " (try --help)");
        } else if (positional == 0) {
            if (arg.empty())
                throw UsageError("FILE is empty; leave it out to start from the built-in settings");
            o.file = arg;
            ++positional;
        } else if (positional == 1) {
            if (!parseNumber(argv[i], 1, INT64_MAX / 293, o.record))
                throw UsageError("RECORD must be a record number counted from 1, not \"" + arg + "\"");
            ++positional;
        } else {
            throw UsageError("too many arguments (try --help)");
        }
    }
    if (o.convergence && (o.pointsGiven || o.orbit))
        throw UsageError("--convergence prints a table of its own: leave out --points and --orbit");
    if (!o.convergence && (o.untilDays || o.force))
        throw UsageError("--until and --force go with --convergence");
    return o;
}

// The file error's text, or the system's own where the error has no text of the file layer's table.
std::string fileErrorText(const EInOutError& e) {
    return e.unmappedErrno() != 0 ? std::strerror(e.unmappedErrno()) : e.what();
}

void checkRecordCount(const std::string& source, std::int64_t record, std::int64_t count) {
    if (count == 0) throw UsageError(source + " holds no whole record");
    if (record > count) {
        throw UsageError("record " + std::to_string(record) + " is out of range: " + source + " holds " +
                         std::to_string(count) + (count == 1 ? " record" : " records"));
    }
}

// "-": a pipe gives a record in pieces and has no size or position, so standard input is read to its end.
TState recordFromStandardInput(std::int64_t record) {
    std::string data;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) data.append(buffer, n);
    if (std::ferror(stdin))
        throw UsageError(std::string("cannot read standard input: ") + std::strerror(errno));
    TState s;
    checkRecordCount("standard input", record, static_cast<std::int64_t>(data.size() / s.bytes.size()));
    std::memcpy(s.bytes.data(), data.data() + static_cast<std::size_t>(record - 1) * s.bytes.size(),
                s.bytes.size());
    return s;
}

TState loadRecord(const Options& o) {
    if (!o.file) return defaultSettings();
    const std::string& file = *o.file;
    TState s;
    if (file == "-") {
        s = recordFromStandardInput(o.record);
    } else {
        TStateFile f;
        f.assign(file);
        try {
            f.openForReading();
            checkRecordCount(file, o.record, f.size());
            f.seek(o.record - 1);
            f.read(s);
            f.closeQuietly();
        } catch (const EInOutError& e) {
            throw UsageError("cannot read " + file + ": " + fileErrorText(e));
        }
    }
    const std::int64_t cpT = s.cpT();
    if (cpT > MaxCpT || cpT < -MaxCpT) {
        throw UsageError("record " + std::to_string(o.record) + " of " + file + " has cpT " +
                         std::to_string(cpT) + ": more than " + std::to_string(MaxCpT) +
                         " calculations per interval are refused");
    }
    return s;
}

void printLine(const std::string& line) {
    if (std::fputs((line + '\n').c_str(), stdout) == EOF) throw OutputError(errno);
}

void flushOutput() {
    if (std::fflush(stdout) != 0) throw OutputError(errno);
}

// Prints a row at every plot point of a replay; draws nothing and serves no events.
class TraceHost : public RunHost {
public:
    TraceHost(const SimRecords& records, const TrackCsv& csv) : records_(records), csv_(csv) {}
    void drawBody(const TVector&, Body) override {}
    void showElapsed(const std::string&) override {}
    void sleepMs(std::int32_t) override {}
    bool pumpEvents(std::int32_t) override { return false; }
    std::int32_t quietSteps() override { return AnyNumberOfSteps; }
    void plotCounted(std::int32_t plotCounter) override {
        printLine(
            csv_.row(plotCounter, plotPointDays(plotCounter, records_.CurSettings.dT()), records_.CurState));
    }

private:
    const SimRecords& records_;
    const TrackCsv& csv_;
};

int trace(const Options& o) {
    SimRecords records;
    // As a run from Ready starts: the record becomes the settings and the state.
    records.CurSettings = loadRecord(o);
    records.CurState = records.CurSettings;
    records.PlotCount = 0;
    records.SimState = Running;

    const TrackCsv csv(records.CurState, o.orbit);
    int status = 0;
    try {
        printLine(csv.header());
        printLine(csv.row(0, 0, records.CurState));
        // The start is there for the reader before a long run begins.
        flushOutput();
        if (o.points > 0) {
            TraceHost host(records, csv);
            try {
                Run(records, host, 0, o.points);
            } catch (const FloatingPointError& e) {
                flushOutput();
                std::fprintf(stderr, "tulvane-trace: %s\n", e.what());
                status = 1;
            }
        }
        flushOutput();
    } catch (const OutputError& e) {
        // A reader that has had enough (head) closes the pipe: that is no error worth a word.
        if (!e.closedPipe()) std::fprintf(stderr, "tulvane-trace: cannot write the output: %s\n", e.what());
        return 2;
    }
    return status;
}

// The sweep of --convergence: the CSV on standard output, the rows' reasons and the fit on standard error.
int convergence(const Options& o) {
    const TState start = loadRecord(o);
    const Extended until = o.untilDays ? *o.untilDays * 86400 : ConvergenceSweep::defaultUntil(start);
    if (until / 86400 > ForceBeyondDays && !o.force) {
        char days[32];
        std::snprintf(days, sizeof days, "%.1Lf", until / 86400);
        throw UsageError(std::string("the sweep would run to day ") + days +
                         ", beyond 100 years: give --until, or --force to run it");
    }
    ConvergenceSweep sweep(start, until);
    const ConvergenceResult result = sweep.run(std::max(1u, std::thread::hardware_concurrency()));
    int status = 0;
    try {
        if (std::fputs(convergenceCsv(result).c_str(), stdout) == EOF) throw OutputError(errno);
        flushOutput();
    } catch (const OutputError& e) {
        std::fprintf(stderr, "tulvane-trace: cannot write the output: %s\n", e.what());
        return 2;
    }
    for (const ConvergenceRow& row : result.rows) {
        if (row.failure.empty()) continue;
        std::fprintf(stderr, "tulvane-trace: plot interval %s s: %s\n", exactText(row.plotInterval).c_str(),
                     row.failure.c_str());
        if (row.state == ConvergenceRow::State::Failed) status = 1;
    }
    if (result.fittedOrder)
        std::fprintf(stderr, "tulvane-trace: least-squares order %.3Lf at day %s\n", *result.fittedOrder,
                     exactText(result.fitDay).c_str());
    return status;
}

// --version, wherever it stands before "--", wins over every other argument.
bool asksForVersion(int argc, char** argv) {
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        if (std::strcmp(argv[i], "--version") == 0) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // Under a file-size limit a write fails with EFBIG, which is reported, instead of killing the tool.
    std::signal(SIGXFSZ, SIG_IGN);
    // A closed pipe then fails the write with EPIPE, which ends the tool with its own status, not a signal.
    std::signal(SIGPIPE, SIG_IGN);
    if (asksForVersion(argc, argv)) {
        std::fputs("tulvane-trace " TULVANE_VERSION "\n", stdout);
        return std::fflush(stdout) == 0 ? 0 : 2;
    }
    try {
        bool help = false;
        const Options o = parseArguments(argc, argv, help);
        if (help) {
            std::fputs(Usage, stdout);
            return std::fflush(stdout) == 0 ? 0 : 2;
        }
        return o.convergence ? convergence(o) : trace(o);
    } catch (const UsageError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "tulvane-trace: %s\n", e.what());
        return 2;
    }
}
