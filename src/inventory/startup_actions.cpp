#include "startup_actions.h"

#include <windows.h>

#include "base/command_text.h"
#include "base/entry_tables.h"
#include "base/startup_text.h"
#include "base/text.h"
#include "detection_store.h"
#include "history.h"
#include "program_file.h"
#include "startup_enum.h"
#include "sys/paths.h"
#include "sys/profile.h"
#include "sys/registry.h"
#include "sys/shortcut.h"
#include "sys/version.h"
#include "sys/trace.h"

namespace tavrin {
namespace {


std::string notifyPackageKey(const std::string& name) { return std::string(kWinlogonKey) + "\\Notify\\" + name; }

// win.ini entries are often named alike ("load", "run", one product name for
// several programs), so their copy and marker go by the program instead.
std::string disabledNameOf(const std::string& name, const std::string& programPath, int typeCode) {
  return (typeCode == typecode::kWinIniLoad || typeCode == typecode::kWinIniRun) ? programPath : name;
}

void dropDisabledState(const std::string& name, int typeCode) {
  reg::deleteValue(HKEY_LOCAL_MACHINE, disabledCopyKeyOf(typeCode), name);
  reg::deleteValue(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, name);
}

int writeDisabledState(const std::string& name, const std::string& programPath, int typeCode) {
  const std::string copyKey = disabledCopyKeyOf(typeCode);
  reg::createKey(HKEY_LOCAL_MACHINE, copyKey);
  return reg::writeString(HKEY_LOCAL_MACHINE, copyKey, name, programPath) &&
         reg::writeString(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, name, disabledMarkerText(typeCode));
}

int toggleRunEntry(const std::string& name, const std::string& programPath, int typeCode) {
  RunKeyLocation location;
  if (!runKeyOfCode(typeCode, location)) return 0;
  const HKEY runRoot = reg::rootOf(location.hive);
  if (hasDisabledMarker(name)) {
    // Back as it was stored: the listed path has lost quotes and RUNDLL32.
    std::string command;
    if (reg::readString(HKEY_LOCAL_MACHINE, disabledCopyKeyOf(typeCode), name, command, 1u << 16) == 0)
      command = programPath;
    if (!reg::writeString(runRoot, location.path, name, command)) return 0;
    reg::deleteValue(HKEY_LOCAL_MACHINE, disabledCopyKeyOf(typeCode), name);
    return reg::deleteValue(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, name);
  }
  // The copy keeps the command as it stands in the Run key: the listed path
  // has lost its quotes and a RUNDLL32 prefix, and would not start the same way.
  std::string command;
  if (reg::readString(runRoot, location.path, name, command, 1u << 16) == 0) command = programPath;
  if (!writeDisabledState(name, command, typeCode)) return 0;
  return reg::deleteValue(runRoot, location.path, name);
}

const char* winIniListOf(int typeCode) { return typeCode == typecode::kWinIniLoad ? "load" : "run"; }

// A win.ini list without the program: every piece that names the listed
// program file (unquoted, in long form, any case), as the enumeration listed
// it. `first` gets the first such piece as it stood; empty when none did.
std::string winIniListWithout(int typeCode, const std::string& programPath, std::string& first) {
  const std::string program = listedProgramPath(programPath);
  first.clear();
  return removeFromProgramList(profile::readWindowsValue(winIniListOf(typeCode)), [&](const std::string& piece) {
    if (!equalsNoCase(listedProgramPath(piece), program)) return false;
    if (first.empty()) first = piece;
    return true;
  });
}

// 1 when the program left the list; 0 when no piece named it or the list could not be written.
int removeWinIniProgram(int typeCode, const std::string& programPath) {
  std::string first;
  const std::string kept = winIniListWithout(typeCode, programPath, first);
  return !first.empty() && profile::writeWindowsValue(winIniListOf(typeCode), kept) ? 1 : 0;
}

int toggleWinIniEntry(const std::string& name, const std::string& programPath, int typeCode) {
  const std::string marked = disabledNameOf(name, programPath, typeCode);
  // The disabled copy goes only once the program is back in the list, and
  // stays only when it has left it: a win.ini that cannot be written loses nothing.
  if (hasDisabledMarker(marked)) {
    std::string piece;
    if (reg::readString(HKEY_LOCAL_MACHINE, disabledCopyKeyOf(typeCode), marked, piece) == 0) piece = programPath;
    if (profile::addProgram(winIniListOf(typeCode), piece)) dropDisabledState(marked, typeCode);
    return 0;
  }
  // Nothing of it in the list: nothing to disable, and no copy that would
  // later put a program there that never was.
  std::string first;
  const std::string kept = winIniListWithout(typeCode, programPath, first);
  if (first.empty() || !writeDisabledState(marked, first, typeCode)) return 0;
  if (!profile::writeWindowsValue(winIniListOf(typeCode), kept)) {
    dropDisabledState(marked, typeCode);
    return 0;
  }
  return 1;
}

// The Startup folder a restored file goes back to.
std::string startupFolderForRestore() {
  std::string folder;
  if (reg::readString(HKEY_CURRENT_USER, kShellFoldersKey, "Startup", folder, 261) > 0) return folder;
  if (reg::readString(HKEY_LOCAL_MACHINE, kShellFoldersKey, "Startup", folder, 261) > 0) return folder;
  reg::readString(HKEY_LOCAL_MACHINE, kShellFoldersKey, "Common Startup", folder, 261);
  return folder;
}

bool isInFolder(const std::string& path, const std::string& folder) {
  return !folder.empty() && equalsNoCase(folderPartOf(path), removeTrailingBackslash(folder));
}

// The file a Startup-folder entry stands for: its key (the shortcut or the
// program in the folder), or, for an item listed without a key, its program
// path when that lies in a Startup folder or the Disabled folder. Never the
// target a shortcut starts.
}  // namespace

std::string startupFolderItem(const std::string& programPath, const std::string& key) {
  if (!key.empty()) return key;
  std::string folder;
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS})
    for (const char* value : {"Startup", "Common Startup"})
      if (reg::readString(root, kShellFoldersKey, value, folder, 261) > 0 && isInFolder(programPath, folder))
        return programPath;
  return isInFolder(programPath, disabledFolder()) ? programPath : std::string();
}

