#include "base/task_service_text.h"

#include <gtest/gtest.h>

using namespace tavrin;

TEST(TaskText, RunTimesOnTheTwelveHourClockAndNames) {
  EXPECT_EQ(taskRunTimeText({2006, 3, 3, 0, 5, 0}, "Never"), "03/03/2006  12:05 AM");
  EXPECT_EQ(taskRunTimeText({2006, 3, 3, 12, 30, 0}, "Never"), "03/03/2006  12:30 PM");
  // Only the date decides: a time without a date is no run.
  EXPECT_EQ(taskRunTimeText({0, 0, 0, 13, 7, 0}, "Never"), "Never");
  // Sort keys: a later year sorts later whatever the month; 12 AM is midnight.
  EXPECT_EQ(taskRunTimeKey("12/31/2005  1:30 PM"), "200512311330");
  EXPECT_EQ(taskRunTimeKey("03/03/2006  12:05 AM"), "200603030005");
  EXPECT_EQ(taskRunTimeKey("Never"), "");
  EXPECT_EQ(taskNameWithoutJob("Probe Task.JOB"), "Probe Task");
  EXPECT_EQ(taskNameWithoutJob(".job"), ".job");
}

TEST(ServiceText, ListingRulesAndStartTypeRecords) {
  EXPECT_TRUE(isProgramService("C:\\WINDOWS\\system32\\SVCHOST -k netsvcs"));
  EXPECT_FALSE(isProgramService("system32\\drivers\\probe.sys"));
  EXPECT_EQ(serviceTypeCode("C:\\WINDOWS\\system32\\SvcHost.exe -k netsvcs"), 701);
  EXPECT_EQ(serviceListStartText(1), 0);
  EXPECT_EQ(stateOfPacked(packServiceState(3, 0x110)), 3u);
  EXPECT_EQ(previousStartTypeAction(2), 17);
  EXPECT_EQ(previousStartTypeAction(1), -1);
}
