#pragma once
#include <cstdint>

#include "base/datetime.h"

namespace tavrin {

CalendarTime localNow();
// Local calendar time of a Unix time; false when the platform cannot convert it.
bool localTimeOfUnix(std::int64_t seconds, CalendarTime& out);

}  // namespace tavrin
