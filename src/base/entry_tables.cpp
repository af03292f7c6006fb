#include "entry_tables.h"

#include <iterator>

#include "command_text.h"
#include "text.h"

namespace tavrin {

const std::vector<CodeName>& typeNameTable() {
  // The order is the search order the history has always used; do not sort.
  static const std::vector<CodeName> table = {
      {1, "MACHINE_RUN"},
      {2, "MACHINE_RUNONCE"},
      {3, "MACHINE_RUNONCEEX"},
      {4, "MACHINE_RUNSERVICES"},
      {5, "MACHINE_RUNSERVICESONCE"},
      {11, "CURRENT_RUN"},
      {12, "CURRENT_RUNONCE"},
      {13, "CURRENT_RUNONCEEX"},
      {14, "CURRENT_RUNSERVICES"},
      {15, "CURRENT_RUNSERVICESONCE"},
      {21, "USERS_RUN"},
      {22, "USERS_RUNONCE"},
      {23, "USERS_RUNONCEEX"},
      {24, "USERS_RUNSERVICES"},
      {25, "USERS_RUNSERVICESONCE"},
      {31, "TAVRIN_RUN"},
      {32, "TAVRIN_RUNONCE"},
      {33, "TAVRIN_RUNONCEEX"},
      {34, "TAVRIN_RUNSERVICES"},
      {35, "TAVRIN_RUNSERVICESONCE"},
      {100, "WIN_LOAD"},
      {101, "WIN_RUN"},
      {200, "GROUP_STARTUP"},
      {250, "WINLOGON_Userinit"},
      {251, "WINLOGON_Shell"},
      {252, "REG_Delayload"},
      {253, "REG_TaskScheduler"},
      {254, "REG_ShellExecuteHook"},
      {255, "REG_AppInitDLLs"},
      {500, "INFO_COOKIE"},
      {501, "INFO_NETCOOKIE"},
      {502, "INFO_SAVECOOKIE"},
      {503, "INFO_NUTS"},
      {600, "INFO_TASK"},
      {700, "SERVICE_EXE"},
      {701, "SERVICE_SVCHOST"},
      {800, "TASK_SCHEDULED"},
      {900, "TYPE_BHO"},
      {300, "RESTART_DELETE"},
      {301, "RESTART_RENAME"},
      {901, "TYPE_TOOLBAR"},
      {902, "TYPE_EXTENSION"},
      {350, "TYPE_MONITOR"},
      {360, "TYPE_BLACKLIST"},
      {450, "TYPE_PROSEARCH"},
      {400, "TYPE_FILETYPE"},
      {370, "TYPE_HIDDEN"},
      {256, "RUN_WINLOGONNOTIFY"},
      {6, "MACHINE_RUNONCESETUP"},
      {7, "MACHINE_RUNPOLICY"},
      {3000, "TYPE_UNKNOWN"},
  };
  return table;
}

const std::vector<CodeName>& locationNameTable() {
  static const std::vector<CodeName> table = {
      {1, "HKLM_RUN"},
      {2, "HKLM_RUNONCE"},
      {3, "HKLM_RUNONCEEX"},
      {4, "HKLM_RUNSERVICES"},
      {5, "HKLM_RUNSERVICESONCE"},
      {6, "HKLM_RUNONCESETUP"},
      {7, "HKLM_POLICY"},
      {11, "HKCU_RUN"},
      {12, "HKCU_RUNONCE"},
      {13, "HKCU_RUNONCEEX"},
      {14, "HKCU_RUNSERVICES"},
      {15, "HKCU_RUNSERVICESONCE"},
      {16, "HKCU_RUNONCESETUP"},
      {17, "HKCU_POLICY"},
      {21, "HKU_RUN"},
      {22, "HKU_RUNONCE"},
      {23, "HKU_RUNONCEEX"},
      {24, "HKU_RUNSERVICES"},
      {25, "HKU_RUNSERVICESONCE"},
      {26, "HKU_RUNONCESETUP"},
      {27, "HKU_POLICY"},
      {31, "RUN_POLICY"},
      {32, "W_RUNONCE"},
      {33, "W_RUNONCEEX"},
      {34, "W_RUNSERVICES"},
      {35, "W_RUNSERVICESONCE"},
      {100, "WIN.INI_LOAD"},
      {101, "WIN.INI_RUN"},
      {200, "STARTUP_FOLDER"},
      {250, "LOGON_USERINIT"},
      {251, "LOGON_SHELL"},
      {252, "DELAYLOAD"},
      {253, "TASKSCHEDULER"},
      {254, "SHELLHOOK"},
      {255, "APPINIT_DLL"},
      {256, "NOTIFY"},
  };
  return table;
}

namespace {

const char* findName(const std::vector<CodeName>& table, int code) {
  for (const CodeName& row : table)
    if (row.code == code) return row.name;
  return nullptr;
}

}  // namespace

std::string typeName(int code) {
  const char* name = findName(typeNameTable(), code);
  return name ? name : "TYPE_UNKNOWN";
}

int typeCodeOfName(std::string_view name) {
  for (const CodeName& row : typeNameTable())
    if (equalsNoCase(row.name, name)) return row.code;
  return typecode::kUnknown;
}

std::string locationName(int code) {
  const char* name = findName(locationNameTable(), code);
  return name ? name : "";
}

bool isStartupCode(int code) {
  return (code >= 1 && code <= 7) || (code >= 11 && code <= 17) || code == typecode::kWinIniLoad ||
         code == typecode::kWinIniRun || code == typecode::kStartupFolder ||
         (code >= typecode::kWinlogonUserinit && code <= typecode::kWinlogonNotify);
}

const std::vector<StartupHive>& startupHives() {
  static const std::vector<StartupHive> hives = {
      {Hive::LocalMachine, 0, true},
      {Hive::CurrentUser, 10, true},
      {Hive::Users, 20, false},
  };
  return hives;
}

bool runKeyOfCode(int code, RunKeyLocation& location) {
  for (const StartupHive& root : startupHives()) {
    if (!root.hasRunKeys) continue;
    const int number = code - root.codeBase;
    if (number >= 1 && number <= static_cast<int>(kRunKeyCount)) {
      location.hive = root.hive;
      location.path = kRunKeyPaths[number - 1];
      return true;
    }
  }
  return false;
}

const std::vector<DisabledCopyKey>& disabledCopyKeys() {
  static const std::vector<DisabledCopyKey> keys = {
      {"Software\\Quennet\\Tavrin\\Disabled\\Run", {1, 11}},
      {"Software\\Quennet\\Tavrin\\Disabled\\RunOnce", {2, 12}},
      {"Software\\Quennet\\Tavrin\\Disabled\\RunOnceEx", {3, 13}},
      {"Software\\Quennet\\Tavrin\\Disabled\\RunServices", {4, 14}},
      {"Software\\Quennet\\Tavrin\\Disabled\\RunServicesOnce", {5, 15}},
      {"Software\\Quennet\\Tavrin\\Disabled\\RunSetup", {6, 16}},
      {"Software\\Quennet\\Tavrin\\Disabled\\Policy", {7, 17}},
      {"Software\\Quennet\\Tavrin\\Disabled\\WinLoad", {typecode::kWinIniLoad}},
      {"Software\\Quennet\\Tavrin\\Disabled\\WinRun", {typecode::kWinIniRun}},
      // Listed when found, never written.
      {"Software\\Quennet\\Tavrin\\Disabled\\RunOnce\\Setup", {}},
      {"Software\\Quennet\\Tavrin\\Disabled\\WinNotify", {typecode::kWinlogonNotify}},
  };
  return keys;
}

std::string disabledCopyKeyOf(int code) {
  for (const DisabledCopyKey& key : disabledCopyKeys())
    for (int owned : key.codes)
      if (owned == code) return key.path;
  return std::string();
}

std::string disabledMarkerText(int code) { return std::to_string(code); }

int disabledMarkerCode(std::string_view markerData) {
  long code = leadingNumber(markerData);
  return code > 0 ? static_cast<int>(code) : 0;
}

std::string disabledFolderIn(std::string_view programFolder) {
  if (programFolder.empty()) return std::string();
  return addTrailingBackslash(programFolder) + kDisabledFolderName;
}

}  // namespace tavrin
