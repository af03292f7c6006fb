// The Scheduled Tasks category of the patrol.
#include "base/alert_rules.h"
#include "base/text.h"
#include "inventory/detection_store.h"
#include "inventory/scheduled_tasks.h"
#include "inventory/sound_events.h"
#include "patrol.h"
#include "resource.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

// Tasks of this maker's updater come and go on their own; they are never asked about.
constexpr char kExemptTaskName[] = "McAfee.com";
constexpr int kTaskAlertSound = 3;

bool isKnownTask(const std::string& name) { return contains(name, kExemptTaskName) || isTaskApproved(name); }

}  // namespace

void checkScheduledTasks(MonitorState& state) {
  EntryList& entries = state.entries;
  enumerateTasks(entries);
  for (int i = 0; i < entries.count(); ++i) {
    const std::string name = entries.name(i);
    const std::string path = entries.programPath(i);
    if (isKnownTask(name)) continue;
    // The alert's subject carries no type: the dialog knows it shows a task.
    state.alertSubject.set(path, name, 0);
    if (state.options.hideAlerts > 1) {
      removeScheduledTask(name);
      continue;
    }
    playSoundEvent(kTaskAlertSound, state.options);
    recordFirstDetection(path, "Tasks");
    trayStatus(state, IDI_TRAY_ALERT, IDS_TIP_TASKS);
    state.alertShowing = true;
    trace::markDialogShown();
    const int answer = showNewTaskAlert(alertContextOf(state));
    state.alertShowing = false;
    if (answer == alert::kApprove) approveTask(name);
    if (answer == alert::kRefuse) removeScheduledTask(name);
  }
  if (!state.ntFamily)
    if (HWND tray = FindWindowA("Shell_TrayWnd", nullptr)) InvalidateRect(tray, nullptr, TRUE);
}

}  // namespace tavrin
