// Tavrin.exe: the resident Monitor.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "base/command_line.h"
#include "base/commands.h"
#include "inventory/string_loader.h"
#include "monitor_window.h"
#include "resource.h"
#include "sys/paths.h"
#include "sys/trace.h"
#include "sys/version.h"

using namespace tavrin;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  MonitorState state;
  state.instance = instance;
  state.ntFamily = isWindowsNtFamily();
  state.className = loadString(IDS_CLASS_NAME, 32);
  state.caption = loadString(IDS_CAPTION, 32);
  if (state.className.empty() || state.caption.empty()) return 0;

  const std::string arguments = commandLine ? commandLine : "";
  const bool quit = hasSwitch(arguments, "-Q");
  if (HWND running = FindWindowA(state.className.c_str(), nullptr)) {
    if (quit)
      PostMessageA(running, WM_COMMAND, CMD_QUIT, 0);
    else if (!hasSwitch(arguments, "-NoOpen"))
      openExplorer(state, "-START");
    return 0;
  }
  if (quit) return 0;

  if (!registerMonitorClass(state) || !createMonitorWindow(state)) return 0;
  state.fonts.create();
  ShowWindow(state.window, SW_HIDE);
  UpdateWindow(state.window);

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  trace::setFile(programFolder() + "\\send2qn.txt");
  state.alertShowing = false;
  state.patrol.clearWinInit();
  state.entries = EntryList(state.caption, state.options.maxCookie);
  if (!startMonitor(state)) return 0;

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
