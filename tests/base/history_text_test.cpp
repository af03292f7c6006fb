#include "base/history_text.h"

#include <gtest/gtest.h>

using namespace tavrin;

TEST(HistoryActions, FirstNameOfADoubleCodeIsWrittenAndAnyNameReads) {
  EXPECT_EQ(historyActionName(12), "SERVICE_Disabled");
  EXPECT_EQ(historyActionName(16), "LOG_UNKNOWN");
  EXPECT_EQ(historyActionName(-1), "LOG_UNKNOWN");
  EXPECT_EQ(historyActionCode("start_restore"), 12);
  EXPECT_EQ(historyActionCode("REMOVE_TASKSCHEDULER"), 23);
  EXPECT_EQ(historyActionCode("*hidden_deletefile"), 29);
  EXPECT_EQ(historyActionCode("Frobnicate"), 31);
  EXPECT_EQ(historyActionCode(""), 31);
  EXPECT_TRUE(isRestorableHistoryAction(0));
  EXPECT_TRUE(isRestorableHistoryAction(29));
  EXPECT_FALSE(isRestorableHistoryAction(1));
  EXPECT_FALSE(isRestorableHistoryAction(31));
}

TEST(HistoryDate, TwelveHourClockWithTwoBlanks) {
  EXPECT_EQ(historyDateText({2007, 9, 3, 0, 5, 0}, "Never"), "09/03/2007  12:05 AM");
  EXPECT_EQ(historyDateText({2007, 9, 3, 12, 0, 0}, "Never"), "09/03/2007  12:00 PM");
  EXPECT_EQ(historyDateText({2007, 9, 3, 23, 59, 0}, "Never"), "09/03/2007  11:59 PM");
  EXPECT_EQ(historyDateText({2007, 9, 3, 9, 7, 0}, "Never"), "09/03/2007  9:07 AM");
  EXPECT_EQ(historyDateText({0, 0, 0, 0, 0, 0}, "Never"), "Never");
}

TEST(HistoryLine, FieldsJoinedByTabsCutAsOneLineParsedWithinTheirLimitsAndTheTailFromAWholeLine) {
  EXPECT_EQ(historyLine("d", "*START_Remove", "CURRENT_RUN", "App", "c:\\app.exe", ""),
            "d\t*START_Remove\tCURRENT_RUN\tApp\tc:\\app.exe\t\r\n");
  const std::string line = historyLine("d", "a", "t", std::string(2000, 'n'), "p", "k");
  EXPECT_EQ(line.size(), 1025u);
  EXPECT_EQ(line.substr(1023), "\r\n");
  // A tab or a line break inside a field cannot shift or split the record.
  EXPECT_EQ(historyLine("d", "a", "t", "two\tparts\r\nname", "p", "k"), "d\ta\tt\ttwo parts  name\tp\tk\r\n");
  // Parsing keeps each field within its limit.
  HistoryFields f = parseHistoryLine("09/03/2007  9:07 AM\tSTART_Disable\tCURRENT_RUN\tApp\tc:\\app.exe\tkey");
  EXPECT_EQ(f.date, "09/03/2007  9:07 AM");
  EXPECT_EQ(f.action, "START_Disable");
  EXPECT_EQ(f.type, "CURRENT_RUN");
  EXPECT_EQ(f.name, "App");
  EXPECT_EQ(f.program, "c:\\app.exe");
  EXPECT_EQ(f.key, "key");
  f = parseHistoryLine("d\ta\tt\tname\tprogram");
  EXPECT_EQ(f.program, "program");
  EXPECT_EQ(f.key, "");
  f = parseHistoryLine(std::string(32, 'd') + "\ta\tt\t" + std::string(128, 'n') + "\t" + std::string(259, 'p'));
  EXPECT_EQ(f.date, "");
  EXPECT_EQ(f.name, "");
  EXPECT_EQ(f.program, std::string(259, 'p'));
  f = parseHistoryLine("");
  EXPECT_EQ(f.date, "");
  EXPECT_EQ(f.key, "");
  EXPECT_EQ(historyLines("tial line\r\nfirst\r\nsecond\r\n", true), (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(historyLines("first\r\nsecond", false), (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(historyLines("no break at all", true), std::vector<std::string>{});
  EXPECT_EQ(historyLines("a\n\r\n\nb\n", false), (std::vector<std::string>{"a", "b"}));
}
