#include "trace_text.h"

#include "text.h"

namespace tavrin {

std::string traceKey(unsigned long tickCount, int counter) {
  return format("%d.%d", static_cast<int>(tickCount), counter);
}

std::string traceValue(const CalendarTime& now, std::string_view label, std::string_view text) {
  return traceTimeText(now) + " " + std::string(label) + ": " + std::string(text);
}

std::string nanoCyclesValue(std::string_view lastText, long halfMilliseconds) {
  long stars = halfMilliseconds / 1000;
  if (stars > 16) stars = 16;
  std::string bar;
  if (stars > 0) bar = "\t" + std::string(static_cast<std::size_t>(stars), '*');
  return format("**:**:** NanoCycles: %.*s = %ld %s", static_cast<int>(lastText.size()), lastText.data(),
                halfMilliseconds, bar.c_str());
}

}  // namespace tavrin
