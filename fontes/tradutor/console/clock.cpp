// TIRLA: the date and the time of day split into fields.
#include <chrono>
#include <ctime>

#include "console/keyboard.h"

namespace console {
namespace {

// The local calendar time now and its milliseconds.
std::tm LocalNow(int* milliseconds) {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  if (milliseconds) {
    const auto since = now.time_since_epoch();
    *milliseconds = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count() % 1000);
    if (*milliseconds < 0) *milliseconds += 1000;
  }
  std::tm local{};
  localtime_r(&seconds, &local);
  return local;
}

}  // namespace

void GetDateParts(uint16_t& year, uint16_t& month, uint16_t& day, uint16_t& weekday) {
  const std::tm now = LocalNow(nullptr);
  year = static_cast<uint16_t>(now.tm_year + 1900);
  month = static_cast<uint16_t>(now.tm_mon + 1);
  day = static_cast<uint16_t>(now.tm_mday);
  weekday = static_cast<uint16_t>(now.tm_wday);
}

void GetTimeParts(uint16_t& hour, uint16_t& minute, uint16_t& second, uint16_t& hundredths) {
  int milliseconds = 0;
  const std::tm now = LocalNow(&milliseconds);
  hour = static_cast<uint16_t>(now.tm_hour);
  minute = static_cast<uint16_t>(now.tm_min);
  second = static_cast<uint16_t>(now.tm_sec);
  hundredths = static_cast<uint16_t>(milliseconds / 10);
}

}  // namespace console
