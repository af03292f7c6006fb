#pragma once
// The Cookies tab: filter words, the browser and its cookie folder; it opens
// the cookie list window (cookie_list.h).
#include <memory>

#include "list_page.h"

namespace tavrin {

std::unique_ptr<ListPage> createCookiesPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition);

}  // namespace tavrin
