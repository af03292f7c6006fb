#include "settings.h"

#include <shellapi.h>

#include "base/language.h"
#include "base/text.h"
#include "date_text.h"
#include "delayed_start.h"
#include "detection_store.h"
#include "file_types.h"
#include "startup_actions.h"
#include "string_ids.h"
#include "sys/paths.h"
#include "sys/profile.h"
#include "sys/registry.h"
#include "sys/trace.h"
#include "system_files.h"
#include "version_text.h"

namespace tavrin {
namespace {

WORD g_languageId = 0;  // process value, like the trace switch

constexpr char kDefaultHelpLocation[] = "https://quennet.example/tavrin/help/";

// The option's place in Options, in a nested group or not.
template <int Options::*Field>
int& field(Options& o) {
  return o.*Field;
}
template <int PatrolTimes::*Field>
int& patrolField(Options& o) {
  return o.patrol.*Field;
}
template <int RealtimeOptions::*Field>
int& realtimeField(Options& o) {
  return o.realtime.*Field;
}

struct OptionRow {
  const char* name;
  int& (*field)(Options&);
  int defaultValue;
};

// MaxCookie and TrayIcon are absent: their defaults depend on program and platform.
const OptionRow kOptionRows[] = {
    {"HideBramble", field<&Options::hideBramble>, 0},
    {"HideAlerts", field<&Options::hideAlerts>, 0},
    {"Format", field<&Options::format>, 0},
    {"ConfirmExit", field<&Options::confirmExit>, 0},
    {"Sound", field<&Options::sound>, 1},
    {"History", field<&Options::history>, 1},
    {"HideMicrosoftServices", field<&Options::hideMicrosoftServices>, 0},
    {"LockFileTypes", field<&Options::lockFileTypes>, 0},
    {"ShowAllStartup", field<&Options::showAllStartup>, 0},
    {"NoMicrosoftStartup", field<&Options::noMicrosoftStartup>, 0},
    {"Start", patrolField<&PatrolTimes::start>, 2},
    {"IEHelpers", patrolField<&PatrolTimes::ieHelpers>, 2},
    {"Hidden", patrolField<&PatrolTimes::hidden>, 0},
    {"HostFile", patrolField<&PatrolTimes::hostFile>, 3},
    {"StartPage", patrolField<&PatrolTimes::startPage>, 2},
    {"FileType", patrolField<&PatrolTimes::fileType>, 10},
    {"Tasks", patrolField<&PatrolTimes::tasks>, 11},
    {"WinInit", patrolField<&PatrolTimes::winInit>, 5},
    {"Services", patrolField<&PatrolTimes::services>, 7},
    {"Nuts", patrolField<&PatrolTimes::nuts>, 0},
    {"Cookies", patrolField<&PatrolTimes::cookies>, 0},
    {"RealtimeStartup", realtimeField<&RealtimeOptions::startup>, 1},
    {"RealtimeIEHelper", realtimeField<&RealtimeOptions::ieHelper>, 1},
    {"RealtimeSysFiles", realtimeField<&RealtimeOptions::sysFiles>, 1},
    {"RealtimeFileType", realtimeField<&RealtimeOptions::fileType>, 0},
    {"RealtimeStartPage", realtimeField<&RealtimeOptions::startPage>, 1},
    {"RealtimeHidden", realtimeField<&RealtimeOptions::hidden>, 0},
    {"ViewCookies", field<&Options::viewCookies>, 0},
    {"Update", field<&Options::update>, 0},
    {"Cleanup", field<&Options::cleanup>, 0},
    {"Debug", field<&Options::debug>, 0},
    {"StartTab", field<&Options::startTab>, 6026},
    {"Browser", field<&Options::browser>, 1},
    {"BrowserFailure", field<&Options::browserFailure>, 0},
    {"SortStartup", field<&Options::sortStartup>, 0},
    {"SortPrograms", field<&Options::sortPrograms>, 0},
    {"SortIEHelper", field<&Options::sortIEHelper>, 0},
    {"SortScheduledTask", field<&Options::sortScheduledTask>, 0},
    {"SortService", field<&Options::sortService>, 0},
    {"SortActiveTask", field<&Options::sortActiveTask>, 0},
    {"SortCookie", field<&Options::sortCookie>, 0},
    {"SortFileType", field<&Options::sortFileType>, 0},
    {"SortHidden", field<&Options::sortHidden>, 0},
    {"SortHistory", field<&Options::sortHistory>, 0},
    {"NoteSize", field<&Options::noteSize>, 14},
};

const char* const kSoundKeys[] = {
    "AppEvents\\Schemes\\Apps\\Tavrin\\Open\\.current",
    "AppEvents\\Schemes\\Apps\\Tavrin\\Startup Alert\\.current",
    "AppEvents\\Schemes\\Apps\\Tavrin\\Cookie Alert\\.current",
    "AppEvents\\Schemes\\Apps\\Tavrin\\Task Alert\\.current",
    "AppEvents\\Schemes\\Apps\\Tavrin\\IE Helper\\.current",
    "AppEvents\\Schemes\\Apps\\Tavrin\\FileType Alert\\.current",
    "AppEvents\\Schemes\\Apps\\Tavrin\\SystemFile Alert\\.current",
};

constexpr int kOwnSoundResource = 170;

std::string monitorPath() { return programFolder() + "\\tavrin.exe"; }

void upgradeStoredVersion(Options& options, EntryList& list) {
  std::string version;
  if (reg::readString(HKEY_CURRENT_USER, kSystemKey, "Version", version) > 0) {
    if (!contains(version, kProductVersion)) {
      rebuildApprovedStartups(list);
      reg::writeString(HKEY_CURRENT_USER, kSystemKey, "Version", kProductVersion);
      createInitialValues(list);
    }
    if (readOption("Cleanup", 0) != 0) {
      rebuildApprovedStartups(list);
      writeOption("Cleanup", 0);
      options.cleanup = 0;
    }
  } else {
    rebuildApprovedStartups(list);
    reg::writeString(HKEY_CURRENT_USER, kSystemKey, "Version", kProductVersion);
  }
}

void createStoreOnFirstRun(EntryList& list) {
  std::string firstRun;
  if (reg::readString(HKEY_CURRENT_USER, kSystemKey, "", firstRun) > 0) return;
  trace::line("Get Initial Values", "FIRSTTIME");
  reg::createKey(HKEY_CURRENT_USER, "Software\\Quennet");
  reg::createKey(HKEY_CURRENT_USER, kSystemKey);
  const std::string now = currentDateTimeText();
  for (const char* sub : {"Nuts", "Cookies", "Options", "Run", "IEHelpers", "HostFile", "Tasks"})
    reg::createKey(HKEY_CURRENT_USER, std::string(kSystemKey) + "\\" + sub);
  createInitialValues(list);
  // Written last: its presence is what marks the first run as done.
  reg::writeString(HKEY_CURRENT_USER, kSystemKey, "", now);
}

}  // namespace

int readOption(const std::string& name, int defaultValue) {
  std::string text;
  if (reg::readString(HKEY_CURRENT_USER, kOptionsKey, name, text) == 0) return defaultValue;
  return static_cast<int>(leadingNumber(text));
}

int writeOption(const std::string& name, int value) {
  reg::writeString(HKEY_CURRENT_USER, kOptionsKey, name, std::to_string(value));
  return reg::writeString(HKEY_CURRENT_USER, kOptionsKey, "Update", "1");
}

void Options::load(Program program, bool ntFamily) {
  for (const OptionRow& row : kOptionRows) row.field(*this) = readOption(row.name, row.defaultValue);
  maxCookie = readOption("MaxCookie", program == Program::Monitor ? 315 : 4096);
  trayIcon = readOption("TrayIcon", (program == Program::Explorer || ntFamily) ? 101 : 159);
  std::string font;
  noteFont = reg::readString(HKEY_CURRENT_USER, kOptionsKey, "NoteFont", font, 32) > 0 ? font : "Arial";
}

void Options::save() {
  for (const OptionRow& row : kOptionRows) {
    if (row.field == field<&Options::update>) continue;  // every write sets it anyway
    writeOption(row.name, row.field(*this));
  }
  writeOption("MaxCookie", maxCookie);
  writeOption("TrayIcon", trayIcon);
  reg::writeString(HKEY_CURRENT_USER, kOptionsKey, "NoteFont", noteFont);
}

WORD languageId() { return g_languageId; }

void setLanguageFromStrings() {
  // Derived afresh, as at start (no language yet), so that an LString634
  // override can switch a program whose table says "us" to another language.
  g_languageId = 0;
  g_languageId = static_cast<WORD>(languageIdOf(loadString(IDS_LANGUAGE, 8)));
}

std::string loadString(UINT id, std::size_t capacity) {
  if (capacity == 0) return std::string();
  if (g_languageId != 9) {
    std::string text;
    if (reg::readString(HKEY_LOCAL_MACHINE, kSystemKey, format("LString%u", id), text, 772) > 0) {
      text = cut(text, capacity - 1);
      std::string out;
      for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 'n') {
          out += '\n';
          ++i;
        } else {
          out += text[i];
        }
      }
      return out;
    }
  }
  // A zero length asks LoadStringA for a read-only pointer to the resource text.
  const char* resource = nullptr;
  int length = LoadStringA(GetModuleHandleA(nullptr), id, reinterpret_cast<char*>(&resource), 0);
  if (length > 0 && resource) return cut(std::string(resource, static_cast<std::size_t>(length)), capacity - 1);
  char buffer[1024];
  length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
  return length > 0 ? cut(std::string(buffer, static_cast<std::size_t>(length)), capacity - 1) : std::string();
}

