// A fixed local time for the time stamps of log lines in tests.
#pragma once

#include <ctime>

namespace calvoro::testing {

inline std::tm FixedTime(int year, int month, int day, int hour, int minute) {
  std::tm time{};
  time.tm_year = year - 1900;
  time.tm_mon = month - 1;
  time.tm_mday = day;
  time.tm_hour = hour;
  time.tm_min = minute;
  return time;
}

}  // namespace calvoro::testing
