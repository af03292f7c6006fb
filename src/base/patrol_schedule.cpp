#include "patrol_schedule.h"

namespace tavrin {

void PatrolSchedule::load(const PatrolTimes& times) {
  const int values[kPatrolCategoryCount] = {times.start,     times.ieHelpers, times.hidden, times.hostFile,
                                            times.startPage, times.fileType,  times.tasks,  times.winInit,
                                            times.services,  times.nuts,      times.cookies};
  const int winInit = index(PatrolCategory::WinInit);
  for (int i = 0; i < kPatrolCategoryCount; ++i) {
    reload_[i] = values[i];
    if (i != winInit || values[i] >= countdown_[i]) countdown_[i] = values[i];
  }
  groupB_ = false;
}

bool PatrolSchedule::due(PatrolCategory category) {
  int& countdown = countdown_[index(category)];
  if (countdown <= 0) return false;
  if (--countdown != 0) return false;
  if (category != PatrolCategory::WinInit) countdown = reload_[index(category)];
  return true;
}

void PatrolSchedule::force(const RealtimeOptions& realtime) {
  const struct {
    int option;
    PatrolCategory category;
  } forced[] = {
      {realtime.startup, PatrolCategory::Startup},       {realtime.ieHelper, PatrolCategory::IEHelpers},
      {realtime.sysFiles, PatrolCategory::SystemFiles},  {realtime.startPage, PatrolCategory::StartPage},
      {realtime.fileType, PatrolCategory::FileTypes},    {realtime.hidden, PatrolCategory::Hidden},
  };
  for (const auto& f : forced)
    if (f.option != 0) countdown_[index(f.category)] = 1;
  groupB_ = false;
}

bool PatrolSchedule::trayRenewalDue() {
  const int taken = passCounter_++;
  if (taken < kTrayRenewAfter + 1) return false;
  passCounter_ = 0;
  return true;
}

bool PatrolSchedule::startPass(std::uint32_t nowMs) {
  // Tick counts wrap after 49 days; unsigned subtraction stays right across it.
  const bool tooSoon = started_ && nowMs - lastStartMs_ < kMinimumGapMs;
  lastStartMs_ = nowMs;
  started_ = true;
  return !tooSoon;
}

std::uint32_t PatrolSchedule::finishPass(std::uint32_t nowMs, bool& longPass) {
  const std::uint32_t total = nowMs - lastStartMs_;
  longPass = total > kMinimumGapMs;
  if (longPass) lastStartMs_ = nowMs;
  return total;
}

}  // namespace tavrin
