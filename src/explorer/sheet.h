#pragma once
// The tab sheet: its pages in tab order, the page protocol shared by every
// page, the tab strip layout and the subclassed minimum size.
#include <windows.h>

#include "explorer_state.h"

namespace tavrin {

// Open the sheet on the page of `command`; when a sheet exists, only bring it forward.
void openSheet(ExplorerState& state, int command);

// Run by the first page that initialises: subclass, minimum size, status bar, placement.
void initialiseSheet(ExplorerState& state, HWND sheet);
// "Create Active Page": sheet buttons, caption, status bar, tab strip layout.
void createActivePage(ExplorerState& state, HWND page);
// CleanupActivePage: entry list emptied, status bar cleared, placement saved.
void cleanupActivePage(ExplorerState& state);
void layoutTabStrip(ExplorerState& state);
void setStatusText(ExplorerState& state, const std::string& text);
void saveSheetPlacement(ExplorerState& state);
// Ends the sheet and the Explorer.
void closeSheet(ExplorerState& state);
// Shared fonts and button bitmaps (start-up step 7).
void createSharedResources(ExplorerState& state);

}  // namespace tavrin
