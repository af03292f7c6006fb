#pragma once
// Type codes of the entry list and the names shown and logged for them, the
// Run-type keys the startup enumeration reads, and where a disabled entry is
// kept. Registry hives appear as plain values so the tables stay free of the
// platform.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// Where an entry comes from. Startup locations are 1 to 256; the Run-type
// codes are a hive's code base plus the key's number (1 to 7).
namespace typecode {
constexpr int kMachineRun = 1;
constexpr int kMachineRunOnce = 2;
constexpr int kMachineRunOnceEx = 3;
constexpr int kMachineRunServices = 4;
constexpr int kMachineRunServicesOnce = 5;
constexpr int kMachineRunOnceSetup = 6;
constexpr int kMachineRunPolicy = 7;
constexpr int kCurrentRun = 11;
constexpr int kCurrentRunOnce = 12;
constexpr int kCurrentRunOnceEx = 13;
constexpr int kCurrentRunServices = 14;
constexpr int kCurrentRunServicesOnce = 15;
constexpr int kCurrentRunOnceSetup = 16;
constexpr int kCurrentRunPolicy = 17;
constexpr int kUsersRun = 21;  // 21 to 27: names only
constexpr int kTavrinRun = 31;  // 31 to 35: names only
constexpr int kWinIniLoad = 100;
constexpr int kWinIniRun = 101;
constexpr int kStartupFolder = 200;
constexpr int kWinlogonUserinit = 250;
constexpr int kWinlogonShell = 251;
constexpr int kDelayLoad = 252;
constexpr int kSharedTaskScheduler = 253;
constexpr int kShellExecuteHook = 254;
constexpr int kAppInitDlls = 255;
constexpr int kWinlogonNotify = 256;
constexpr int kRestartDelete = 300;
constexpr int kRestartRename = 301;
constexpr int kMonitor = 350;
constexpr int kBlacklist = 360;
constexpr int kHiddenFile = 370;
constexpr int kFileType = 400;
constexpr int kProSearch = 450;
constexpr int kCookie = 500;
constexpr int kNetCookie = 501;
constexpr int kSavedCookie = 502;
constexpr int kNuts = 503;
constexpr int kMozillaCookie = 504;
constexpr int kRunningProgram = 600;
constexpr int kServiceExe = 700;
constexpr int kServiceSvchost = 701;
constexpr int kScheduledTask = 800;
constexpr int kBrowserHelper = 900;
constexpr int kToolbar = 901;
constexpr int kBrowserExtension = 902;
constexpr int kUnknown = 3000;
}  // namespace typecode

struct CodeName {
  int code;
  const char* name;
};

// Both tables in their search order; the first row with the code wins.
const std::vector<CodeName>& typeNameTable();
const std::vector<CodeName>& locationNameTable();

// The history's name of a code; "TYPE_UNKNOWN" for a code not in the table.
std::string typeName(int code);
// The code of a type name (any case); kUnknown for a name not in the table.
int typeCodeOfName(std::string_view name);
// The Startup Programs page's name of a code; empty for a code not in the table.
std::string locationName(int code);

// Codes the startup enumeration produces: 1-7, 11-17, 100, 101, 200, 250-256.
bool isStartupCode(int code);

// Registry roots of the startup locations, in the order of the root table.
enum class Hive { LocalMachine, CurrentUser, Users };

struct StartupHive {
  Hive hive;
  int codeBase;
  bool hasRunKeys;  // HKEY_USERS is named but its Run keys are not read
};
const std::vector<StartupHive>& startupHives();

// The seven Run-type keys in table order; key number n (1 to 7) has code base + n.
constexpr std::size_t kRunKeyCount = 7;
constexpr const char* kRunKeyPaths[kRunKeyCount] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\Setup",
    "Software\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer\\Run",
};

struct RunKeyLocation {
  Hive hive;
  std::string path;
};
// The Run-type key of a code 1-7 or 11-17; false for any other code.
bool runKeyOfCode(int code, RunKeyLocation& location);

// Disabled entries, all under HKEY_LOCAL_MACHINE: the marker value (named
// after the entry, data = its former type code in decimal) and the copy of its
// command line under the key of its kind.
// The other autostart places, all read under HKEY_LOCAL_MACHINE (Shell
// Folders under each hive).
constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kWinlogonKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr char kWindowsNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
constexpr char kDelayLoadKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ShellServiceObjectDelayLoad";
constexpr char kSharedTaskSchedulerKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SharedTaskScheduler";
constexpr char kShellExecuteHooksKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ShellExecuteHooks";

constexpr char kDisabledMarkerKey[] = "Software\\Quennet\\Tavrin\\Disabled";
constexpr char kDisabledFolderName[] = "Disabled";

struct DisabledCopyKey {
  std::string path;
  std::vector<int> codes;  // empty for the key that is only read
};
// The eleven copy keys in the order the disabled entries are read.
const std::vector<DisabledCopyKey>& disabledCopyKeys();
// The copy key of a code; empty for codes without a copy (200, 250-255, ...).
std::string disabledCopyKeyOf(int code);

std::string disabledMarkerText(int code);
// The former type code a marker holds (the number it starts with); 0 when
// that is not a number above 0, so the entry does not count as disabled.
int disabledMarkerCode(std::string_view markerData);

// The Disabled folder inside a program folder; empty when there is no folder.
std::string disabledFolderIn(std::string_view programFolder);

}  // namespace tavrin
