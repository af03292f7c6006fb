#include "tick_schedule.h"

namespace tavrin {

int TickSchedule::launcherStep(int launchedCount, int delayedTotal) {
  if (launchedCount >= delayedTotal) return 0;
  const int taken = launcherTicks_++;
  if (taken < kLauncherEvery - 1) return 0;
  launcherTicks_ = 0;
  ++launcherCalls_;
  return launcherCalls_ * 10;
}

bool TickSchedule::passStep() {
  const int taken = passTicks_++;
  return taken >= kPassEvery - 1;
}

void TickSchedule::passFinished() {
  passTicks_ = 0;
  checkNow_ = false;
}

CheckNowAction TickSchedule::checkNowStep(bool alertShowing, bool passRunning) {
  if (!checkNow_) {
    streak_ = 0;
    return CheckNowAction::None;
  }
  if (alertShowing || passRunning) return CheckNowAction::Deferred;
  const int taken = streak_++;
  checkNow_ = false;
  if (taken >= kMaxStreak) {
    streak_ = 0;
    return CheckNowAction::Conflict;
  }
  return CheckNowAction::CheckTasks;
}

void TickSchedule::restart() {
  passTicks_ = 0;
  streak_ = 0;
}

}  // namespace tavrin
