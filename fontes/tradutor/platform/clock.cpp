// TIRLA: the local clock.
#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace platform {

LocalTime LocalTimeNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto since = now.time_since_epoch();
  long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count() % 1000;
  if (ms < 0) ms += 1000;
  LocalTime t;
  t.year = static_cast<uint16_t>(local.tm_year + 1900);
  t.month = static_cast<uint16_t>(local.tm_mon + 1);
  t.day = static_cast<uint16_t>(local.tm_mday);
  t.weekday = static_cast<uint16_t>(local.tm_wday);
  t.hour = static_cast<uint16_t>(local.tm_hour);
  t.minute = static_cast<uint16_t>(local.tm_min);
  t.second = static_cast<uint16_t>(local.tm_sec);
  t.milliseconds = static_cast<uint16_t>(ms);
  return t;
}

int WeekdayOf(int year, int month, int day) {
  const std::chrono::year_month_day date{std::chrono::year(year),
                                         std::chrono::month(static_cast<unsigned>(month)),
                                         std::chrono::day(static_cast<unsigned>(day))};
  return static_cast<int>(std::chrono::weekday(std::chrono::sys_days(date)).c_encoding());
}

}  // namespace platform