void setDialogText(HWND dialog, UINT stringId, int control) {
  const std::string text = loadString(stringId);
  if (!text.empty()) SetDlgItemTextA(dialog, control, text.c_str());
}

bool isWindowsNtFamily() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::string soundFileOfEvent(int index) {
  if (index < 0 || index > 6) index = 0;
  std::string file;
  reg::readString(HKEY_CURRENT_USER, kSoundKeys[index], "", file, 260);
  return file;
}

void playSoundEvent(int index, const Options& options) {
  if (options.sound <= 0) return;
  const std::string file = soundFileOfEvent(index);
  if (!file.empty())
    PlaySoundA(file.c_str(), nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT);
  else
    PlaySoundA(MAKEINTRESOURCEA(kOwnSoundResource), GetModuleHandleA(nullptr), SND_RESOURCE | SND_SYNC | SND_NODEFAULT);
}

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
    if (removeStartupEntry(runName, id == IDS_CAPTION ? path : "tavrin.exe", "", 1, nullptr) != 0) removed = true;
  }
  return removed;
}

void createInitialValues(EntryList& list) {
  trace::line("Create Initial Values", "");
  initialiseApprovedStartups(list);
  const std::string oldName = loadString(IDS_ALT_RUN_NAME, 260);
  if (!oldName.empty()) removeStartupEntry(oldName, "tavrin.exe", "", 1, nullptr);
  registerMonitor(true);
}

