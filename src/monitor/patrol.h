#pragma once
// The categories of a patrol pass that the Monitor itself carries out.
#include "monitor_state.h"

namespace tavrin {

// Startup Programs: every entry without an approval is alerted (or refused
// while HideAlerts is above 1); programs back from Delayed Start are asked about.
void checkStartupPrograms(MonitorState& state);
// The browser's start, search and desktop pages against the stored ones.
void checkBrowserPages(MonitorState& state);
// Scheduled Tasks: every task without an approval is alerted (or deleted while
// HideAlerts is above 1). The caller checks that the scheduler runs.
void checkScheduledTasks(MonitorState& state);
// Services: every service without an approval is alerted (or refused while
// HideAlerts is above 1); a refused one is stopped, disabled and approved.
void checkServices(MonitorState& state);
// File Types: each monitored association against its snapshot; a change is
// put back at once under LockFileTypes, otherwise asked about.
void checkFileTypes(MonitorState& state);
// Cookie filter: the cookie mode from the default browser; Internet Explorer
// cookies that a filter text matches are deleted at once.
void filterCookies(MonitorState& state);
// In the Mozilla mode, the cleaned cookies.txt put in place while no Mozilla
// window exists.
void copyMozillaCookies(MonitorState& state);
// New cookies: one question per pass when a listed cookie is neither kept nor
// removed; Yes opens the Explorer's cookie list.
void checkNewCookies(MonitorState& state);

// IE Helpers: every add-on whose name has no approval is alerted (or removed
// while HideAlerts is above 1). Returns the number of add-ons examined.
int checkIEHelpers(MonitorState& state);

// The alert dialogs' view of the Monitor: its instance, window, fonts and subject.
AlertContext alertContextOf(MonitorState& state);

// Tray icon and tooltip of the step the patrol is in.
void trayStatus(MonitorState& state, int iconId, unsigned tooltipId);

}  // namespace tavrin
