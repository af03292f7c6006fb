#pragma once
#include <string>

namespace tavrin {

// Product versions of the two programs, "monitor:explorer" (for the begin line and reports).
std::string versionText();

}  // namespace tavrin
