#include "patrol.h"

#include "base/text.h"
#include "checks.h"
#include "file_checks.h"
#include "inventory/detection_store.h"
#include "inventory/options.h"
#include "inventory/processes.h"
#include "inventory/scheduled_tasks.h"
#include "inventory/string_loader.h"
#include "resource.h"
#include "sys/message.h"
#include "sys/registry.h"
#include "sys/trace.h"
#include "tray.h"

namespace tavrin {
namespace {

// No critical-error boxes (a missing floppy, say) while the pass touches files.
constexpr UINT kPassErrorMode = 0x01F40001;

bool isMajorVersionSix() { return LOBYTE(LOWORD(GetVersion())) == 6; }

// One category: its trace line, the check, its timing line.
template <typename Check>
void runCategory(const char* name, Check check) {
  trace::timedLine("VERIFY", name);
  check();
  trace::timingLine();
}

void runGroupA(MonitorState& state) {
  PatrolSchedule& patrol = state.patrol;
  trayStatus(state, IDI_TRAY_PASS_FIRST, IDS_TIP_STARTUP);
  if (patrol.due(PatrolCategory::Startup)) runCategory("Startup Programs", [&] { checkStartupPrograms(state); });
  if (patrol.due(PatrolCategory::IEHelpers)) runCategory("IE Helpers", [&] { checkIEHelpers(state); });
  if (patrol.due(PatrolCategory::Hidden)) runCategory("Hidden Files", [&] { checkHiddenFiles(state); });
  if (!isMajorVersionSix() && patrol.due(PatrolCategory::SystemFiles))
    runCategory("Verify System Files", [&] { checkSystemFiles(state); });
  if (patrol.due(PatrolCategory::StartPage)) runCategory("IE Start/Search Page", [&] { checkBrowserPages(state); });
  if (patrol.due(PatrolCategory::FileTypes)) runCategory("File Types", [&] { checkFileTypes(state); });
}

void checkWinInit(MonitorState& state) {
  if (state.options.hideAlerts > 1) {
    state.patrol.postponeWinInit();
    return;
  }
  state.patrol.reloadWinInit();
  trace::markDialogShown();
  if (!restartCommandsPending(state)) return;
  state.patrol.winInitDetected();
  if (messageBox(nullptr, loadString(IDS_ASK_VIEW_RESTART_COMMANDS), state.caption, MB_YESNO | MB_ICONEXCLAMATION,
                 languageId()) == IDYES)
    showRestartCommands(state);
}

void runGroupB(MonitorState& state) {
  PatrolSchedule& patrol = state.patrol;
  trayStatus(state, IDI_TRAY_PASS_SECOND, IDS_TIP_NUTS);
  // The countdown runs down whether the scheduler runs or not.
  if (patrol.due(PatrolCategory::Tasks) && schedulerRunning())
    runCategory("Scheduled Tasks", [&] { checkScheduledTasks(state); });
  if (!state.ntFamily && patrol.due(PatrolCategory::WinInit))
    runCategory("Win INIT file", [&] { checkWinInit(state); });
  if (patrol.due(PatrolCategory::Services)) runCategory("Services", [&] { checkServices(state); });
  if (patrol.due(PatrolCategory::Nuts)) runCategory("Filter Cookies", [&] { filterCookies(state); });
  runCategory("Filter Mozilla Cookies", [&] { copyMozillaCookies(state); });
  if (patrol.due(PatrolCategory::Cookies)) runCategory("Check for New Cookies", [&] { checkNewCookies(state); });
}

}  // namespace

AlertContext alertContextOf(MonitorState& state) {
  AlertContext context;
  context.instance = state.instance;
  context.owner = state.window;
  context.fonts = &state.fonts;
  context.subject = &state.alertSubject;
  return context;
}

void trayStatus(MonitorState& state, int iconId, unsigned tooltipId) {
  trayIcon(state, TrayOperation::Modify, iconId, tooltipId);
}

void loadMonitorOptions(MonitorState& state) {
  state.options.load(Program::Monitor, state.ntFamily);
  state.patrol.load(state.options.patrol);
}

int runPatrolPass(MonitorState& state) {
  if (state.alertShowing || state.passRunning) return 1;
  if (state.patrol.trayRenewalDue()) {
    trayIcon(state, TrayOperation::Delete, 0, IDS_TIP_ON_PATROL);
    trayIcon(state, TrayOperation::Add, IDI_TRAY_IDLE, IDS_TIP_ON_PATROL);
  }
  state.entries.clear();
  state.passRunning = true;
  if (!state.patrol.startPass(GetTickCount())) {
    state.passRunning = false;
    return 0;
  }
  const UINT previousMode = SetErrorMode(kPassErrorMode);
  if (state.patrol.nextGroup() == PatrolGroup::A)
    runGroupA(state);
  else
    runGroupB(state);
  state.entries.clear();
  if (state.schedule.checkNowPending()) recordRunningProgramDates();
  state.patrol.flipGroup();
  trayStatus(state, state.options.trayIcon, IDS_TIP_ON_PATROL);
  bool longPass = false;
  const unsigned total = state.patrol.finishPass(GetTickCount(), longPass);
  trace::line(format(longPass ? "Release TAVRINEXTRA10: Total Verify Time %u, " : "TAVRINEXTRA10: Total Verify Time %u, ",
                     total),
              "verify");
  state.passRunning = false;
  SetErrorMode(previousMode);
  return 1;
}

int checkTaskChanges(MonitorState& state) {
  trace::timedLine("* * * VERIFY TASKS", "Check for Task Change");
  // Distinct program files, without their version resources: this runs on every check-now request.
  const int running = static_cast<int>(runningProgramFiles().size());
  if (running != state.lastRunningCount) {
    if (readOption("Update") != 0) {
      loadMonitorOptions(state);
      // Not through writeOption: that would mark Update again.
      reg::writeString(HKEY_CURRENT_USER, kOptionsKey, "Update", "0");
    }
    state.patrol.force(state.options.realtime);
    state.schedule.forcePass();
    trace::line("* * * * VERIFY TASKS", "NEW TASK DETECTED");
  }
  trace::timingLine();
  state.lastRunningCount = running;
  state.entries.clear();
  return running;
}

}  // namespace tavrin
