#pragma once
// The patrol's file categories: hidden files, the watched system files and
// the restart file of Windows 9x.
#include "monitor_state.h"

namespace tavrin {

// Every hidden file without an approval is asked about (dialog 191) unless
// HideAlerts is above 1; Delete quarantines it, anything else approves it.
void checkHiddenFiles(MonitorState& state);
// Every registered file that changed raises the file-change alert.
void checkSystemFiles(MonitorState& state);
// True when wininit.ini holds restart commands (never on the NT family).
bool restartCommandsPending(MonitorState& state);
// Shows them, or says there are none.
void showRestartCommands(MonitorState& state);

}  // namespace tavrin
