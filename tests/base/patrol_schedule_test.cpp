#include "base/patrol_schedule.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tavrin;

namespace {

// Runs `passes` passes the way the Monitor does (group chosen, every category
// of that group asked in order, group flipped) and returns the 1-based passes
// on which the category ran.
std::vector<int> runsOf(PatrolSchedule& schedule, PatrolCategory category, int passes) {
  static const PatrolCategory kGroupA[] = {PatrolCategory::Startup,     PatrolCategory::IEHelpers,
                                           PatrolCategory::Hidden,      PatrolCategory::SystemFiles,
                                           PatrolCategory::StartPage,   PatrolCategory::FileTypes};
  static const PatrolCategory kGroupB[] = {PatrolCategory::Tasks, PatrolCategory::WinInit, PatrolCategory::Services,
                                           PatrolCategory::Nuts, PatrolCategory::Cookies};
  std::vector<int> runs;
  for (int pass = 1; pass <= passes; ++pass) {
    if (schedule.nextGroup() == PatrolGroup::A) {
      for (PatrolCategory c : kGroupA)
        if (schedule.due(c) && c == category) runs.push_back(pass);
    } else {
      for (PatrolCategory c : kGroupB) {
        if (!schedule.due(c)) continue;
        if (c == PatrolCategory::WinInit) schedule.reloadWinInit();
        if (c == category) runs.push_back(pass);
      }
    }
    schedule.flipGroup();
  }
  return runs;
}

}  // namespace

// Groups alternate A, B, A ...
TEST(PatrolSchedule, ZeroNeverRunsAndOneRunsOnEveryPassOfTheGroup) {
  PatrolTimes times;
  times.hidden = 0;
  times.start = 1;
  times.nuts = -3;
  PatrolSchedule schedule;
  schedule.load(times);
  EXPECT_TRUE(runsOf(schedule, PatrolCategory::Hidden, 20).empty());
  schedule.load(times);
  EXPECT_TRUE(runsOf(schedule, PatrolCategory::Nuts, 20).empty());
  schedule.load(times);
  EXPECT_EQ(runsOf(schedule, PatrolCategory::Startup, 7), (std::vector<int>{1, 3, 5, 7}));
  times.hidden = 1;
  schedule.load(times);
  EXPECT_EQ(runsOf(schedule, PatrolCategory::Hidden, 5), (std::vector<int>{1, 3, 5}));
  // Every second pass of group B.
  times.tasks = 2;
  schedule.load(times);
  EXPECT_EQ(runsOf(schedule, PatrolCategory::Tasks, 8), (std::vector<int>{4, 8}));
}

TEST(PatrolSchedule, LoadingOptionsReloadsCountdownsAndForcingRunsTheRealtimeOnesNextAllInGroupA) {
  PatrolSchedule schedule;
  schedule.load(PatrolTimes{});
  schedule.flipGroup();
  PatrolTimes times;
  times.start = 4;
  times.services = 9;
  schedule.load(times);
  EXPECT_EQ(schedule.nextGroup(), PatrolGroup::A);
  EXPECT_EQ(schedule.countdown(PatrolCategory::Startup), 4);
  EXPECT_EQ(schedule.reloadValue(PatrolCategory::Startup), 4);
  EXPECT_EQ(schedule.countdown(PatrolCategory::Services), 9);
  // After running, the countdown comes back to the reload value.
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(schedule.due(PatrolCategory::Startup));
  EXPECT_TRUE(schedule.due(PatrolCategory::Startup));
  EXPECT_EQ(schedule.countdown(PatrolCategory::Startup), 4);
  // Forcing runs every real-time category on the next pass, in group A.
  times = PatrolTimes{};
  times.start = 9;
  times.ieHelpers = 9;
  times.hidden = 0;
  times.fileType = 0;
  schedule.load(times);
  schedule.flipGroup();
  RealtimeOptions realtime;  // defaults: startup, IE helpers, system files, pages; not file types or hidden
  schedule.force(realtime);
  EXPECT_EQ(schedule.nextGroup(), PatrolGroup::A);
  EXPECT_TRUE(schedule.due(PatrolCategory::Startup));
  EXPECT_TRUE(schedule.due(PatrolCategory::IEHelpers));
  EXPECT_TRUE(schedule.due(PatrolCategory::SystemFiles));
  EXPECT_TRUE(schedule.due(PatrolCategory::StartPage));
  EXPECT_FALSE(schedule.due(PatrolCategory::FileTypes));
  EXPECT_FALSE(schedule.due(PatrolCategory::Hidden));
  // Having run, each goes back to its own period.
  EXPECT_EQ(schedule.countdown(PatrolCategory::Startup), 9);
  realtime.hidden = 1;
  schedule.force(realtime);
  EXPECT_TRUE(schedule.due(PatrolCategory::Hidden));
  EXPECT_EQ(schedule.countdown(PatrolCategory::Hidden), 0);  // option 0: forced runs only
}

