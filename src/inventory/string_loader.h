#pragma once
// Strings by number: the program's string table, or a machine-wide
// LString<id> override. The loader owns the message-box language id, which
// string 634 decides and which also switches the overrides off (language 9).
#include <windows.h>

#include <string>

namespace tavrin {

// Primary language id passed to every message box; 0 until set from the strings.
WORD languageId();
// Derives the language id from string 634 (or its override); the start-up initialisation calls it.
void setLanguageFromStrings();

// A string of the program's table, or its LString<id> override (consulted
// unless the language is 9, "%n" read as a line break), at most
// `capacity` - 1 characters.
std::string loadString(UINT id, std::size_t capacity = 1024);
// Sets the control's text when the string is not empty.
void setDialogText(HWND dialog, UINT stringId, int control);

}  // namespace tavrin
