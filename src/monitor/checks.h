#pragma once
// What the Monitor's commands and ticks call in the inventory modules.
#include "monitor_state.h"

namespace tavrin {

void clearEntryList(MonitorState& state);
// The delayed-start launcher with the seconds elapsed since start (10, 20, ...).
void launchDelayedPrograms(MonitorState& state, int elapsedSeconds);
// One patrol pass; returns at once while an alert is open or a pass runs.
void runPatrolPass(MonitorState& state);
void checkTaskChanges(MonitorState& state);
void toggleMonitorRegistration(MonitorState& state);
void showRestartCommands(MonitorState& state);

}  // namespace tavrin
