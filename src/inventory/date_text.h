#pragma once
#include <windows.h>

#include <string>

#include "base/datetime.h"

namespace tavrin {

// Date-time text in the user's short-date and time formats
// (HKEY_CURRENT_USER Control Panel\International).
std::string dateTimeTextOf(const CalendarTime& time);
// The two formats read once, for a list of many dates.
struct UserDateFormats {
  std::string shortDate, timeFormat;
};
UserDateFormats userDateFormats();
std::string currentDateTimeText();
// A file time (UTC) as a local date-time text; empty when it cannot be converted.
std::string fileTimeText(const FILETIME& time);

}  // namespace tavrin