bool isShortcutFile(const std::string& path) {
  const std::string name = lower(fileNamePart(path));
  return name.size() > 4 && (name.compare(name.size() - 4, 4, ".lnk") == 0 || name.compare(name.size() - 4, 4, ".pif") == 0);
}

std::string parkedPathOf(const std::string& item) { return disabledFolder() + "\\" + fileNamePart(item); }

namespace {

// A program that was itself the Startup-folder item is kept in the Disabled
// folder (unmarked, it is listed nowhere); true when it is there.
bool parkProgram(const std::string& item) {
  const std::string parked = parkedPathOf(item);
  if (equalsNoCase(item, parked)) return true;
  createDisabledFolder();
  return MoveFileA(item.c_str(), parked.c_str()) != FALSE;
}

// The same file back at its place in the Startup folder: from `programPath`
// (where Delayed Start kept it), else from the Disabled folder.
bool unparkProgram(const std::string& programPath, const std::string& item) {
  if (GetFileAttributesA(item.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const std::string from = GetFileAttributesA(programPath.c_str()) != INVALID_FILE_ATTRIBUTES ? programPath
                                                                                           : parkedPathOf(item);
  return MoveFileA(from.c_str(), item.c_str()) != FALSE;
}

// A moved program is listed by its new path: its approval moves with it.
void carryApproval(const std::string& from, const std::string& to) {
  if (isStartupApproved(listedProgramPath(from), "")) approveStartup(listedProgramPath(to), typecode::kStartupFolder);
}

int toggleStartupFolderEntry(const std::string& name, const std::string& programPath, const std::string& key) {
  const std::string item = startupFolderItem(programPath, key);
  if (item.empty()) return 0;
  const std::string disabled = parkedPathOf(item);
  if (hasDisabledMarker(name)) {
    const std::string folder = startupFolderForRestore();
    if (folder.empty()) return 0;
    const std::string restored = removeTrailingBackslash(folder) + "\\" + fileNamePart(item);
    if (!MoveFileA(disabled.c_str(), restored.c_str())) return 0;
    if (!isShortcutFile(item)) carryApproval(disabled, restored);
    reg::deleteValue(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, name);
    return 1;
  }
  createDisabledFolder();
  if (!MoveFileA(item.c_str(), disabled.c_str())) return 0;
  if (!isShortcutFile(item)) carryApproval(item, disabled);
  return reg::writeString(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, name, disabledMarkerText(typecode::kStartupFolder));
}

int toggleNotifyEntry(const std::string& name, const std::string& programPath) {
  const std::string package = notifyPackageKey(name);
  if (hasDisabledMarker(name)) {
    // The package's own note of its library, else the disabled copy: an empty
    // DLLName written back would leave the package dead for good.
    std::string oldName;
    if (reg::readString(HKEY_LOCAL_MACHINE, package, "OldName", oldName) <= 0)
      reg::readString(HKEY_LOCAL_MACHINE, disabledCopyKeyOf(typecode::kWinlogonNotify), name, oldName);
    if (oldName.empty() || !reg::writeString(HKEY_LOCAL_MACHINE, package, "DLLName", oldName)) return 0;
    reg::writeString(HKEY_LOCAL_MACHINE, package, "OldName", "");
    dropDisabledState(name, typecode::kWinlogonNotify);
    return 0;
  }
  if (!writeDisabledState(name, programPath, typecode::kWinlogonNotify)) return 0;
  approveStartup(programPath, typecode::kWinlogonNotify);
  std::string dll;
  reg::readString(HKEY_LOCAL_MACHINE, package, "DLLName", dll);
  if (!reg::writeString(HKEY_LOCAL_MACHINE, package, "OldName", dll)) return 0;
  return reg::writeString(HKEY_LOCAL_MACHINE, package, "DLLName", "");
}

void deleteStartupItem(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
}

int removeRegistration(const std::string& name, const std::string& programPath, const std::string& key,
                       int typeCode, const ConfirmKeyLocationRemoval& confirm) {
  trace::line(programPath, "DeleteRegProgram -  findrun");
  // Resets are approved under the program the enumeration will list, so the
  // patrol does not ask about the Windows default it just put back.
  if (typeCode == typecode::kWinlogonUserinit) {
    const std::string userinit = systemFolder() + "\\Userinit.exe";
    reg::writeString(HKEY_LOCAL_MACHINE, kWinlogonKey, "Userinit", userinit + ",");
    approveStartup(userinit, typeCode);
    writeHistory(name, programPath, key, typeCode, action::kResetUserinit);
    return 1;
  }
  if (typeCode == typecode::kWinlogonShell) {
    reg::writeString(HKEY_LOCAL_MACHINE, kWinlogonKey, "Shell", "Explorer.exe");
    approveStartup("Explorer.exe", typeCode);
    writeHistory(name, programPath, key, typeCode, action::kResetShell);
    return 1;
  }
  if (typeCode < typecode::kDelayLoad || typeCode > typecode::kAppInitDlls) return 1;
  if (!confirm || !confirm(name, programPath, typeCode)) return 1;
  reg::deleteValue(HKEY_CURRENT_USER, kApprovedStartupKey, startupKeyOf(programPath));
  switch (typeCode) {
    case typecode::kDelayLoad:
      reg::deleteValue(HKEY_LOCAL_MACHINE, kDelayLoadKey, name);
      writeHistory(name, programPath, key, typeCode, action::kRemoveDelayLoad);
      break;
    case typecode::kSharedTaskScheduler:
      reg::deleteValue(HKEY_LOCAL_MACHINE, kSharedTaskSchedulerKey, key);
      writeHistory(name, programPath, key, typeCode, action::kRemoveTaskScheduler);
      break;
    case typecode::kShellExecuteHook:
      reg::deleteValue(HKEY_LOCAL_MACHINE, kShellExecuteHooksKey, key);
      writeHistory(name, programPath, key, typeCode, action::kRemoveShellExecuteHook);
      break;
    default:
      removeAppInitDll(programPath);
      writeHistory(name, programPath, key, typeCode, action::kStartRemove);
      break;
  }
  return 1;
}

}  // namespace

bool hasDisabledMarker(const std::string& name) {
  // An empty name would test the key's default value.
  std::string marker;
  return !name.empty() && reg::readString(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, name, marker) > 0;
}

int toggleStartupEntry(const Entry& entry) {
  const std::string &name = entry.name, &programPath = entry.programPath, &key = entry.key;
  const int typeCode = entry.typeCode;
  RunKeyLocation location;
  if (runKeyOfCode(typeCode, location)) return toggleRunEntry(name, programPath, typeCode);
  switch (typeCode) {
    case typecode::kWinIniLoad:
    case typecode::kWinIniRun:
      return toggleWinIniEntry(name, programPath, typeCode);
    case typecode::kStartupFolder:
      return toggleStartupFolderEntry(name, programPath, key);
    case typecode::kWinlogonNotify:
      return toggleNotifyEntry(name, programPath);
    default:
      return 0;
  }
}

int disableReturnedRunEntry(const std::string& name, const std::string& command, int typeCode) {
  RunKeyLocation location;
  if (!runKeyOfCode(typeCode, location) || !writeDisabledState(name, command, typeCode)) return 0;
  return reg::deleteValue(reg::rootOf(location.hive), location.path, name);
}

int removeStartupEntry(const Entry& entry, const ConfirmKeyLocationRemoval& confirm) {
  const std::string &name = entry.name, &programPath = entry.programPath, &key = entry.key;
  const int typeCode = entry.typeCode;
  trace::line(programPath, "DeleteRunProgram -  findrun");
  int result = 0;
  RunKeyLocation location;
  if (runKeyOfCode(typeCode, location)) {
    if (hasDisabledMarker(name)) {
      reg::deleteValue(HKEY_LOCAL_MACHINE, disabledCopyKeyOf(typeCode), name);
      result = reg::deleteValue(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, name);
    } else {
      result = reg::deleteValue(reg::rootOf(location.hive), location.path, name);
    }
  } else if (typeCode == typecode::kWinIniLoad || typeCode == typecode::kWinIniRun) {
    const std::string marked = disabledNameOf(name, programPath, typeCode);
    const bool wasDisabled = hasDisabledMarker(marked);
    if (wasDisabled) dropDisabledState(marked, typeCode);
    result = removeWinIniProgram(typeCode, programPath) || wasDisabled ? 1 : 0;
    if (result == 0) return 0;  // it still starts: nothing to log
  } else if (typeCode == typecode::kStartupFolder) {
    // A shortcut goes; a program is the user's own file and is only parked.
    const std::string item = startupFolderItem(programPath, key);
    if (!item.empty() && !isShortcutFile(item) && !parkProgram(item)) return 0;
    if (!item.empty() && isShortcutFile(item)) deleteStartupItem(item);
    if (hasDisabledMarker(name)) reg::deleteValue(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, name);
    result = 1;
  } else if (typeCode >= typecode::kWinlogonUserinit && typeCode <= typecode::kAppInitDlls) {
    return removeRegistration(name, programPath, key, typeCode, confirm);
  }
  if (!contains(programPath, "Tavrin")) writeHistory(name, programPath, key, typeCode, action::kStartRemove);
  reg::deleteValue(HKEY_CURRENT_USER, kApprovedStartupKey, startupKeyOf(programPath));
  reg::deleteValue(HKEY_CURRENT_USER, kApprovedStartupKey, name);
  return result;
}

int readdStartupEntry(const Entry& entry) {
  const std::string &name = entry.name, &programPath = entry.programPath, &key = entry.key;
  const int typeCode = entry.typeCode;
  RunKeyLocation location;
  if (runKeyOfCode(typeCode, location)) {
    reg::writeString(reg::rootOf(location.hive), location.path, name, programPath);
  } else {
    switch (typeCode) {
      case typecode::kWinIniLoad:
      case typecode::kWinIniRun:
        profile::addProgram(winIniListOf(typeCode), programPath);
        break;
      case typecode::kStartupFolder: {
        const std::string item = key.empty() ? programPath : key;
        if (!isShortcutFile(item)) {
          if (!unparkProgram(programPath, item)) return 0;
          approveStartup(listedProgramPath(item), typeCode);
          return 1;
        }
        ShortcutFields link;
        link.target = programPath;
        link.workingFolder = folderOfProgram(programPath);
        link.description = name;
        link.iconFile = programPath;
        if (FAILED(writeShortcut(key, link))) return 0;
        break;
      }
      case typecode::kDelayLoad:
        reg::writeString(HKEY_LOCAL_MACHINE, kDelayLoadKey, name, key);
        break;
      case typecode::kSharedTaskScheduler:
        reg::writeString(HKEY_LOCAL_MACHINE, kSharedTaskSchedulerKey, key, name);
        break;
      case typecode::kShellExecuteHook:
        reg::writeString(HKEY_LOCAL_MACHINE, kShellExecuteHooksKey, key, name);
        break;
      case typecode::kAppInitDlls:
        addAppInitDll(programPath);
        break;
      case typecode::kWinlogonNotify: {
        const std::string package = notifyPackageKey(name);
        std::string oldName;
        reg::readString(HKEY_LOCAL_MACHINE, package, "OldName", oldName);
        reg::writeString(HKEY_LOCAL_MACHINE, package, "DLLName", oldName);
        reg::writeString(HKEY_LOCAL_MACHINE, package, "OldName", "");
        return 0;
      }
      default:
        return 0;
    }
  }
  approveStartup(listedStartupPath(programPath, typeCode), typeCode);
  return 1;
}

int addStartupProgram(const std::string& path) {
  VersionRecord version;
  readVersionRecord(path, version);
  std::string name = version.fileDescription.empty() ? version.productName : version.fileDescription;
  if (name.empty()) {
    name = fileNamePart(path);
    name = name.size() > 4 ? name.substr(0, name.size() - 4) : name;
  }
  // Quoted, so a path with blanks still names one program.
  const std::string command = "\"" + path + "\"";
  if (!reg::writeString(HKEY_CURRENT_USER, kRunKeyPaths[0], name, command)) return 0;
  approveStartup(listedStartupPath(command, typecode::kCurrentRun), 1);
  return 1;
}

void removeAppInitDll(const std::string& dll) {
  std::string value;
  if (reg::readString(HKEY_LOCAL_MACHINE, kWindowsNtKey, "AppInit_Dlls", value) == 0) return;
  reg::writeString(HKEY_LOCAL_MACHINE, kWindowsNtKey, "AppInit_Dlls", appInitWithout(value, dll, longPathForm));
}

void addAppInitDll(const std::string& dll) {
  std::string value;
  reg::readString(HKEY_LOCAL_MACHINE, kWindowsNtKey, "AppInit_Dlls", value);
  if (!value.empty()) value += ",";
  char shortPath[MAX_PATH];
  DWORD n = GetShortPathNameA(dll.c_str(), shortPath, sizeof shortPath);
  value += (n > 0 && n < sizeof shortPath) ? std::string(shortPath, n) : dll;
  reg::writeString(HKEY_LOCAL_MACHINE, kWindowsNtKey, "AppInit_Dlls", value);
}

}  // namespace tavrin
