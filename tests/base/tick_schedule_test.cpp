#include "base/tick_schedule.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tavrin;

namespace {

// Runs `ticks` plain ticks (no alert, no pass running) and returns the ticks
// (1-based) on which a pass was due.
std::vector<int> passTicks(TickSchedule& schedule, int ticks) {
  std::vector<int> due;
  for (int t = 1; t <= ticks; ++t) {
    if (schedule.passStep()) {
      due.push_back(t);
      schedule.passFinished();
    }
  }
  return due;
}

}  // namespace

TEST(TickSchedule, PassesEverySeventeenTicksNestedOnesCountedAndARestartStartsOverAndTheLauncherEverySixth) {
  TickSchedule schedule;
  EXPECT_EQ(passTicks(schedule, 60), (std::vector<int>{17, 34, 51}));
  for (int t = 1; t <= 30; ++t) EXPECT_EQ(schedule.launcherStep(0, 0), 0) << "an empty list never runs";
  std::vector<std::pair<int, int>> calls;
  int launched = 0;
  for (int t = 1; t <= 40; ++t) {
    if (int arg = schedule.launcherStep(launched, 2)) {
      calls.push_back({t, arg});
      if (t > 6) ++launched;  // the first call finds nothing due yet
    }
  }
  EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{6, 10}, {12, 20}, {18, 30}}));
  // Ticks nested in a pass keep counting.
  TickSchedule nested;
  for (int t = 1; t < 17; ++t) nested.passStep();
  ASSERT_TRUE(nested.passStep());
  // An alert inside the pass keeps the message loop ticking. The outer pass has
  // not reset the counter yet, so the first nested tick is due at once (that
  // pass returns immediately), and the count starts over from there.
  EXPECT_EQ(passTicks(nested, 20), (std::vector<int>{1, 18}));
  nested.passFinished();  // the outer pass ends
  EXPECT_EQ(passTicks(nested, 17), std::vector<int>{17});
  // A restart resets the pass counter and the streak.
  TickSchedule restarted;
  for (int t = 0; t < 10; ++t) restarted.passStep();
  for (int t = 0; t < 3; ++t) {
    restarted.requestCheckNow();
    restarted.checkNowStep(false, false);
  }
  restarted.restart();
  restarted.forcePass();
  EXPECT_TRUE(restarted.passStep()) << "a forced pass runs on the next tick";
  restarted.passFinished();
  restarted.requestCheckNow();
  EXPECT_EQ(restarted.checkNowStep(false, false), CheckNowAction::CheckTasks);
  EXPECT_EQ(passTicks(restarted, 17), std::vector<int>{17});
}

// A request on every tick is served three times, then one is dropped; a quiet
// tick resets the streak; an open alert or a running pass defers it.
TEST(TickSchedule, CheckNowRequestsAndAPassDueWhileAnAlertIsOpen) {
  TickSchedule schedule;
  using A = CheckNowAction;
  std::vector<A> actions;
  for (int t = 0; t < 8; ++t) {
    schedule.requestCheckNow();
    actions.push_back(schedule.checkNowStep(false, false));
    EXPECT_FALSE(schedule.checkNowPending());
  }
  EXPECT_EQ(actions, (std::vector<A>{A::CheckTasks, A::CheckTasks, A::CheckTasks, A::Conflict, A::CheckTasks,
                                     A::CheckTasks, A::CheckTasks, A::Conflict}));
  for (int t = 0; t < 3; ++t) {
    schedule.requestCheckNow();
    schedule.checkNowStep(false, false);
  }
  EXPECT_EQ(schedule.checkNowStep(false, false), A::None);
  schedule.requestCheckNow();
  EXPECT_EQ(schedule.checkNowStep(false, false), A::CheckTasks) << "the quiet tick reset the streak";
  schedule.requestCheckNow();
  EXPECT_EQ(schedule.checkNowStep(true, false), A::Deferred);
  EXPECT_EQ(schedule.checkNowStep(false, true), A::Deferred);
  EXPECT_TRUE(schedule.checkNowPending());
  EXPECT_EQ(schedule.checkNowStep(false, false), A::CheckTasks);
  // A pass that comes due while an alert is open still clears the request.
  TickSchedule due;
  for (int t = 1; t < 17; ++t) ASSERT_FALSE(due.passStep());
  due.requestCheckNow();
  ASSERT_TRUE(due.passStep());  // the pass returns at once: an alert is open
  due.passFinished();
  EXPECT_EQ(due.checkNowStep(true, false), A::None);
  EXPECT_EQ(due.passTicks(), 0);
}
