#include "datetime.h"

#include "text.h"

namespace tavrin {
namespace {

const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

enum class DateLayout { MonthDayYear, YearMonthDaySlash, YearMonthDayDash, DayMonYear };

DateLayout dateLayout(std::string_view shortDate) {
  // The two-digit-year forms still print the full year, so several rows share a layout.
  static const struct {
    const char* format;
    DateLayout layout;
  } kRows[] = {
      {"M/d/yyyy", DateLayout::MonthDayYear},         {"M/d/yy", DateLayout::MonthDayYear},
      {"MM/dd/yy", DateLayout::MonthDayYear},         {"MM/dd/yyyy", DateLayout::MonthDayYear},
      {"yy/MM/dd", DateLayout::YearMonthDaySlash},    {"yyyy-MM-dd", DateLayout::YearMonthDayDash},
      {"dd-MMM-yy", DateLayout::DayMonYear},
  };
  for (const auto& row : kRows)
    if (equalsNoCase(shortDate, row.format)) return row.layout;
  return DateLayout::MonthDayYear;
}

}  // namespace

std::string datePart(const CalendarTime& t, std::string_view shortDate) {
  switch (dateLayout(shortDate)) {
    case DateLayout::YearMonthDaySlash:
      return format("%02d/%02d/%02d", t.year, t.month, t.day);
    case DateLayout::YearMonthDayDash:
      return format("%04d-%02d-%02d", t.year, t.month, t.day);
    case DateLayout::DayMonYear: {
      const char* month = (t.month >= 1 && t.month <= 12) ? kMonths[t.month - 1] : "";
      return format("%02d-%s-%02d", t.day, month, t.year);
    }
    case DateLayout::MonthDayYear:
      break;
  }
  return format("%02d/%02d/%04d", t.month, t.day, t.year);
}

std::string timePart(const CalendarTime& t, std::string_view timeFormat) {
  // Case matters here: "h" is the 12-hour clock, "H" the 24-hour one.
  if (timeFormat == "H:mm:ss") return format("%d:%02d", t.hour, t.minute);
  if (timeFormat == "HH:mm:ss") return format("%02d:%02d", t.hour, t.minute);
  const bool pm = t.hour > 12;
  const int hour = pm ? t.hour - 12 : t.hour;
  if (timeFormat == "hh:mm:ss tt") return format("%02d:%02d %s", hour, t.minute, pm ? "PM" : "AM");
  return format("%d:%02d %s", hour, t.minute, pm ? "PM" : "AM");
}

std::string dateTimeText(const CalendarTime& t, std::string_view shortDate, std::string_view timeFormat) {
  return cut(datePart(t, shortDate) + " " + timePart(t, timeFormat), kDateTimeWidth);
}

std::string traceTimeText(const CalendarTime& t) {
  return format("%02d-%02d  %02d:%02d:%02d", t.month, t.day, t.hour, t.minute, t.second);
}

std::int64_t unixToFileTime(std::int64_t seconds) {
  return (seconds + 11644473600LL) * 10000000LL;
}

}  // namespace tavrin
