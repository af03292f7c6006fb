#pragma once
// Changing the startup locations: disable and restore, remove, reset, re-add.
#include <functional>
#include <string>

#include "entry_list.h"

namespace tavrin {

// Restores the entry when its disabled marker exists, otherwise disables it.
// The disabled copy and marker are written before the entry leaves its
// location, and the location is written back before they are deleted, so an
// interruption never loses the command line. A Startup-folder file whose move
// fails keeps its marker as it was. Writes no history record.
// Result: 1 when the change was made, 0 otherwise or for a type the toggle
// does not handle.
int toggleStartupEntry(const Entry& entry);

// A Run value that came back after the user disabled it: its command as it
// now stands replaces the stored copy, and the value leaves the Run key again
// (what restoring and disabling again would do).
int disableReturnedRunEntry(const std::string& name, const std::string& command, int typeCode);

// Whether the entry's disabled marker exists (looked up by the entry's name).
bool hasDisabledMarker(const std::string& name);

// Asked before a shell-extension or AppInit registration is removed: the
// Monitor asks with a message box, the Explorer with its protective warning.
// True lets the removal go on.
using ConfirmKeyLocationRemoval =
    std::function<bool(const std::string& name, const std::string& programPath, int typeCode)>;

// Removes the entry for good (Userinit and Shell are reset, shell extensions
// and AppInit pieces removed after `confirm`), writes "*START_Remove" unless
// the command holds the product word, and drops the entry's approval.
// A Startup-folder entry loses only its Startup-folder item: a shortcut is
// deleted, a program moves to the Disabled folder (a way back finds it there).
int removeStartupEntry(const Entry& entry, const ConfirmKeyLocationRemoval& confirm);

// Puts a removed entry back in its location and approves it; 1 when it wrote something.
int readdStartupEntry(const Entry& entry);

// The file a Startup-folder entry stands for: its key (the shortcut, or the
// program lying in the folder itself), else its program path when that lies
// in a Startup folder or the Disabled folder; empty otherwise.
std::string startupFolderItem(const std::string& programPath, const std::string& key);
// Shortcuts (.lnk, .pif) start something else; any other item is the program.
bool isShortcutFile(const std::string& path);
// Where a Startup-folder item waits in the Disabled folder.
std::string parkedPathOf(const std::string& item);

// The Startup page's Add: the program goes into the current user's Run key,
// named after its description, and is approved as the enumeration lists it.
int addStartupProgram(const std::string& path);

// AppInit_Dlls: removes every piece naming the DLL; adds the DLL's short path.
void removeAppInitDll(const std::string& dll);
void addAppInitDll(const std::string& dll);

}  // namespace tavrin
