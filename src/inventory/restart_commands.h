#pragma once
// The commands Windows 9x runs at the next restart (wininit.ini in the
// Windows folder), shown by both programs in dialog 130, whose template each
// program's resources include from restart_commands.rc.
#define IDD_RESTART_COMMANDS 130
#define IDC_RESTART_TEXT 1001
#define IDC_RESTART_FILE 1002
#define IDC_RESTART_LEGEND 1003

#ifndef RC_INVOKED
#include <windows.h>

namespace tavrin {

// 0 at once when the Windows folder has no wininit.exe (every NT system).
// Otherwise 1 when wininit.ini holds something; unless `quiet`, its text is
// shown in dialog 130 (from `instance`'s resources), or message 59 says
// there is nothing.
int showRestartCommands(HINSTANCE instance, HWND owner, bool quiet);

}  // namespace tavrin
#endif
