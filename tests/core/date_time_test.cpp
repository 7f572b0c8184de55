#include "core/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <string>

namespace {

struct DateCase {
    const char* name;
    CivilDateTime civil;
    double days;
};

bool sameFields(const CivilDateTime& a, const CivilDateTime& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second && a.millisecond == b.millisecond;
}

std::string text(const CivilDateTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, t.millisecond);
    return buf;
}

void PrintTo(const DateCase& c, std::ostream* os) {
    *os << c.name;
}

class TDateTimeTest : public testing::TestWithParam<DateCase> {};

TEST_P(TDateTimeTest, CountsDaysFromTheEndOf1899BothWays) {
    const DateCase& c = GetParam();
    EXPECT_EQ(tDateTimeFromCivil(c.civil), c.days);
    CivilDateTime back;
    back.year = 0;
    ASSERT_TRUE(civilFromTDateTime(c.days, back));
    EXPECT_TRUE(sameFields(back, c.civil)) << text(back);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, TDateTimeTest,
    testing::Values(DateCase{"Epoch", {1899, 12, 30, 0, 0, 0, 0}, 0.0},
                    DateCase{"FirstOf1900", {1900, 1, 1, 0, 0, 0, 0}, 2.0},
                    DateCase{"NoonInDecember2026", {2026, 12, 10, 12, 0, 0, 0}, 46366.5},
                    DateCase{"UnixEpoch", {1970, 1, 1, 0, 0, 0, 0}, 25569.0},
                    DateCase{"LeapDay", {2000, 2, 29, 18, 0, 0, 0}, 36585.75},
                    // Before the epoch the day counts down and the time of day still counts up.
                    DateCase{"DayBeforeEpochMorning", {1899, 12, 29, 6, 0, 0, 0}, -1.25},
                    DateCase{"EighteenHundredEvening", {1800, 3, 1, 18, 0, 0, 0}, -36463.75},
                    DateCase{"FirstDayOfYearOne", {1, 1, 1, 0, 0, 0, 0}, -693593.0},
                    DateCase{"LastDayOf9999", {9999, 12, 31, 0, 0, 0, 0}, 2958465.0},
                    DateCase{"Milliseconds", {1899, 12, 30, 0, 0, 1, 500}, 1.5 / 86400}),
    [](const testing::TestParamInfo<DateCase>& p) { return std::string(p.param.name); });

TEST(TDateTime, HalfADayBeforeTheEpochIsNoonOfTheEpochDay) {
    CivilDateTime t;
    ASSERT_TRUE(civilFromTDateTime(-0.5, t));
    EXPECT_EQ(text(t), "1899-12-30 12:00:00.000");
}

TEST(TDateTime, RoundsToTheNearestMillisecondAcrossMidnight) {
    CivilDateTime t;
    ASSERT_TRUE(civilFromTDateTime(46366.0 - 1e-9, t));
    EXPECT_EQ(text(t), "2026-12-10 00:00:00.000");
    ASSERT_TRUE(civilFromTDateTime(46366.0 + 1.0 / 86400 + 0.0006 / 86400, t));
    EXPECT_EQ(text(t), "2026-12-10 00:00:01.001");
}

TEST(TDateTime, ValuesThatAreNoDateAreRefused) {
    for (double x : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                     -std::numeric_limits<double>::infinity(), 1e300, -1e300, -693594.0, 2958466.0}) {
        CivilDateTime t;
        EXPECT_FALSE(civilFromTDateTime(x, t)) << x;
    }
}

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* tz) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (old_)
            setenv("TZ", old_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> old_;
};

TEST(NowAsTDateTime, IsLocalCivilTimeNotUniversalTime) {
    // A zone fourteen hours ahead of UTC: local time differs from UTC by more than half a day.
    const ScopedTimeZone zone("<+14>-14");
    const double before = static_cast<double>(std::time(nullptr) - 1) / 86400 + 25569.0 + 14.0 / 24;
    const double now = NowAsTDateTime();
    const double after = static_cast<double>(std::time(nullptr) + 1) / 86400 + 25569.0 + 14.0 / 24;
    EXPECT_GE(now, before);
    EXPECT_LE(now, after);
}

}  // namespace
