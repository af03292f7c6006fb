#include "startup_actions.h"

#include <windows.h>

#include "base/entry_tables.h"
#include "sys/registry.h"

namespace tavrin {
namespace {

HKEY rootOf(Hive hive) {
  switch (hive) {
    case Hive::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case Hive::CurrentUser:
      return HKEY_CURRENT_USER;
    case Hive::Users:
      break;
  }
  return HKEY_USERS;
}

int toggleRunEntry(const std::string& name, const std::string& programPath, int typeCode) {
  RunKeyLocation location;
  if (!runKeyOfCode(typeCode, location)) return 0;
  const HKEY runRoot = rootOf(location.hive);
  const std::string copyKey = disabledCopyKeyOf(typeCode);
  if (hasDisabledMarker(name)) {
    if (!reg::writeString(runRoot, location.path, name, programPath)) return 0;
    reg::deleteValue(HKEY_LOCAL_MACHINE, copyKey, name);
    return reg::deleteValue(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, name);
  }
  reg::createKey(HKEY_LOCAL_MACHINE, copyKey);
  if (!reg::writeString(HKEY_LOCAL_MACHINE, copyKey, name, programPath) ||
      !reg::writeString(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, name, disabledMarkerText(typeCode)))
    return 0;
  return reg::deleteValue(runRoot, location.path, name);
}

}  // namespace

bool hasDisabledMarker(const std::string& name) {
  std::string marker;
  return reg::readString(HKEY_LOCAL_MACHINE, kDisabledMarkerKey, name, marker) > 0;
}

int toggleStartupEntry(const std::string& name, const std::string& programPath, const std::string& key,
                       int typeCode) {
  (void)key;
  return toggleRunEntry(name, programPath, typeCode);
}

}  // namespace tavrin
