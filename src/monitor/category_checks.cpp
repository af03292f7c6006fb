#include "category_checks.h"

namespace tavrin {

void filterCookies(MonitorState&) {}
void copyMozillaCookies(MonitorState&) {}
void checkNewCookies(MonitorState&) {}

}  // namespace tavrin
