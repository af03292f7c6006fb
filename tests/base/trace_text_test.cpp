#include "base/trace_text.h"

#include <gtest/gtest.h>

using namespace tavrin;

TEST(TraceText, KeyAndValueLayout) {
  EXPECT_EQ(traceKey(123456, 7), "123456.7");
  EXPECT_EQ(traceValue(CalendarTime{2007, 1, 2, 3, 4, 5}, "Tray Message", "ADD"), "01-02  03:04:05 Tray Message: ADD");
}

TEST(TraceText, NanoCyclesBarGrowsPerThousandAndStopsAtSixteen) {
  EXPECT_EQ(nanoCyclesValue("Pass", 1), "**:**:** NanoCycles: Pass = 1 ");
  EXPECT_EQ(nanoCyclesValue("Pass", 999), "**:**:** NanoCycles: Pass = 999 ");
  EXPECT_EQ(nanoCyclesValue("Pass", 1000), "**:**:** NanoCycles: Pass = 1000 \t*");
  EXPECT_EQ(nanoCyclesValue("Pass", 3500), "**:**:** NanoCycles: Pass = 3500 \t***");
  EXPECT_EQ(nanoCyclesValue("Pass", 99000), "**:**:** NanoCycles: Pass = 99000 \t" + std::string(16, '*'));
}
