#pragma once
// The page procedure of each tab: the framework's ListPage, specialised where
// a page's inventory is available.
#include <memory>

#include "list_page.h"

namespace tavrin {

std::unique_ptr<ListPage> createPage(ExplorerState& state, const PageDefinition& definition);

}  // namespace tavrin
