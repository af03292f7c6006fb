#pragma once
// The patrol's bookkeeping between passes: one countdown per category (in
// passes of its group), the A/B group toggle, forcing by the task-change
// check, the periodic tray renewal and the one-second guard between passes.
// The Monitor asks it what to run; it decides nothing about the platform.
#include <array>
#include <cstdint>

namespace tavrin {

enum class PatrolCategory {
  Startup,
  IEHelpers,
  Hidden,
  SystemFiles,
  StartPage,
  FileTypes,
  Tasks,
  WinInit,
  Services,
  Nuts,
  Cookies,
};
constexpr int kPatrolCategoryCount = 11;

enum class PatrolGroup { A, B };

// The patrol-time options, in passes of the category's group.
struct PatrolTimes {
  int start = 2, ieHelpers = 2, hidden = 0, hostFile = 3, startPage = 2, fileType = 10;
  int tasks = 11, winInit = 5, services = 7, nuts = 0, cookies = 0;
};

// The real-time options: a non-zero one makes a changed task count force its category.
struct RealtimeOptions {
  int startup = 1, ieHelper = 1, sysFiles = 1, startPage = 1, fileType = 0, hidden = 0;
};

class PatrolSchedule {
 public:
  static constexpr int kWinInitDetected = 99999;
  // Passes between two tray renewals: the icon is renewed on every 62nd pass.
  static constexpr int kTrayRenewAfter = 60;
  static constexpr std::uint32_t kMinimumGapMs = 1000;

  // Options loaded: countdowns and reload values from the times, group A next.
  // Win INIT keeps a countdown that is larger than its option (a detection
  // parks it at kWinInitDetected).
  void load(const PatrolTimes& times);

  PatrolGroup nextGroup() const { return groupB_ ? PatrolGroup::B : PatrolGroup::A; }
  // End of a pass: the other group runs next.
  void flipGroup() { groupB_ = !groupB_; }

  // The countdown rule for one category of the running group: true when it
  // runs now. The countdown is reloaded when it runs, except Win INIT, whose
  // check reloads it itself (see reloadWinInit).
  bool due(PatrolCategory category);
  // Win INIT ran but was told not to ask (automatic refusal): it comes back
  // on the next pass of its group instead of never running again.
  void postponeWinInit() { countdown_[index(PatrolCategory::WinInit)] = 1; }
  void reloadWinInit() { countdown_[index(PatrolCategory::WinInit)] = reload_[index(PatrolCategory::WinInit)]; }
  void winInitDetected() { countdown_[index(PatrolCategory::WinInit)] = kWinInitDetected; }

  // The task-change check found a changed task count: every real-time
  // category runs on the next pass, which is a group-A pass.
  void force(const RealtimeOptions& realtime);

  int countdown(PatrolCategory category) const { return countdown_[index(category)]; }
  int reloadValue(PatrolCategory category) const { return reload_[index(category)]; }
  // Start-up clears the Win INIT countdown before options are loaded.
  void clearWinInit() { countdown_[index(PatrolCategory::WinInit)] = 0; }

  // Step 2 of a pass: true when the tray icon is to be renewed now.
  bool trayRenewalDue();
  // Step 4 of a pass: false when the previous pass started less than a
  // second ago. The start tick is taken either way.
  bool startPass(std::uint32_t nowMs);
  // Step 9: the pass's total time; a pass longer than a second moves the
  // start tick to its end, so that the next one gets its full second.
  std::uint32_t finishPass(std::uint32_t nowMs, bool& longPass);

 private:
  static int index(PatrolCategory category) { return static_cast<int>(category); }

  std::array<int, kPatrolCategoryCount> countdown_{};
  std::array<int, kPatrolCategoryCount> reload_{};
  bool groupB_ = false;
  int passCounter_ = 0;
  std::uint32_t lastStartMs_ = 0;
  bool started_ = false;
};

}  // namespace tavrin
