// TIRLA: the local date and time of day, split into fields.
#pragma once
#include <cstdint>

namespace platform {

struct LocalTime {
  uint16_t year = 0, month = 0, day = 0;  // month 1..12, day 1..31
  uint16_t weekday = 0;                   // 0 = Sunday .. 6 = Saturday
  uint16_t hour = 0, minute = 0, second = 0;
  uint16_t milliseconds = 0;
};

// The local time now.
LocalTime LocalTimeNow();

// The weekday (0 = Sunday) of a date of the Gregorian calendar.
int WeekdayOf(int year, int month, int day);

}  // namespace platform
