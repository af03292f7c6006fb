#pragma once
// The page procedure of each tab: the framework's ListPage, specialised where
// a page's inventory is available.
#include <memory>

#include "list_page.h"

namespace tavrin {

std::unique_ptr<ListPage> createPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition);

}  // namespace tavrin
