#include "base/datetime.h"

#include <gtest/gtest.h>

using namespace tavrin;

namespace {
const CalendarTime kSeptember{2007, 9, 13, 20, 58, 41};
}

TEST(DatePart, EveryShortDateRow) {
  const struct {
    const char* shortDate;
    const char* expected;
  } rows[] = {
      {"M/d/yyyy", "09/13/2007"},   {"M/d/yy", "09/13/2007"},     {"MM/dd/yy", "09/13/2007"},
      {"MM/dd/yyyy", "09/13/2007"}, {"yy/MM/dd", "2007/09/13"},   {"yyyy-MM-dd", "2007-09-13"},
      {"dd-MMM-yy", "13-Sep-2007"}, {"dd.MM.yyyy", "09/13/2007"}, {"", "09/13/2007"},
      {"YYYY-mm-DD", "2007-09-13"},  // compared ignoring case
  };
  for (const auto& row : rows) EXPECT_EQ(datePart(kSeptember, row.shortDate), row.expected) << row.shortDate;
}

TEST(DatePart, EveryMonthAbbreviation) {
  const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (int m = 1; m <= 12; ++m)
    EXPECT_EQ(datePart(CalendarTime{2001, m, 2, 0, 0, 0}, "dd-MMM-yy"), std::string("02-") + months[m - 1] + "-2001");
}

TEST(TimePart, EveryTimeFormatRow) {
  const struct {
    const char* timeFormat;
    int hour, minute;
    const char* expected;
  } rows[] = {
      {"h:mm:ss tt", 20, 58, "8:58 PM"},   {"h:mm:ss tt", 12, 30, "12:30 AM"},
      {"h:mm:ss tt", 0, 30, "0:30 AM"},    {"h:mm:ss tt", 13, 5, "1:05 PM"},
      {"hh:mm:ss tt", 20, 58, "08:58 PM"}, {"hh:mm:ss tt", 12, 30, "12:30 AM"},
      {"hh:mm:ss tt", 0, 30, "00:30 AM"},  {"H:mm:ss", 7, 5, "7:05"},
      {"H:mm:ss", 20, 58, "20:58"},        {"HH:mm:ss", 7, 5, "07:05"},
      {"HH:mm:ss", 0, 0, "00:00"},         {"HH.mm.ss", 20, 58, "8:58 PM"},
      {"h:mm:ss TT", 20, 58, "8:58 PM"},  // not in the list: the first row
  };
  for (const auto& row : rows)
    EXPECT_EQ(timePart(CalendarTime{2007, 1, 1, row.hour, row.minute, 59}, row.timeFormat), row.expected)
        << row.timeFormat << " " << row.hour;
}

TEST(DateTimeText, JoinsWithOneBlankAndFitsTheField) {
  EXPECT_EQ(dateTimeText(kSeptember, "yyyy-MM-dd", "HH:mm:ss"), "2007-09-13 20:58");
  EXPECT_EQ(dateTimeText(kSeptember, "dd-MMM-yy", "hh:mm:ss tt"), "13-Sep-2007 08:58 PM");
  // A year of absurd width would overflow the field: the text is cut, never longer.
  EXPECT_EQ(dateTimeText(CalendarTime{1234567890, 12, 31, 23, 59, 0}, "yyyy-MM-dd", "hh:mm:ss tt"),
            "1234567890-12-31 11:59 ");
}

TEST(TraceTimeText, TwoBlanksAfterTheDay) {
  EXPECT_EQ(traceTimeText(CalendarTime{2007, 9, 3, 8, 5, 1}), "09-03  08:05:01");
}

TEST(UnixToFileTime, CountsFrom1601) {
  EXPECT_EQ(unixToFileTime(0), 116444736000000000LL);
  EXPECT_EQ(unixToFileTime(1), 116444736010000000LL);
  EXPECT_EQ(unixToFileTime(-11644473600LL), 0);
}
