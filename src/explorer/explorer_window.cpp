#include "explorer_window.h"

#include "base/commands.h"
#include "inventory/delayed_start.h"
#include "inventory/monitor_registration.h"
#include "inventory/options.h"
#include "inventory/restart_commands.h"
#include "resource.h"
#include "sheet.h"
#include "sys/dialog.h"
#include "sys/paths.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

ExplorerState* stateOf(HWND window) {
  return reinterpret_cast<ExplorerState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool isSheetCommand(int command) {
  switch (command) {
    case CMD_STARTUP_PROGRAMS: case CMD_COOKIES: case CMD_ACTIVE_TASKS: case CMD_OPTIONS: case CMD_SERVICES:
    case CMD_SCHEDULED_TASKS: case CMD_IE_HELPERS: case CMD_FILE_TYPES: case CMD_HIDDEN_FILES:
    case CMD_DELAYED_START: case CMD_MONITOR: case CMD_BLACKLIST:
      return true;
    default:
      return false;
  }
}

void onCommand(ExplorerState& state, int command) {
  if (isSheetCommand(command)) {
    openSheet(state, command);
    return;
  }
  switch (command) {
    case CMD_COOKIES_WITH_LIST: {
      const bool before = state.viewCookiesAtOnce;
      state.viewCookiesAtOnce = true;
      openSheet(state, CMD_COOKIES);
      state.viewCookiesAtOnce = before;
      break;
    }
    case CMD_RESTART_COMMANDS:
      showRestartCommands(state.instance, state.window, false);
      break;
    case CMD_QUIT:
      DestroyWindow(state.window);
      break;
    case CMD_TOGGLE_MONITOR_STARTUP:
      registerMonitor(!isMonitorRegistered());
      break;
    case CMD_EXIT_HANDLING:
      if (readOption("ConfirmExit") == 0)
        DestroyWindow(state.window);
      else if (FindWindowA(kMonitorClassName, nullptr))
        openSheet(state, CMD_STARTUP_PROGRAMS);
      else
        startMonitor();
      break;
    default:
      break;
  }
}

void shutdown(ExplorerState& state) {
  if (!state.window) return;
  state.window = nullptr;
  state.entries.clear();
  CoUninitialize();
  PostQuitMessage(0);
}

LRESULT CALLBACK explorerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created->lpCreateParams));
  }
  ExplorerState* state = stateOf(window);
  if (!state) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND:
      onCommand(*state, LOWORD(wParam));
      return 0;
    case WM_CLOSE:
    case WM_DESTROY:
      shutdown(*state);
      if (message == WM_CLOSE) DestroyWindow(window);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

bool registerExplorerClass(ExplorerState& state) {
  return registerMainWindowClass(state.instance, explorerProc, IDI_PROGRAM, state.className);
}

HWND createExplorerWindow(ExplorerState& state) {
  state.window = CreateWindowExA(WS_EX_APPWINDOW, state.className.c_str(), state.caption.c_str(),
                                 WS_VISIBLE | WS_CAPTION | WS_SYSMENU, 0, -200, 0, 0, nullptr, nullptr,
                                 state.instance, &state);
  return state.window;
}

void startMonitor() {
  const std::string command = "\"" + programFolder() + "\\Tavrin.exe\"";
  WinExec(command.c_str(), SW_SHOW);
}

void restoreDelayedPrograms() { trace::line("Restore", std::to_string(restoreAllDelayed())); }

void createSharedResources(ExplorerState& state) {
  auto bitmap = [&](int id) {
    return UniqueBitmap(
        static_cast<HBITMAP>(LoadImageA(state.instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
  };
  ButtonImages& images = state.images;
  images.help = bitmap(IDB_HELP);
  images.helpPressed = bitmap(IDB_HELP_PRESSED);
  images.helpHover = bitmap(IDB_HELP_HOVER);
  images.monitorOn = bitmap(IDB_MONITOR_ON);
  images.monitorPressed = bitmap(IDB_MONITOR_PRESSED);
  images.monitorOnHover = bitmap(IDB_MONITOR_ON_HOVER);
  images.monitorOff = bitmap(IDB_MONITOR_OFF);
  images.monitorOffHover = bitmap(IDB_MONITOR_OFF_HOVER);
  images.monitorOffPressed = bitmap(IDB_MONITOR_OFF_PRESSED);
  images.monitorRealtime = bitmap(IDB_MONITOR_REALTIME);

  auto font = [](int height, int weight, const char* face) {
    return UniqueFont(CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face));
  };
  state.fonts.bold = font(-11, FW_BOLD, "MS Shell Dlg");
  state.fonts.small = font(-10, FW_NORMAL, "MS Sans Serif");
  state.options.noteFont = state.options.noteFont.empty() ? "Arial" : state.options.noteFont;
  state.fonts.note = font(-(state.options.noteSize > 0 ? state.options.noteSize : 14), FW_NORMAL,
                          state.options.noteFont.c_str());
}

}  // namespace tavrin
