#pragma once
// The Monitor's state as its window holds it, for checks run inside a test
// program linked with the Monitor's resources.
#include <windows.h>

#include "monitor_state.h"

inline void prepareMonitorState(tavrin::MonitorState& state) {
  state.caption = "Tavrin";
  state.instance = GetModuleHandleA(nullptr);
  state.fonts.create();
  state.options.hideBramble = 1;  // no tray icon in a test
}
