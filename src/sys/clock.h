#pragma once
#include <cstdint>

#include "base/datetime.h"

namespace tavrin {

CalendarTime localNow();
// Local calendar time of a Unix time; false when the platform cannot convert it.
bool localTimeOfUnix(std::int64_t seconds, CalendarTime& out);
// Local calendar time of a UTC file time (100-ns units since 1601).
bool localTimeOfFileTime(std::uint64_t fileTime, CalendarTime& out);

}  // namespace tavrin