StartupState firstRunInitialisation(Program program, Options& options, EntryList& list) {
  trace::switchOff();
  setLanguageFromStrings();
  if (readOption("Debug", 0) != 0) trace::switchOn();
  createStoreOnFirstRun(list);
  // Each program names itself: the Explorer's own begin line would come before tracing is on.
  trace::line(program == Program::Monitor ? "-------------------------------------Begin Tavrin"
                                          : "-------------------------------------Begin TavrinEx",
              versionText());
  initialiseDetectionDates(list);
  initialiseApprovedServices(list);
  initialiseApprovedTasks(list);
  initialiseApprovedHidden(list);
  std::string watched;
  if (reg::readString(HKEY_LOCAL_MACHINE, std::string(kSystemKey) + "\\Sysfiles", "", watched) == 0)
    setUpWatchedSystemFiles();
  upgradeStoredVersion(options, list);
  setUpFileTypeBaseline();
  options.load(program, isWindowsNtFamily());
  list.setCookieLimit(options.maxCookie);
  list.clear();
  StartupState state;
  state.runRegistered = isMonitorRegistered();
  state.delayedTotal = countDelayedPrograms();
  return state;
}

std::string helpPageName(int pageId) {
  static const struct {
    int id;
    const char* page;
  } kPages[] = {
      {6026, "startup.html"}, {6028, "cookies.html"}, {6029, "tasks.html"},     {6033, "options.html"},
      {6038, "services.html"}, {6039, "scheduler.html"}, {6040, "bho.html"},    {6042, "filetype.html"},
      {6051, "helpme.html"},  {6052, "hidden.html"},  {6055, "delay.html"},
  };
  std::string page = "features.html";
  for (const auto& row : kPages)
    if (row.id == pageId) page = row.page;
  const std::string language = loadString(IDS_LANGUAGE, 8);
  return equalsNoCase(language, "us") ? page : language + "_" + page;
}

std::string helpWebLocation() {
  std::string location;
  if (reg::readString(HKEY_LOCAL_MACHINE, kSystemKey, "HelpLocation", location) > 0) return location;
  return kDefaultHelpLocation;
}

void openHelpPage(int pageId) {
  const std::string page = helpPageName(pageId);
  const std::string local = programFolder() + "\\" + page;
  if (fileExists(local)) {
    ShellExecuteA(nullptr, "open", local.c_str(), nullptr, programFolder().c_str(), SW_SHOWNORMAL);
    return;
  }
  const std::string web = helpWebLocation() + page;
  const bool aolRunning = FindWindowA("AOL Frame25", "America  Online") || FindWindowA("AOL Frame25", "America Online") ||
                          FindWindowA("AOL Frame25", "AOL") || FindWindowA("AOL Frame25", "AOL Canada") ||
                          FindWindowA("AOL Frame", "America  Online");
  if (aolRunning) {
    char appPath[260] = {};
    GetProfileStringA("WAOL", "AppPath", "", appPath, sizeof appPath);
    std::string command = appPath[0] ? std::string(appPath) + "\\WAOL.EXE -u\"" : std::string("waol.exe -u\"");
    command += web;
    WinExec(command.c_str(), SW_SHOWNORMAL);
    return;
  }
  ShellExecuteA(nullptr, "open", web.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tavrin
