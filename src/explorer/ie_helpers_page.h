#pragma once
// The IE Helpers page: the browser's add-ons, where each is registered, and their removal.
#include <memory>

#include "list_page.h"

namespace tavrin {

std::unique_ptr<ListPage> createIEHelpersPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition);

}  // namespace tavrin
