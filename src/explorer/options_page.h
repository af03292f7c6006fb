#pragma once
// The Options tab: the program-wide switches, the patrol times of the
// restart file, the browser pages and the HOSTS file, and the buttons for the
// reports and tools.
#include <memory>

#include "list_page.h"

namespace tavrin {

std::unique_ptr<ListPage> createOptionsPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition);

}  // namespace tavrin
