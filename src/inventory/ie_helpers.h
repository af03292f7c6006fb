#pragma once
// The browser's add-ons: helper objects, toolbars and button extensions of
// HKEY_LOCAL_MACHINE, their removal and the undo of a removal.
#include <windows.h>

#include <string>

#include "entry_list.h"

namespace tavrin {

// Clears the list and fills it with helper objects (type 900), toolbars (901)
// and extensions (902), each in registry order. A helper object without a
// server and an extension without button text are left out; a toolbar
// without a class is listed with an empty path. Returns the entry count.
int enumerateIEHelpers(EntryList& list);

// Removes the add-on of entry `index` of the list just filled by
// enumerateIEHelpers, whose program path must be `programPath`: deletes its
// registration (and nothing when that is not one add-on's), then, only when
// the delete succeeded, unregisters its server with the system folder's
// regsvr32 (quoted; skipped when the file is missing) and writes an
// IEHELPER_Remove record. Returns the number of removals (0 or 1).
int removeIEHelper(const EntryList& list, const std::string& programPath, int index);

// The IE Helpers page's Remove of entry `index`: string 698 with its name
// asks Yes/No (warning icon), and Yes removes it by its program path. The
// number of removals; 0 when the answer was No.
int confirmAndRemoveIEHelper(const EntryList& list, int index, HWND owner, const std::string& caption);

// Undoes a recorded removal: writes the helper-object key or toolbar value
// named by the record's key again and registers the server again. 1 when
// something was done.
int restoreRemovedIEHelper(const std::string& programPath, const std::string& historyKey);

}  // namespace tavrin
