#include "date_text.h"

#include "sys/clock.h"
#include "sys/registry.h"

namespace tavrin {

std::string dateTimeTextOf(const CalendarTime& time) {
  const char* const key = "Control Panel\\International";
  std::string shortDate, timeFormat;
  reg::readString(HKEY_CURRENT_USER, key, "sShortDate", shortDate, 24);
  reg::readString(HKEY_CURRENT_USER, key, "sTimeFormat", timeFormat, 24);
  return dateTimeText(time, shortDate, timeFormat);
}

std::string currentDateTimeText() { return dateTimeTextOf(localNow()); }

std::string fileTimeText(const FILETIME& time) {
  FILETIME local;
  SYSTEMTIME system;
  if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &system)) return "";
  CalendarTime calendar;
  calendar.year = system.wYear, calendar.month = system.wMonth, calendar.day = system.wDay;
  calendar.hour = system.wHour, calendar.minute = system.wMinute, calendar.second = system.wSecond;
  return dateTimeTextOf(calendar);
}

}  // namespace tavrin
