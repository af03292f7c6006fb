#pragma once
// Keys and values of trace lines.
#include <string>
#include <string_view>

#include "datetime.h"

namespace tavrin {

// Counter value that switches the trace off; tracing writes while the counter is at most kTraceLimit.
constexpr int kTraceOff = 9999;
constexpr int kTraceLimit = 9000;
constexpr std::size_t kTraceLastTextWidth = 255;

std::string traceKey(unsigned long tickCount, int counter);
std::string traceValue(const CalendarTime& now, std::string_view label, std::string_view text);

// Elapsed time of a timed step in half milliseconds, and the line that reports it.
std::string nanoCyclesValue(std::string_view lastText, long halfMilliseconds);

}  // namespace tavrin
