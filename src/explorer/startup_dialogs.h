#pragma once
// The Delayed Start page's dialogs: a program's delay options and the
// all-users or current-user question of its Add.
#include <windows.h>

#include <string>

#include "inventory/delayed_start.h"

namespace tavrin {

// Dialog 198: title, parameters, delay and window state of one program; true when applied.
bool runDelayOptionsDialog(HINSTANCE instance, HWND owner, DelayHive hive, const std::string& programFile);
// Dialog 199: the list a program is added to; false when cancelled.
bool askStartupType(HINSTANCE instance, HWND owner, DelayHive& hive);

}  // namespace tavrin
