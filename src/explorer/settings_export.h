#pragma once
// The settings export: the system's own registry data (HKEY_CURRENT_USER
// Software\Quennet\Tavrin and HKEY_LOCAL_MACHINE SOFTWARE\Quennet, with
// every sub-key) as a registry script that restores it when imported.
#include <windows.h>

#include <string>

namespace tavrin {

// The program folder + "\" + the user's name (at most 227 characters) + "-Tavrin.reg".
std::string settingsExportPath();

// Writes the script anew; 0 on success, else the system error. Values whose
// name cannot stand on a script line (a line break in it) and keys of such
// names are left out and counted in `skipped`.
DWORD exportSettings(const std::string& path, int* skipped = nullptr);

}  // namespace tavrin
