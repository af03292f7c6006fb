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
// The maker's web host, from the help location: scheme and host, ending in "/".
std::string makerWebHost();
// Opens a web address: through the AOL client when it runs, else with the
// shell; when the shell cannot and option BrowserFailure is set, with the
// Internet Explorer program of App Paths. False when nothing could open it.
bool openWebAddress(const std::string& address);

}  // namespace tavrin
