#pragma once
#include "explorer_state.h"

namespace tavrin {

bool registerExplorerClass(ExplorerState& state);
// The main window shows only its taskbar button; it owns the tab sheet.
HWND createExplorerWindow(ExplorerState& state);

// Fonts and image-button bitmaps every page and dialog shares.
void createSharedResources(ExplorerState& state);

// Runs Tavrin.exe from the program folder.
void startMonitor();
// -Restore: every Delayed Start program back to the normal startup list.
void restoreDelayedPrograms();

}  // namespace tavrin
