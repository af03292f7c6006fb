#pragma once
// The start-up initialisation both programs run: the store on the very first
// run (approving everything present), the upgrade of a stored version, the
// baselines of every inventory, and the options.
#include "entry_list.h"
#include "options.h"

namespace tavrin {

struct StartupState {
  bool runRegistered = false;
  int delayedTotal = 0;
};
// Run at every start of either program (and by the Explorer when its Options
// page opens): language, trace switch, first-run store, version upgrade,
// baselines, options. Leaves the entry list empty. The two parts it runs:
StartupState firstRunInitialisation(Program program, Options& options, EntryList& list);
// The language and the trace switch, which the rest and every window use.
void takeLanguageAndTraceSwitch();
// Everything else. It touches only its arguments, the registry, files and the
// trace, so the Monitor runs it on a worker thread while its window answers.
StartupState initialiseStore(Program program, Options& options, EntryList& list);

}  // namespace tavrin
