// TIRLA: the date and the time of day split into fields.
#include "console/keyboard.h"
#include "platform/clock.h"

namespace console {

void GetDateParts(uint16_t& year, uint16_t& month, uint16_t& day, uint16_t& weekday) {
  const platform::LocalTime now = platform::LocalTimeNow();
  year = now.year;
  month = now.month;
  day = now.day;
  weekday = now.weekday;
}

void GetTimeParts(uint16_t& hour, uint16_t& minute, uint16_t& second, uint16_t& hundredths) {
  const platform::LocalTime now = platform::LocalTimeNow();
  hour = now.hour;
  minute = now.minute;
  second = now.second;
  hundredths = static_cast<uint16_t>(now.milliseconds / 10);
}

}  // namespace console
