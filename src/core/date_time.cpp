#include "core/date_time.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>

namespace {

using namespace std::chrono;

constexpr std::int64_t MsecsPerDay = 86400000;
constexpr sys_days Epoch = sys_days(year{1899} / December / 30);

std::int64_t daysFromEpoch(int y, int m, int d) {
    const year_month_day date{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
    return (sys_days(date) - Epoch).count();
}

}  // namespace

double tDateTimeFromCivil(const CivilDateTime& t) {
    const std::int64_t days = daysFromEpoch(t.year, t.month, t.day);
    const std::int64_t msOfDay =
        ((static_cast<std::int64_t>(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond;
    const double fraction = static_cast<double>(msOfDay) / MsecsPerDay;
    const auto whole = static_cast<double>(days);
    return days < 0 ? whole - fraction : whole + fraction;
}

bool civilFromTDateTime(double days, CivilDateTime& t) {
    // Checked before any conversion to an integer, which would be undefined for these values.
    if (!(days > -693594.0 && days < 2958466.0)) return false;
    const std::int64_t ms = std::llround(days * MsecsPerDay);
    const std::int64_t wholeDays = ms / MsecsPerDay;
    const std::int64_t msOfDay = (ms < 0 ? -ms : ms) % MsecsPerDay;
    const year_month_day date{Epoch + std::chrono::days{wholeDays}};
    const int y = static_cast<int>(date.year());
    if (y < 1 || y > 9999) return false;
    t.year = y;
    t.month = static_cast<int>(static_cast<unsigned>(date.month()));
    t.day = static_cast<int>(static_cast<unsigned>(date.day()));
    t.hour = static_cast<int>(msOfDay / 3600000);
    t.minute = static_cast<int>(msOfDay / 60000 % 60);
    t.second = static_cast<int>(msOfDay / 1000 % 60);
    t.millisecond = static_cast<int>(msOfDay % 1000);
    return true;
}

double NowAsTDateTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    CivilDateTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    // A leap second reads as the last second of the minute.
    t.second = local.tm_sec > 59 ? 59 : local.tm_sec;
    t.millisecond = static_cast<int>(now.tv_nsec / 1000000);
    return tDateTimeFromCivil(t);
}
