#include "startup_enum.h"

#include <windows.h>

#include <vector>

#include "base/command_text.h"
#include "base/entry_tables.h"
#include "base/startup_text.h"
#include "base/text.h"
#include "class_lookup.h"
#include "program_file.h"
#include "startup_actions.h"
#include "sys/files.h"
#include "sys/profile.h"
#include "sys/registry.h"
#include "sys/trace.h"
#include "sys/version.h"

namespace tavrin {
namespace {

constexpr std::size_t kLongDescription = 256;

VersionRecord versionOf(const std::string& path) {
  VersionRecord record;
  readVersionRecord(path, record);
  return record;
}

// The description of a program from its version resource.
std::string describedName(const std::string& path) {
  VersionRecord record = versionOf(path);
  return record.fileDescription.empty() ? record.productName : record.fileDescription;
}

std::string lastThree(const std::string& path) { return lower(path.size() >= 3 ? path.substr(path.size() - 3) : path); }

bool addStartupItem(EntryList& list, const std::string& item, DWORD attributes) {
  if (attributes == FILE_ATTRIBUTE_DIRECTORY) return false;
  const std::string path = removeTrailingBackslash(item);
  trace::line(path, "spBuildProc - Startup - findexe.exe");
  const std::string extension = lastThree(path);
  if (extension == "lnk") {
    ResolvedShortcut shortcut = resolveStartupShortcut(path);
    if (shortcut.result == 1) return false;
    std::string name = shortcut.description;
    if (name.size() > kLongDescription)
      trace::line("lnk - This was the problem - spBuildProc - findexe.exe", name);
    if (name.empty()) name = describedName(shortcut.target);
    list.add(name, shortcut.target, path, "", typecode::kStartupFolder, 0);
  } else if (extension == "exe") {
    const std::string name = describedName(path);
    if (name.size() > kLongDescription)
      trace::line("exe - This was the problem - spBuildProc - findexe.exe", name);
    list.add(name, path, path, "", typecode::kStartupFolder, 0);
  } else if (extension != "ini") {
    list.add("", path, "", "", typecode::kStartupFolder, 0);
  }
  return false;
}

// Values read alike by the Run-key and disabled-copy readers: every value,
// whatever its length.
std::vector<reg::Value> valuesOf(HKEY root, const std::string& path) {
  std::vector<reg::Value> values;
  reg::readValues(root, path, values);
  return values;
}

void addClassRegistrations(EntryList& list, const char* keyPath, const char* traceText, int typeCode) {
  for (const reg::Value& value : valuesOf(HKEY_LOCAL_MACHINE, keyPath)) {
    const ClassInfo info = lookUpClass(value.name);
    const std::string name = value.data.empty() ? info.name : value.data;
    trace::line(info.serverPath, traceText);
    list.add(name, info.serverPath, value.name, versionOf(info.serverPath).productVersion, typeCode, 0);
  }
}

}  // namespace

std::string listedStartupPath(const std::string& command, int typeCode) {
  RunKeyLocation location;
  const bool runKey = runKeyOfCode(typeCode, location);
  return listedProgramPath(runKey ? rundllTest(command).text : command);
}

void walkFolderIntoList(const std::string& folder, int depth, FolderWalkMode mode, EntryList& list) {
  walkFolder(folder, depth, [&](const std::string& path, DWORD attributes) {
    switch (mode) {
      case FolderWalkMode::Startup:
        return addStartupItem(list, path, attributes);
    }
    return false;
  });
}

void buildRun(EntryList& list) {
  // A value met again right after itself (same name and data), even across
  // keys and hives, is listed once.
  std::string lastName, lastData;
  // One pass over the markers: thousands of Run values each asked alone cost
  // a registry open and read apiece.
  DisabledMarkers markers;
  for (const StartupHive& hive : startupHives()) {
    if (!hive.hasRunKeys) continue;
    const HKEY root = reg::rootOf(hive.hive);
    for (std::size_t number = 1; number <= kRunKeyCount; ++number) {
      const int typeCode = hive.codeBase + static_cast<int>(number);
      for (const reg::Value& value : valuesOf(root, kRunKeyPaths[number - 1])) {
        if (equalsNoCase(value.data, lastData) && equalsNoCase(value.name, lastName)) continue;
        if (markers.marked(value.name)) {
          // Put back by the program after the user disabled it: disable it
          // again, keeping its new command line.
          disableReturnedRunEntry(value.name, value.data, typeCode);
          continue;
        }
        // Every value with a command is listed, however short or oddly named:
        // anything here starts at logon.
        std::string data = value.data;
        int flag = 0;
        if (!data.empty()) {
          trace::line(data, "BuildRun - findrun");
          RundllTest rundll = rundllTest(data);
          flag = rundll.runsLibrary ? 1 : 0;
          data = rundll.text;
          list.add(value.name, data, "", "", typeCode, flag);
        }
        lastName = cut(value.name, 255);
        lastData = cut(data, 511);
      }
    }
  }
}

bool getStartupGroup(EntryList& list) {
  const int before = list.count();
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_USERS}) {
    for (const char* value : {"Startup", "Common Startup"}) {
      std::string folder;
      if (reg::readString(root, kShellFoldersKey, value, folder, 261) == 0) continue;
      trace::line(folder, "GetStartupGroup - findrun");
      walkFolderIntoList(folder, 0, FolderWalkMode::Startup, list);
    }
  }
  return list.count() > before;
}

