#pragma once
// Hidden files in a few key folders; the vault, which keeps a copy of every
// file deleted from that list so the history can put it back; deletion of a
// file at the next restart. Both programs carry these operations.
#include <string>

#include "entry_list.h"

namespace tavrin {

constexpr char kApprovedHiddenKey[] = "Software\\Quennet\\Tavrin\\Hidden";

// Clears the list and adds every file (no folder) with the hidden attribute in
// C:\, the Windows folder, the system folder and the common-files and
// temporary folders (the last three with their direct sub-folders; those
// whose names begin with "." are not entered). Entry: name = product name
// (empty when none), program path = key = the path, type 370, flag 1 when
// the file is not also a system file. Paths longer than 259 characters are
// left out rather than cut into a path of another file. Returns the count.
int enumerateHiddenFiles(EntryList& list);

// Where the vault keeps the copy of the file at `path`.
std::string vaultSlotPath(const std::string& path);

// Stops any process running the file, copies the file into the vault and
// deletes it; a *HIDDEN_DeleteFile record is written for a deleted file. A
// file whose copy failed is not deleted. A file that stays keeps its
// attributes. Either way its approval goes, so that the Monitor asks about a
// file that stayed. Returns 1 when the file was deleted.
int quarantineFile(const std::string& displayName, const std::string& path);

// Copies a quarantined file back to its path (hidden, and approved so the
// Monitor does not ask again); its vault copy goes only once it is back.
// Slots named by the file name alone, from before, are still found.
// Returns 1 when the file is back and its vault copy gone.
int restoreFromVault(const std::string& path);

// Deletes the file at the next restart: on the NT family through the
// system's pending operations, on 9x through a NUL= line in the [rename]
// section of wininit.ini in the Windows folder. 0 when it could not be
// registered (on 9x also when the file has no short path, as when it is gone);
// the file then keeps its attributes and the last error says why.
int deleteAtRestart(const std::string& path);

// Clears the hidden attribute only (system and read-only stay); 1 when done.
int unhideFile(const std::string& path);
// Opens the file in the Windows folder's Notepad; false when it could not be started.
bool viewInNotepad(const std::string& path);
// The last-written date text of a file; false when the file cannot be opened
// (held by another program) and `out` is empty.
bool lastWrittenText(const std::string& path, std::string& out);

// The Monitor's baseline: a file the user let stand, with the date of the answer.
bool isHiddenFileApproved(const std::string& path);
void approveHiddenFile(const std::string& path);

}  // namespace tavrin
