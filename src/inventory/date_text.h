#pragma once
#include <string>

#include "base/datetime.h"

namespace tavrin {

// Date-time text in the user's short-date and time formats
// (HKEY_CURRENT_USER Control Panel\International).
std::string dateTimeTextOf(const CalendarTime& time);
std::string currentDateTimeText();

}  // namespace tavrin
