#include <cstddef>
#include <cstdint>
#include <string>

#include "base/datetime.h"

// Calendar fields from the first six bytes, the two format texts after them.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 6) return 0;
  tavrin::CalendarTime t{1900 + data[0] * 2, data[1] % 14, data[2] % 33, data[3] % 25, data[4] % 61, data[5] % 61};
  std::string rest(reinterpret_cast<const char*>(data) + 6, size - 6);
  std::size_t split = rest.find('|');
  std::string shortDate = rest.substr(0, split);
  std::string timeFormat = split == std::string::npos ? std::string() : rest.substr(split + 1);
  if (tavrin::dateTimeText(t, shortDate, timeFormat).size() > tavrin::kDateTimeWidth) __builtin_trap();
  return 0;
}
