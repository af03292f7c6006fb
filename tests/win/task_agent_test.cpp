// Windows 98: the scheduler agent is a program of its own (here a stand-in
// found on the search path). Listing starts it when its window is missing
// and ends that process again; an agent already running is left alone.
#include <gtest/gtest.h>

#include "inventory/scheduled_tasks.h"
#include "support/driver.h"
#include "support/system_fixtures.h"
#include "support/win_test_util.h"

using namespace tavrin;

TEST(SchedulerAgent, StartedForAnOperationAndOnlyThatOneEnded) {
  const std::string starts = testutil::testDir() + "\\agent_starts.txt";
  DeleteFileA(starts.c_str());
  // With Wine's scheduler service up the listing is quick: an agent not yet
  // up when it ends would then be ended before it ever served it.
  ASSERT_TRUE(fixtures::startScheduler());
  ASSERT_FALSE(schedulerRunning());
  EntryList list("Tavrin", 315);
  bool reached = false;
  enumerateTasks(list, &reached);
  EXPECT_TRUE(reached);
  EXPECT_EQ(testutil::lines(testutil::readFile(starts)).size(), 1u);
  EXPECT_TRUE(driver::waitUntilGone("SAGEWINDOWCLASS", 3000));

  driver::Process agent = driver::start(testutil::testDir() + "\\mstask.exe");
  ASSERT_TRUE(driver::waitForWindow("SAGEWINDOWCLASS", nullptr, 5000));
  EXPECT_TRUE(schedulerRunning());
  enumerateTasks(list, &reached);
  EXPECT_EQ(testutil::lines(testutil::readFile(starts)).size(), 2u) << "only the test's own start";
  EXPECT_FALSE(agent.waitExit(500)) << "an agent the call did not start keeps running";
  driver::killAll("mstask.exe");
}
