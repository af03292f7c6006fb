#pragma once
// The file-change alert of a watched system file (dialog 189): the user looks
// at the new and the previous file, then accepts or rejects the change.
#include <windows.h>

#include "alerts.h"
#include "inventory/system_files.h"

namespace tavrin {

// 1 when the dialog ended with a successful accept or reject; 0 when it was
// closed otherwise or the copy failed (the system error was shown).
int showFileChangeAlert(HINSTANCE instance, HWND owner, const AlertFonts& fonts, const WatchedFile& file);

}  // namespace tavrin
