#include "monitor_window.h"

#include <shellapi.h>

#include "base/commands.h"
#include "base/text.h"
#include "checks.h"
#include "file_checks.h"
#include "inventory/first_run.h"
#include "inventory/options.h"
#include "inventory/string_loader.h"
#include "resource.h"
#include "sys/dialog.h"
#include "sys/message.h"
#include "sys/paths.h"
#include "sys/trace.h"
#include "tray.h"

namespace tavrin {
namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTickMilliseconds = 2000;

MonitorState* stateOf(HWND window) {
  return reinterpret_cast<MonitorState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void showTrayIcon(MonitorState& state) {
  trace::line("Program Init1", "Add Tray Icon");
  state.taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
  state.trayBusy = false;
  trayIcon(state, TrayOperation::Add, IDI_TRAY_IDLE, IDS_TIP_ON_PATROL);
}

void startPatrol(MonitorState& state) {
  clearEntryList(state);
  state.schedule.restart();
  state.repeats.reset();
  trace::line("Application Start", "VerifyData");
  trace::line("Application Start", "SetTimer");
  state.timerId = SetTimer(state.window, kTimerId, kTickMilliseconds, nullptr);
}

// The initialisation is done: its results taken, the options loaded again
// (the Explorer may have written some meanwhile), then the watcher and the patrol.
void onStartupDone(MonitorState& state) {
  if (state.cleanedUp) return;
  state.startup.wait();
  state.runRegistered = state.startup.result().runRegistered;
  state.delayedTotal = state.startup.result().delayedTotal;
  loadMonitorOptions(state);
  state.entries.setCookieLimit(state.options.maxCookie);
  state.schedule = TickSchedule{};
  state.ostrum.start(state.window);
  startPatrol(state);
}

void onTick(MonitorState& state) {
  if (int elapsed = state.schedule.launcherStep(state.delayedLaunched, state.delayedTotal))
    launchDelayedPrograms(state, elapsed);
  if (state.schedule.passStep()) {
    runPatrolPass(state);
    state.schedule.passFinished();
    state.options.hideAlerts = 0;  // an automatic refusal lasts one pass
  }
  switch (state.schedule.checkNowStep(state.alertShowing, state.passRunning)) {
    case CheckNowAction::Conflict:
      trace::line("RID", "Possible System Conflict");
      Sleep(50);
      trace::timingLine();
      break;
    case CheckNowAction::CheckTasks:
      trace::line("CheckTaskChanges()", "tvmain");
      checkTaskChanges(state);
      break;
    case CheckNowAction::None:
    case CheckNowAction::Deferred:
      break;
  }
}

void cleanup(MonitorState& state) {
  if (state.cleanedUp) return;
  state.cleanedUp = true;
  state.ostrum.stop();
  trayIcon(state, TrayOperation::Delete, 0, IDS_TIP_ON_PATROL);
  if (state.timerId) KillTimer(state.window, kTimerId);
  state.timerId = 0;
  state.startup.wait();
  trace::line("Application Exit", state.className);
  clearEntryList(state);
  CoUninitialize();
}

// The question comes before anything is torn down, so that "No" leaves a
// Monitor that still has its window, icon and timer.
void exitRequest(MonitorState& state) {
  trace::line("WM_DESTROY", "tvmain");
  state.options.confirmExit = readOption("ConfirmExit");
  if (state.options.confirmExit != 0) {
    int answer = messageBox(nullptr, loadString(IDS_CONFIRM_EXIT), state.caption,
                            MB_YESNO | MB_ICONQUESTION, languageId());
    if (answer == IDNO) {
      const std::string command = "\"" + programFolder() + "\\TavrinEx.exe\" -RESTART";
      WinExec(command.c_str(), SW_SHOW);
      return;
    }
  }
  cleanup(state);
  DestroyWindow(state.window);
}

void onCommand(MonitorState& state, WPARAM wParam, LPARAM lParam) {
  static const struct {
    int command;
    const char* sw;
  } kExplorerPages[] = {
      {CMD_STARTUP_PROGRAMS, "-START"}, {CMD_COOKIES, "-NUTS"},       {CMD_ACTIVE_TASKS, "-TASK"},
      {CMD_OPTIONS, "-OPTIONS"},        {CMD_SERVICES, "-SERVICE"},   {CMD_SCHEDULED_TASKS, "-SCHEDULE"},
      {CMD_IE_HELPERS, "-BHO"},         {CMD_FILE_TYPES, "-FILETYPES"}, {CMD_MONITOR, "-MONITOR"},
      {CMD_BLACKLIST, "-BLACKLIST"},    {CMD_HIDDEN_FILES, "-HIDDEN"}, {CMD_DELAYED_START, "-DELAY"},
  };
  const int command = LOWORD(wParam);
  for (const auto& page : kExplorerPages) {
    if (page.command == command) {
      openExplorer(state, page.sw);
      return;
    }
  }
  switch (command) {
    case CMD_START_PATROL:
      // Only once the initialisation has approved what is there.
      if (!state.startup.running()) startPatrol(state);
      break;
    case CMD_QUIT:
      exitRequest(state);
      break;
    case CMD_TOGGLE_MONITOR_STARTUP:
      toggleMonitorRegistration(state);
      break;
    case CMD_RESTART_COMMANDS:
      showRestartCommands(state);
      break;
    case CMD_TRAY_VISIBILITY:
      // The Explorer writes HideBramble before it posts this. Take the new
      // value at once (not at the next options reload), so that an icon
      // hidden earlier comes back when the option is cleared.
      if (lParam != 0) {
        trayIcon(state, TrayOperation::Delete, 0, IDS_TIP_ON_PATROL);
        state.options.hideBramble = readOption("HideBramble");
      } else {
        state.options.hideBramble = readOption("HideBramble");
        trayIcon(state, TrayOperation::Add, IDI_TRAY_IDLE, IDS_TIP_ON_PATROL);
      }
      break;
    default:
      break;
  }
}

LRESULT CALLBACK monitorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created->lpCreateParams));
  }
  MonitorState* state = stateOf(window);
  if (!state) return DefWindowProcA(window, message, wParam, lParam);
  if (state->taskbarCreatedMessage != 0 && message == state->taskbarCreatedMessage) {
    trayIcon(*state, TrayOperation::Add, IDI_TRAY_IDLE, IDS_TIP_ON_PATROL);
    return DefWindowProcA(window, message, wParam, lParam);
  }
  switch (message) {
    case WM_COMMAND:
      onCommand(*state, wParam, lParam);
      return 0;
    case WM_TIMER:
      onTick(*state);
      return 0;
    case kTrayCallbackMessage:
      onTrayCallback(*state, wParam, lParam);
      return 0;
    case kCheckNowMessage:
      state->schedule.requestCheckNow();
      return 0;
    case kStartupDoneMessage:
      onStartupDone(*state);
      return 0;
    case WM_CLOSE:
      exitRequest(*state);
      return 0;
    case WM_DESTROY:
      // Reached by a confirmed exit, or when the window is destroyed from outside.
      cleanup(*state);
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

bool registerMonitorClass(MonitorState& state) {
  return registerMainWindowClass(state.instance, monitorProc, IDI_TRAY_IDLE, state.className);
}

HWND createMonitorWindow(MonitorState& state) {
  state.window = CreateWindowExA(0, state.className.c_str(), state.caption.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 0, 0,
                                 nullptr, nullptr, state.instance, &state);
  return state.window;
}

bool startMonitor(MonitorState& state) {
  takeLanguageAndTraceSwitch();
  // Read before the store exists on a first run: the icon's options have their defaults then.
  loadMonitorOptions(state);
  showTrayIcon(state);
  return state.startup.start(state.window, state.caption);
}

bool openExplorer(MonitorState& state, const char* commandSwitch) {
  // A full path: the Explorer is looked for beside the Monitor, nowhere else.
  const std::string folder = programFolder();
  const std::string file = folder + "\\TavrinEx.exe";
  HINSTANCE result = ShellExecuteA(state.window, "open", file.c_str(), commandSwitch, folder.c_str(), SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) > 32) return true;
  messageBox(state.window, loadString(IDS_EXPLORER_NOT_FOUND), state.caption, MB_OK | MB_ICONSTOP, languageId());
  return false;
}

}  // namespace tavrin
