#pragma once
// The Cookies tab (filter words, browser, cookie folder) and the cookie list
// window it opens, where the user ticks the cookies to keep.
#include <memory>

#include "list_page.h"

namespace tavrin {

std::unique_ptr<ListPage> createCookiesPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition);

// The cookie list window (dialog 145) of a cookie mode, modal over `owner`.
void runCookieList(ExplorerState& state, HWND owner, int cookieMode);

}  // namespace tavrin
