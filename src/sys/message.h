#pragma once
#include <windows.h>

#include <string>

namespace tavrin {

// Message boxes of the system are top-most and carry the language id of the program.
int messageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags, WORD languageId);

// The last system error as "code  message" in an information box titled "System Error".
void systemErrorBox(WORD languageId);

}  // namespace tavrin
