// TavrinEx.exe: the Explorer.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "base/command_line.h"
#include "base/commands.h"
#include "explorer_state.h"
#include "explorer_window.h"
#include "inventory/first_run.h"
#include "inventory/options.h"
#include "inventory/string_loader.h"
#include "reports.h"
#include "resource.h"
#include "sheet.h"
#include "sys/paths.h"
#include "sys/trace.h"
#include "sys/version.h"

using namespace tavrin;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  ExplorerState state;
  state.instance = instance;
  state.ntFamily = isWindowsNtFamily();
  state.className = loadString(IDS_EX_CLASS_NAME, 32);
  state.caption = loadString(IDS_LOADING, 32);
  if (state.className.empty() || state.caption.empty()) return 0;

  const ExplorerRequest request =
      parseExplorerCommandLine(commandLine ? commandLine : "", readOption("StartTab", CMD_STARTUP_PROGRAMS));
  if (request.restoreDelayed) {
    // Startup-folder programs come back as shortcuts, which need COM.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    restoreDelayedPrograms();
    CoUninitialize();
    return 0;
  }
  if (request.report) {
    // For scripts: no window, no forwarding to a running Explorer.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    EntryList entries(loadString(IDS_CAPTION, 32), readOption("MaxCookie", 4096));
    const int code = reportFromCommandLine(request.reportPath, entries);
    CoUninitialize();
    return code;
  }
  if (request.startMonitor && !FindWindowA(kMonitorClassName, nullptr))
    startMonitor();
  state.startPage = request.startPage;

  if (HWND running = FindWindowA(state.className.c_str(), nullptr)) {
    PostMessageA(running, WM_COMMAND, request.quit ? CMD_QUIT : state.startPage, 0);
    return 0;
  }
  if (request.quit) return 0;

  if (!registerExplorerClass(state) || !createExplorerWindow(state)) return 0;

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  trace::setFile(programFolder() + "\\sendex2qn.txt");
  state.entries = EntryList(loadString(IDS_CAPTION, 32), state.options.maxCookie);
  firstRunInitialisation(Program::Explorer, state.options, state.entries);
  createSharedResources(state);

  PostMessageA(state.window, WM_COMMAND, state.startPage, 0);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
