#pragma once
// Read-only lists of the browser's hook locations for the reports. Each
// clears the entry list, fills it and returns the entry count; type code 0
// unless stated. Locations are under HKEY_LOCAL_MACHINE unless stated.
#include "entry_list.h"

namespace tavrin {

// Helper-object sub-keys: class name / server / sub-key; type 900. Every sub-key is listed.
int logHelperObjects(EntryList& list);
// Toolbar values: class name / server / value name / the server's company; type 900.
int logToolbars(EntryList& list);
// HKEY_CURRENT_USER MenuExt sub-keys with a default value: sub-key / default value / sub-key.
int logMenuExtensions(EntryList& list);
// Extensions of both hives (the current user's paths end in " (HKCU)"):
// button text or "(no name)" / script, else exec, else the class's server /
// sub-key; type 1, and a second entry of type 2 for a Tools-menu text.
// Sub-keys without a path are left out.
int logExtensions(EntryList& list);
// Plugins\Extension sub-keys with a Location: sub-key / Location / sub-key.
int logPlugins(EntryList& list);
// Downloaded program files with a CODEBASE: class name / CODEBASE / server / sub-key.
int logDistributionUnits(EntryList& list);
// ShellServiceObjectDelayLoad values with a server, the system's own shell
// objects left out: class name / server / class id (128 characters) / value name.
int logDelayLoadObjects(EntryList& list);
// SharedTaskScheduler values with data and a server: class name / server /
// value name / data (128 characters).
int logSharedTaskSchedulers(EntryList& list);
// AdvancedOptions sub-keys whose HelpID is not iexplore.hlp: Text / HelpID /
// the Bitmap's folder.
int logAdvancedOptions(EntryList& list);
// Domains of ZoneMap\Domains (machine, then user) that a `*`, `http` or
// `https` value of 2 puts into the Trusted zone, on the domain or a sub-key:
// the domain's name only.
int logTrustedDomains(EntryList& list);

}  // namespace tavrin
