#pragma once
// Rebuilds the entry list from every autostart location.
#include <string>

#include "entry_list.h"

namespace tavrin {

// Page mode (the Startup Programs page) reads the Winlogon and shell-extension
// places only when `showAllStartup` is above 0; every other caller reads all.
// Clears the list first; returns the entry count.
int enumerateStartup(EntryList& list, bool pageMode, int showAllStartup);

// The program path the enumeration lists for a command written to a startup
// location of this type (a Run command loses RUNDLL32): the name the
// approval of that entry must have.
std::string listedStartupPath(const std::string& command, int typeCode);

// The steps, each appending to the list.
void buildRun(EntryList& list);
bool getStartupGroup(EntryList& list);
void readWinIniPrograms(EntryList& list);
void getDisabledPrograms(EntryList& list);
void readWinlogon(EntryList& list);
void buildRegInfo(EntryList& list);

// What a folder walk lists; the same walk serves other inventories.
enum class FolderWalkMode { Startup };
// Walks a folder (depth 0: its items only) and adds what the mode lists.
void walkFolderIntoList(const std::string& folder, int depth, FolderWalkMode mode, EntryList& list);

}  // namespace tavrin
