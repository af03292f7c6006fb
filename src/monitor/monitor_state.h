#pragma once
// Everything the running Monitor keeps between messages.
#include <windows.h>

#include <string>

#include "alerts.h"
#include "base/alert_rules.h"
#include "base/patrol_schedule.h"
#include "base/tick_schedule.h"
#include "inventory/delayed_start.h"
#include "inventory/entry_list.h"
#include "inventory/options.h"
#include "ostrum_binding.h"
#include "startup_worker.h"

namespace tavrin {

struct MonitorState {
  HINSTANCE instance = nullptr;
  std::string className;
  std::string caption;
  HWND window = nullptr;
  bool ntFamily = true;
  Options options;
  EntryList entries{"Tavrin", 315};

  UINT_PTR timerId = 0;
  UINT taskbarCreatedMessage = 0;
  bool trayBusy = false;
  bool runRegistered = false;

  int delayedTotal = 0;
  int delayedLaunched = 0;
  DelayedLauncher launcher;
  TickSchedule schedule;
  bool alertShowing = false;
  bool passRunning = false;
  RepeatAlerts repeats;

  PatrolSchedule patrol;
  AlertFonts fonts;
  AlertSubject alertSubject;
  int lastRunningCount = 0;
  int cookieMode = 1;  // 1 Internet Explorer cookies, 3 Mozilla cookies

  OstrumBinding ostrum;
  bool cleanedUp = false;
  // Last: destroyed first, so a running initialisation is waited for.
  StartupWorker startup;
};

}  // namespace tavrin