void readWinIniPrograms(EntryList& list) {
  for (const auto& [key, typeCode] : {std::pair<const char*, int>{"run", typecode::kWinIniRun},
                                      std::pair<const char*, int>{"load", typecode::kWinIniLoad}}) {
    const std::string text = profile::readWindowsValue(key);
    trace::line(key, "Profile - GetWinPrograms - findrun");
    if (text.empty()) continue;
    for (const std::string& piece : splitList(text, ';')) {
      std::string name = versionOf(piece).productName;
      if (name.empty()) name = key;
      list.add(name, piece, "", "", typeCode, 0);
    }
  }
}

void getDisabledPrograms(EntryList& list) {
  for (const DisabledCopyKey& copyKey : disabledCopyKeys()) {
    for (const reg::Value& value : valuesOf(HKEY_LOCAL_MACHINE, copyKey.path)) {
      if (value.name.empty()) continue;
      std::string marker;
      reg::readString(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, value.name, marker);
      const int former = disabledMarkerCode(marker);
      if (former <= 0) continue;
      trace::line(value.data, "GetDisabledPrograms - findrun");
      list.add(value.name, value.data, "", "", former, 0);
    }
  }
  const std::string folder = disabledFolder();
  if (folder.empty()) return;
  // Only what is disabled: a program removed from a Startup folder or moved to
  // Delayed Start waits there too, and starts from nowhere.
  EntryList parked(list.caption(), 0);
  walkFolderIntoList(folder, 0, FolderWalkMode::Startup, parked);
  for (int i = 0; i < parked.count(); ++i)
    if (parked.disabledState(i) > 0)
      list.add(parked.name(i), parked.programPath(i), parked.key(i), parked.detail(i), parked.typeCode(i),
               parked.flag(i));
}

void readWinlogon(EntryList& list) {
  trace::line("GetWinLogon_Userinit", "findrun");
  std::string value, program;
  reg::readString(HKEY_LOCAL_MACHINE, kWinlogonKey, "UserInit", value);
  if (userinitProgram(value, program))
    list.add("Winlogon Userinit", program, "", "", typecode::kWinlogonUserinit, 0);
  reg::readString(HKEY_LOCAL_MACHINE, kWinlogonKey, "Shell", value);
  if (shellProgram(value, program)) list.add("Winlogon Shell", program, "", "", typecode::kWinlogonShell, 0);
}

void buildRegInfo(EntryList& list) {
  for (const reg::Value& value :
       valuesOf(HKEY_LOCAL_MACHINE, kDelayLoadKey)) {
    const ClassInfo info = lookUpClass(value.data);
    trace::line(info.serverPath, "DelayLoad - BuildRegInfo -  findrun");
    list.add(value.name, info.serverPath, value.data, versionOf(info.serverPath).productVersion,
             typecode::kDelayLoad, 0);
  }
  addClassRegistrations(list, kSharedTaskSchedulerKey,
                        "TaskScheduler - BuildRegInfo -  findrun", typecode::kSharedTaskScheduler);
  addClassRegistrations(list, kShellExecuteHooksKey,
                        "ShellExecHook - BuildRegInfo -  findrun", typecode::kShellExecuteHook);

  std::string appInit;
  reg::readString(HKEY_LOCAL_MACHINE, kWindowsNtKey, "AppInit_Dlls",
                  appInit);
  if (!appInit.empty()) {
    for (const std::string& piece : appInitPieces(appInit)) {
      const VersionRecord record = versionOf(piece);
      list.add(record.productName, piece, record.companyName, record.productVersion, typecode::kAppInitDlls, 0);
    }
  }

  const std::string notify = std::string(kWinlogonKey) + "\\Notify";
  std::vector<std::string> packages;
  reg::readSubKeyNames(HKEY_LOCAL_MACHINE, notify, packages);
  for (const std::string& package : packages) {
    if (package.empty()) continue;
    std::string dll;
    if (reg::readString(HKEY_LOCAL_MACHINE, notify + "\\" + package, "DllName", dll) == 0) continue;
    const VersionRecord record = versionOf(dll);
    list.add(package, dll, record.fileDescription, record.productVersion, typecode::kWinlogonNotify, 0);
  }
}

int enumerateStartup(EntryList& list, bool pageMode, int showAllStartup) {
  FolderListings listings;
  list.clear();
  buildRun(list);
  getStartupGroup(list);
  readWinIniPrograms(list);
  getDisabledPrograms(list);
  const bool everyPlace = !pageMode || showAllStartup > 0;
  if (everyPlace && isWindowsNtFamily()) readWinlogon(list);
  if (everyPlace) buildRegInfo(list);
  return list.count();
}

}  // namespace tavrin
