#pragma once
// What the Monitor's commands and ticks call in the inventory modules.
#include "monitor_state.h"

namespace tavrin {

void clearEntryList(MonitorState& state);
// The delayed-start launcher with the seconds elapsed since start (10, 20, ...).
void launchDelayedPrograms(MonitorState& state, int elapsedSeconds);
// One patrol pass (patrol.cpp): 1 after a pass, and at once while an alert is
// open or a pass runs; 0 when the previous pass started less than a second ago.
int runPatrolPass(MonitorState& state);
// The light check of a check-now request: the number of running programs.
// A changed number forces the real-time categories on the next tick.
int checkTaskChanges(MonitorState& state);
// Options from the registry, and the patrol's countdowns from them.
void loadMonitorOptions(MonitorState& state);
void toggleMonitorRegistration(MonitorState& state);

}  // namespace tavrin
