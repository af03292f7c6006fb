#include "clock.h"

#include <windows.h>

namespace tavrin {
namespace {
CalendarTime fromSystemTime(const SYSTEMTIME& st) {
  return CalendarTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}
}  // namespace

CalendarTime localNow() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return fromSystemTime(st);
}

bool localTimeOfUnix(std::int64_t seconds, CalendarTime& out) {
  const std::int64_t units = unixToFileTime(seconds);
  if (units < 0) return false;
  return localTimeOfFileTime(static_cast<std::uint64_t>(units), out);
}

bool localTimeOfFileTime(std::uint64_t units, CalendarTime& out) {
  FILETIME utc, local;
  utc.dwLowDateTime = static_cast<DWORD>(units & 0xffffffffu);
  utc.dwHighDateTime = static_cast<DWORD>(units >> 32);
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return false;
  out = fromSystemTime(st);
  return true;
}

}  // namespace tavrin
