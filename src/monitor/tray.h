#pragma once
// The notification-area icon, its tooltip and its menu.
#include <windows.h>

#include "monitor_state.h"

namespace tavrin {

enum class TrayOperation { Add, Modify, Delete };

// Nothing happens while option HideBramble is 1. Add always shows the idle icon.
bool trayIcon(MonitorState& state, TrayOperation operation, int iconId, UINT tooltipId);

// The tray menu in its order; Services only on the NT family, Restart Commands only elsewhere.
HMENU buildTrayMenu(bool ntFamily);

// Message 6035: wParam is the icon id, lParam the mouse message.
void onTrayCallback(MonitorState& state, WPARAM iconId, LPARAM mouseMessage);

}  // namespace tavrin
