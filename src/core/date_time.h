#pragma once

// The local date and time as days since 30 December 1899, 00:00 local time, the fraction being the time of day.
double NowAsTDateTime();