TEST(PatrolSchedule, WinInitKeepsALargerCountdownAndWaitsAfterADetection) {
  PatrolSchedule schedule;
  schedule.clearWinInit();
  PatrolTimes times;
  times.winInit = 2;
  schedule.load(times);
  EXPECT_EQ(schedule.countdown(PatrolCategory::WinInit), 2);
  EXPECT_FALSE(schedule.due(PatrolCategory::WinInit));
  EXPECT_TRUE(schedule.due(PatrolCategory::WinInit));
  // The check reloads it itself; until then it stays at 0 and does not run.
  EXPECT_EQ(schedule.countdown(PatrolCategory::WinInit), 0);
  EXPECT_FALSE(schedule.due(PatrolCategory::WinInit));
  schedule.winInitDetected();
  times.winInit = 5;
  schedule.load(times);  // smaller than the parked countdown: not taken
  EXPECT_EQ(schedule.countdown(PatrolCategory::WinInit), PatrolSchedule::kWinInitDetected);
  EXPECT_EQ(schedule.reloadValue(PatrolCategory::WinInit), 5);
  times.winInit = 100000;
  schedule.load(times);
  EXPECT_EQ(schedule.countdown(PatrolCategory::WinInit), 100000);
  // Skipped by an automatic refusal, it comes back on the next pass of its group.
  PatrolSchedule refused;
  times.winInit = 1;
  refused.load(times);
  ASSERT_TRUE(refused.due(PatrolCategory::WinInit));
  refused.postponeWinInit();
  EXPECT_TRUE(refused.due(PatrolCategory::WinInit));
}

TEST(PatrolSchedule, TrayIsRenewedOnEverySixtySecondPass) {
  PatrolSchedule schedule;
  std::vector<int> renewals;
  for (int pass = 1; pass <= 130; ++pass)
    if (schedule.trayRenewalDue()) renewals.push_back(pass);
  EXPECT_EQ(renewals, (std::vector<int>{62, 124}));
}

TEST(PatrolSchedule, PassesLessThanASecondApartAreRefusedCountedFromTheEndOfALongOne) {
  PatrolSchedule schedule;
  EXPECT_TRUE(schedule.startPass(500));  // the first pass, even right after boot
  EXPECT_FALSE(schedule.startPass(1400));
  // The refused pass still moved the start tick.
  EXPECT_FALSE(schedule.startPass(2300));
  EXPECT_TRUE(schedule.startPass(3300));
  // Across the wrap of the tick count.
  EXPECT_TRUE(schedule.startPass(0xFFFFFF00u));
  EXPECT_FALSE(schedule.startPass(0x00000100u));
  EXPECT_TRUE(schedule.startPass(0x00000500u));
  // A long pass counts the gap from its end.
  ASSERT_TRUE(schedule.startPass(10000));
  bool longPass = false;
  EXPECT_EQ(schedule.finishPass(10400, longPass), 400u);
  EXPECT_FALSE(longPass);
  EXPECT_FALSE(schedule.startPass(10900));  // measured from the start, 900 ms
  ASSERT_TRUE(schedule.startPass(20000));
  EXPECT_EQ(schedule.finishPass(25000, longPass), 5000u);
  EXPECT_TRUE(longPass);
  EXPECT_FALSE(schedule.startPass(25500));  // measured from the end
}
