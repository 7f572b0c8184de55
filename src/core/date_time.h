#pragma once

// A local civil date and time, as the clock and the date texts use it.
struct CivilDateTime {
    int year = 1899;  // 1 to 9999
    int month = 12;   // 1 to 12
    int day = 30;     // 1 to the month's length
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// The local date and time as days since 30 December 1899, 00:00 local time, the fraction being the time of
// day.
double NowAsTDateTime();

// Days before 30 December 1899 count down while the time of day still counts up from midnight, so
// 29 December 1899, 06:00 is -1.25. The fields must form a valid date and time.
double tDateTimeFromCivil(const CivilDateTime& t);

// The civil date and time of a day count, to the nearest millisecond. False for a value that is no date:
// NaN, an infinity, or outside the years 1 to 9999.
bool civilFromTDateTime(double days, CivilDateTime& t);
