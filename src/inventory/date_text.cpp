#include "date_text.h"

#include "sys/clock.h"
#include "sys/registry.h"

namespace tavrin {

UserDateFormats userDateFormats() {
  const char* const key = "Control Panel\\International";
  UserDateFormats formats;
  reg::readString(HKEY_CURRENT_USER, key, "sShortDate", formats.shortDate, 24);
  reg::readString(HKEY_CURRENT_USER, key, "sTimeFormat", formats.timeFormat, 24);
  return formats;
}

std::string dateTimeTextOf(const CalendarTime& time) {
  const UserDateFormats formats = userDateFormats();
  return dateTimeText(time, formats.shortDate, formats.timeFormat);
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
