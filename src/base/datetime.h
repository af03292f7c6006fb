#pragma once
// Date and time texts written into the registry, the history log, the lists
// and the trace file.
#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin {

struct CalendarTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Longest date-time text: it is stored in fields of this width.
constexpr std::size_t kDateTimeWidth = 23;

// The user's short-date and time formats pick one fixed layout each;
// formats outside the known lists fall back to the first layout.
std::string datePart(const CalendarTime& t, std::string_view shortDate);
std::string timePart(const CalendarTime& t, std::string_view timeFormat);
std::string dateTimeText(const CalendarTime& t, std::string_view shortDate, std::string_view timeFormat);

// "MM-DD  hh:mm:ss" as used in trace lines (two blanks after the day).
std::string traceTimeText(const CalendarTime& t);

// Seconds since 1970-01-01 UTC as 100-ns units since 1601-01-01 UTC.
std::int64_t unixToFileTime(std::int64_t seconds);

}  // namespace tavrin
