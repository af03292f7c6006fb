#pragma once
// The Delayed Start lists' registry values, as the patrol edits them.
#include <string>

namespace tavrin {

// Deletes the program's values from every Delayed Start key of one hive
// (HKEY_CURRENT_USER when `currentUser`, else HKEY_LOCAL_MACHINE). 1 when the
// program is off that hive's list afterwards.
int removeFromDelayedLists(const std::string& program, bool currentUser);

}  // namespace tavrin
