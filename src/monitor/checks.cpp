#include "checks.h"

#include "inventory/monitor_registration.h"
#include "sys/trace.h"

namespace tavrin {

void clearEntryList(MonitorState& state) { state.entries.clear(); }

void launchDelayedPrograms(MonitorState& state, int elapsedSeconds) {
  trace::line("Delayed Start", std::to_string(elapsedSeconds));
  state.delayedLaunched = state.launcher.launchDue(elapsedSeconds);
}

void toggleMonitorRegistration(MonitorState& state) {
  state.runRegistered = registerMonitor(!isMonitorRegistered()) ? isMonitorRegistered() : state.runRegistered;
}

}  // namespace tavrin
