#include "base/datetime.h"

#include <gtest/gtest.h>

using namespace tavrin;

namespace {
const CalendarTime kSeptember{2007, 9, 13, 20, 58, 41};
}

// The layouts themselves are not typed out again: the cases the layouts' rows
// do not show (any case, formats not listed, the hours of the twelve-hour clock).
TEST(DateTimeText, AnyCaseUnlistedFormatsTheTwelveHourClockJoinedToFitTheFieldAndUnixTimes) {
  EXPECT_EQ(datePart(kSeptember, "YYYY-mm-DD"), "2007-09-13");
  for (const char* unlisted : {"dd.MM.yyyy", ""}) EXPECT_EQ(datePart(kSeptember, unlisted), "09/13/2007") << unlisted;
  EXPECT_EQ(datePart(CalendarTime{2001, 12, 2, 0, 0, 0}, "dd-MMM-yy"), "02-Dec-2001");
  const struct {
    const char* timeFormat;
    int hour;
    const char* expected;
  } rows[] = {
      {"h:mm:ss tt", 12, "12:30 AM"}, {"h:mm:ss tt", 0, "0:30 AM"},   {"hh:mm:ss tt", 0, "00:30 AM"},
      {"h:mm:ss tt", 13, "1:30 PM"},  {"HH:mm:ss", 0, "00:30"},       {"HH.mm.ss", 20, "8:30 PM"},
      {"h:mm:ss TT", 20, "8:30 PM"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(timePart(CalendarTime{2007, 1, 1, row.hour, 30, 59}, row.timeFormat), row.expected)
        << row.timeFormat << " " << row.hour;
  EXPECT_EQ(dateTimeText(kSeptember, "yyyy-MM-dd", "HH:mm:ss"), "2007-09-13 20:58");
  EXPECT_EQ(dateTimeText(kSeptember, "dd-MMM-yy", "hh:mm:ss tt"), "13-Sep-2007 08:58 PM");
  // A year of absurd width would overflow the field: the text is cut, never longer.
  EXPECT_EQ(dateTimeText(CalendarTime{1234567890, 12, 31, 23, 59, 0}, "yyyy-MM-dd", "hh:mm:ss tt"),
            "1234567890-12-31 11:59 ");
  EXPECT_EQ(traceTimeText(CalendarTime{2007, 9, 3, 8, 5, 1}), "09-03  08:05:01");
  EXPECT_EQ(unixToFileTime(0), 116444736000000000LL);
  EXPECT_EQ(unixToFileTime(1), 116444736010000000LL);
  EXPECT_EQ(unixToFileTime(-11644473600LL), 0);
}
