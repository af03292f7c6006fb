#pragma once
// The Monitor's two-second tick: when the delayed-start launcher runs, when a
// patrol pass is due, and how check-now requests are served. The Monitor calls
// the three steps in order on every tick; a pass may run nested ticks (modal
// alerts), which call the same steps again.

namespace tavrin {

enum class CheckNowAction {
  None,          // no request pending
  Deferred,      // an alert or a pass is running; the request stays pending
  CheckTasks,    // serve it: run the task-change check
  Conflict,      // the fourth request in a row: trace and drop it
};

class TickSchedule {
 public:
  // Ticks between two launcher calls and two passes.
  static constexpr int kLauncherEvery = 6;
  static constexpr int kPassEvery = 17;
  static constexpr int kMaxStreak = 3;

  // Step 1. Returns the launcher's elapsed argument (10, 20, 30 ...) when the
  // launcher is due on this tick, 0 otherwise.
  int launcherStep(int launchedCount, int delayedTotal);

  // Step 2. True when a pass is due on this tick; the caller then runs the
  // pass (which may return at once) and calls passFinished().
  bool passStep();
  void passFinished();

  // Step 3.
  CheckNowAction checkNowStep(bool alertShowing, bool passRunning);

  void requestCheckNow() { checkNow_ = true; }
  bool checkNowPending() const { return checkNow_; }
  // Makes the next tick's pass step run a pass (forcing by the task-change check).
  void forcePass() { passTicks_ = kPassEvery - 1; }
  // Restarting the patrol: counters back to their start.
  void restart();

  int launcherCalls() const { return launcherCalls_; }
  int passTicks() const { return passTicks_; }

 private:
  int launcherTicks_ = 0;
  int launcherCalls_ = 0;
  int passTicks_ = 0;
  int streak_ = 0;
  bool checkNow_ = false;
};

}  // namespace tavrin
