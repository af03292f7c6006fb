#pragma once
// The patrol's categories whose inventories come later. Each is the one call
// the pass makes for its category; until its inventory exists it finds nothing.
#include "monitor_state.h"

namespace tavrin {

void filterCookies(MonitorState& state);
void copyMozillaCookies(MonitorState& state);
void checkNewCookies(MonitorState& state);

}  // namespace tavrin
