#pragma once
// The cookie list window (dialog 145): every cookie with a tick for those
// kept, viewed, sorted and removed checked or unchecked.
#include <windows.h>

#include "explorer_state.h"

namespace tavrin {

// The cookie list window of a cookie mode, modal over `owner`.
void runCookieList(ExplorerState& state, HWND owner, int cookieMode);

// A message box with the program's caption and an information icon.
void tell(HWND owner, UINT text);

}  // namespace tavrin
