#pragma once
// Saved window placements under HKEY_CURRENT_USER Software\Quennet\Tavrin:
// x<name>, y<name>, dx<name>, dy<name>, decimal texts.
#include <windows.h>

#include <string>

#include "explorer_state.h"

namespace tavrin {

// Left, top, width and height of the window, then StartTab = the current page.
void savePlacement(ExplorerState& state, HWND window, const std::string& name);
// Writes StartTab, then moves the window to its stored place (an x or y beyond
// the virtual screen becomes half the screen) or, with none stored, centres it
// with its top at a third of the free height. The size is kept.
void restoreDialogPlacement(ExplorerState& state, HWND window, const std::string& name);
// The stored width and height (dx<name>, dy<name>) when both exist and fit
// between `minimum` and the virtual screen; otherwise the size stays.
void restoreDialogSize(HWND window, const std::string& name, SIZE minimum);
// The sheet on the NT family: a stored x or y beyond the virtual screen
// becomes 0; a stored size is applied with the same rule.
void restoreSheetPlacement(HWND sheet);
void centreWindow(HWND window);
void writeStartTab(ExplorerState& state);

}  // namespace tavrin
