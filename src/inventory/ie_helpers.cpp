#include "ie_helpers.h"

#include <windows.h>

#include <vector>

#include "base/command_text.h"
#include "base/entry_tables.h"
#include "base/ie_helper_rules.h"
#include "base/text.h"
#include "class_lookup.h"
#include "history.h"
#include "base/alert_rules.h"
#include "program_file.h"
#include "string_ids.h"
#include "string_loader.h"
#include "sys/message.h"
#include "sys/paths.h"
#include "sys/processes.h"
#include "sys/registry.h"
#include "sys/version.h"

namespace tavrin {
namespace {

bool hasVersionResource(const VersionRecord& v) {
  return !(v.productName.empty() && v.productVersion.empty() && v.companyName.empty() &&
           v.fileDescription.empty() && v.legalCopyright.empty());
}

VersionRecord versionOf(const std::string& path) {
  VersionRecord version;
  const std::string file = removeQuotes(path);
  if (!file.empty()) readVersionRecord(file, version);
  return version;
}

std::vector<std::string> subKeysOf(const char* path) {
  std::vector<std::string> names;
  reg::readSubKeyNames(HKEY_LOCAL_MACHINE, path, names);
  return names;
}

void addHelperObjects(EntryList& list) {
  for (const std::string& id : subKeysOf(kBrowserHelperObjectsKey)) {
    std::string server;
    // The sub-key is the class identifier, braces and all.
    if (reg::readString(HKEY_CLASSES_ROOT, "CLSID\\" + id + "\\InprocServer32", "", server) == 0) continue;
    const VersionRecord version = versionOf(server);
    std::string className;
    reg::readString(HKEY_CLASSES_ROOT, "CLSID\\" + id, "", className);
    list.add(addOnName(version.productName, server, className.empty() ? id : className), server, id,
             version.productVersion, typecode::kBrowserHelper, 0);
  }
}

void addToolbars(EntryList& list) {
  std::vector<reg::Value> values;
  reg::readValues(HKEY_LOCAL_MACHINE, kToolbarKey, values);
  for (const reg::Value& value : values) {
    const ClassInfo info = lookUpClass(value.name);
    const VersionRecord version = versionOf(info.serverPath);
    list.add(addOnName(version.productName, info.serverPath, info.name.empty() ? value.name : info.name),
             info.serverPath, value.name, version.productVersion, typecode::kToolbar, 0);
  }
}

void addExtensions(EntryList& list) {
  for (const std::string& id : subKeysOf(kExtensionsKey)) {
    const std::string key = std::string(kExtensionsKey) + "\\" + id;
    std::string buttonText, program, hotIcon;
    if (reg::readString(HKEY_LOCAL_MACHINE, key, "ButtonText", buttonText) == 0) continue;
    if (reg::readString(HKEY_LOCAL_MACHINE, key, "Exec", program) == 0)
      reg::readString(HKEY_LOCAL_MACHINE, key, "script", program);
    reg::readString(HKEY_LOCAL_MACHINE, key, "HotIcon", hotIcon);
    const std::string file = programFileOfCommand(program);
    VersionRecord version;
    if (!file.empty()) readVersionRecord(file, version);
    list.add(extensionName(buttonText, hasVersionResource(version), version.productName, file), program, id,
             hotIcon.empty() ? program : hotIcon, typecode::kBrowserExtension, 0);
  }
}

// Runs the system folder's regsvr32 on the server, never one found on the
// search path, with the path quoted: unquoted, a server under a folder with
// blanks would load C:\Program.dll instead.
bool runRegsvr32(const std::string& serverPath, bool unregister, int show) {
  const std::string server = removeQuotes(serverPath);
  if (server.empty() || !fileExists(server)) return false;
  const std::string arguments = std::string(unregister ? "/u /s" : "/s") + " \"" + server + "\"";
  return proc::startProgram(systemFolder() + "\\regsvr32.exe", arguments, show);
}

bool deleteRegistration(const AddOnRegistration& registration) {
  if (!registration.valueName.empty())
    return reg::deleteValue(HKEY_LOCAL_MACHINE, registration.keyPath, registration.valueName) != 0;
  return reg::keyExists(HKEY_LOCAL_MACHINE, registration.keyPath) &&
         reg::deleteTree(HKEY_LOCAL_MACHINE, registration.keyPath) != 0;
}

}  // namespace

int enumerateIEHelpers(EntryList& list) {
  list.clear();
  addHelperObjects(list);
  addToolbars(list);
  addExtensions(list);
  return list.count();
}

int removeIEHelper(const EntryList& list, const std::string& programPath, int index) {
  if (index < 0 || index >= list.count() || !equalsNoCase(list.programPath(index), programPath)) return 0;
  AddOnRegistration registration;
  if (!addOnRegistration(list.typeCode(index), list.key(index), registration)) return 0;
  if (!deleteRegistration(registration)) return 0;
  runRegsvr32(programPath, true, SW_SHOWNORMAL);
  const std::string file = fileNamePart(programPath);
  writeHistory(file.empty() ? list.name(index) : file, programPath, registration.historyKey(),
               typecode::kBrowserHelper, action::kIeHelperRemove);
  return 1;
}

int confirmAndRemoveIEHelper(const EntryList& list, int index, HWND owner, const std::string& caption) {
  if (index < 0 || index >= list.count()) return 0;
  const std::string question = fillText(loadString(IDS_CONFIRM_REMOVE_IE_HELPER), {list.name(index)});
  if (messageBox(owner, question, caption, MB_YESNO | MB_ICONWARNING, languageId()) != IDYES) return 0;
  return removeIEHelper(list, list.programPath(index), index);
}

int restoreRemovedIEHelper(const std::string& programPath, const std::string& historyKey) {
  const AddOnRestore restore = addOnRestore(historyKey);
  int done = 0;
  if (!restore.keyToCreate.empty() && reg::createKey(HKEY_LOCAL_MACHINE, restore.keyToCreate)) done = 1;
  if (!restore.toolbarValue.empty() &&
      (reg::valueExists(HKEY_LOCAL_MACHINE, kToolbarKey, restore.toolbarValue) ||
       reg::writeString(HKEY_LOCAL_MACHINE, kToolbarKey, restore.toolbarValue, "")))
    done = 1;
  if (runRegsvr32(programPath, false, SW_SHOW)) done = 1;
  return done;
}

}  // namespace tavrin
