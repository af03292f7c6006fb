#pragma once
#include <windows.h>

#include "monitor_state.h"

namespace tavrin {

bool registerMonitorClass(MonitorState& state);
HWND createMonitorWindow(MonitorState& state);
// Shows the tray icon and starts the start-up initialisation on its worker;
// the patrol starts when it is done. False when the worker could not start.
bool startMonitor(MonitorState& state);

// Runs TavrinEx.exe from the program folder with the switch; message 795 when it cannot start.
bool openExplorer(MonitorState& state, const char* commandSwitch);

}  // namespace tavrin
