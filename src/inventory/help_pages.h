#pragma once
// Help pages: one per page id, from the program folder when present, else
// from the help web location.
#include <string>

namespace tavrin {

void openHelpPage(int pageId);
// The page's file name, with the language prefix unless the language is "us".
std::string helpPageName(int pageId);
// Base web location of the help pages (ends in "/").
std::string helpWebLocation();

}  // namespace tavrin
