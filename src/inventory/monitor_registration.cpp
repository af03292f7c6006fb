#include "monitor_registration.h"

#include <string>

#include "base/entry_tables.h"
#include "detection_store.h"
#include "startup_actions.h"
#include "string_ids.h"
#include "string_loader.h"
#include "sys/paths.h"
#include "sys/registry.h"

namespace tavrin {
namespace {

// The machine's own Run key.
constexpr const char* kMachineRunKey = kRunKeyPaths[0];

std::string monitorPath() { return programFolder() + "\\tavrin.exe"; }

}  // namespace

bool isMonitorRegistered() {
  // An empty name would test the key's default value, which is no registration.
  for (UINT id : {IDS_CAPTION, IDS_ALT_RUN_NAME}) {
    const std::string name = loadString(id, 260);
    std::string data;
    if (!name.empty() && reg::readString(HKEY_LOCAL_MACHINE, kMachineRunKey, name, data) > 0) return true;
  }
  return false;
}

bool registerMonitor(bool on) {
  const std::string name = loadString(IDS_CAPTION, 260);
  const std::string path = monitorPath();
  if (on) {
    // Quoted: an unquoted path with blanks would let C:\Program.exe start at logon.
    // The approval stays named by the plain path, which is what the enumeration lists.
    if (!reg::writeString(HKEY_LOCAL_MACHINE, kMachineRunKey, name, "\"" + path + "\"")) return false;
    approveStartup(path, 1);
    return true;
  }
  // Every name the Monitor may be registered under goes, the alternative one
  // included: a registration left under it would keep counting as one.
  bool removed = false;
  for (UINT id : {IDS_CAPTION, IDS_ALT_RUN_NAME}) {
    const std::string runName = loadString(id, 260);
    if (runName.empty() || !reg::valueExists(HKEY_LOCAL_MACHINE, kMachineRunKey, runName)) continue;
    if (removeStartupEntry({runName, id == IDS_CAPTION ? path : "tavrin.exe", "", 1}, nullptr) != 0) removed = true;
  }
  return removed;
}

}  // namespace tavrin
