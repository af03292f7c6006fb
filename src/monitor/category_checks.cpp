#include "category_checks.h"

namespace tavrin {

void checkIEHelpers(MonitorState&) {}
void checkHiddenFiles(MonitorState&) {}
void checkSystemFiles(MonitorState&) {}
bool restartCommandsPending(MonitorState&) { return false; }
void filterCookies(MonitorState&) {}
void copyMozillaCookies(MonitorState&) {}
void checkNewCookies(MonitorState&) {}

}  // namespace tavrin
