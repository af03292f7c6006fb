// The hijack-style log: one tagged line per place where software can take
// over the machine or the browser. Every inserted text passes through
// oneLine(), so no value can end a line early and forge one of its own.
#include <windows.h>

#include "base/command_text.h"
#include "base/cookie_text.h"
#include "base/hijack_text.h"
#include "base/report_text.h"
#include "base/text.h"
#include "inventory/cookies.h"
#include "inventory/delayed_start.h"
#include "inventory/file_types.h"
#include "inventory/hidden_files.h"
#include "inventory/ie_helper_logs.h"
#include "inventory/ie_helpers.h"
#include "inventory/options.h"
#include "inventory/processes.h"
#include "inventory/program_file.h"
#include "inventory/scheduled_tasks.h"
#include "inventory/services.h"
#include "inventory/startup_enum.h"
#include "inventory/string_ids.h"
#include "inventory/string_loader.h"
#include "inventory/version_text.h"
#include "report_sources.h"
#include "reports.h"
#include "resource.h"
#include "sys/clock.h"
#include "sys/files.h"
#include "sys/paths.h"
#include "sys/profile.h"
#include "sys/registry.h"
#include "sys/version.h"

namespace tavrin {
namespace {

constexpr char kEnd[] = "\r\n";
constexpr char kMainKey[] = "Software\\Microsoft\\Internet Explorer\\Main";
constexpr std::size_t kRLimit = 256, kLimit = 512, kLongLimit = 1024;

// A value as one log text: every string of a multi-string value joined by
// " | ", cut to `limit`, characters below 32 as blanks; false when missing
// or empty.
bool logValue(HKEY root, const std::string& key, const std::string& name, std::size_t limit, std::string& out) {
  reg::Value value;
  if (!reg::readValue(root, key, name, value, true)) return false;
  std::string text = value.type == REG_MULTI_SZ ? multiStringText(value.data) : value.data.substr(0, value.data.find('\0'));
  out = oneLine(cut(text, limit));
  return !out.empty();
}

std::string profileText(const std::string& file, const char* section, const char* key) {
  std::string buffer(4096, '\0');
  const DWORD length =
      GetPrivateProfileStringA(section, key, "", buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
  buffer.resize(length);
  return oneLine(buffer);
}

std::string readWhole(const std::string& path, std::size_t limit) {
  std::string text;
  if (!readFileText(path, limit, text)) return "";
  return text;
}

struct LogWriter {
  FileWriter& out;
  EntryList& list;

  void line(const std::string& text) { out << text << kEnd; }
  void blank() { out << kEnd; }

  void header() {
    const CalendarTime now = localNow();
    line("Log created by " + oneLine(loadString(IDS_CAPTION, 32)) + " version " + oneLine(versionText()));
    line("Scan saved at " + reportClockText(now) + ", on " + reportDateText(now));
    line("Platform: " + oneLine(thisOperatingSystemText()));
    msieLine();
    line(bootModeText(GetSystemMetrics(SM_CLEANBOOT)));
    blank();
    line(oneLine(loadString(IDS_LOG_RUNNING_PROCESSES, 128)));
    walkProcesses([&](DWORD, WORD, const std::string& path) {
      if (!path.empty()) line(oneLine(path));
      return true;
    });
    blank();
  }

  void msieLine() {
    const BrowserProgram ie = internetExplorer();
    if (ie.found)
      line("MSIE: " + oneLine(ie.version.fileDescription) + " (" + oneLine(ie.version.productVersion) + ")");
    else
      line("MSIE: Internet Explorer Not found.");
  }

  void browserPages() {
    struct Page {
      const char* code;
      HKEY root;
      const char* hive;
      const char* value;
    };
    static const Page kPages[] = {{"R1", HKEY_CURRENT_USER, "HKCU", "Default_Page_URL"},
                                  {"R0", HKEY_CURRENT_USER, "HKCU", "Start Page"},
                                  {"R1", HKEY_LOCAL_MACHINE, "HKLM", "Default_Page_URL"},
                                  {"R0", HKEY_LOCAL_MACHINE, "HKLM", "Start Page"},
                                  {"R1", HKEY_CURRENT_USER, "HKCU", "Window Title"},
                                  {"R1", HKEY_LOCAL_MACHINE, "HKLM", "Window Title"}};
    for (const Page& page : kPages) {
      std::string value;
      if (logValue(page.root, kMainKey, page.value, kRLimit, value))
        line(std::string(page.code) + " - " + page.hive + "\\Software\\Microsoft\\Internet Explorer\\Main," +
             page.value + " = " + value);
    }
  }

  void iniFiles() {
    const std::string systemIni = windowsFolder() + "\\system.ini";
    const std::string shell = profileText(systemIni, "Boot", "Shell");
    if (!shell.empty() && !equalsNoCase(shell, "Explorer.exe")) line("F0 - system.ini: Shell=" + shell);
    const std::string run = oneLine(cut(profile::readWindowsValue("run"), kLimit));
    if (!run.empty()) line("F1 - win.ini: run=" + run);
    const std::string load = oneLine(cut(profile::readWindowsValue("load"), kLimit));
    if (!load.empty()) line("F1 - win.ini: load=" + load);
    const std::string userInit = profileText(systemIni, "Boot", "UserInit");
    if (!userInit.empty()) line("F2 - REG: system.ini: UserInit=" + userInit);
    const char* windowsKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
    std::string value;
    if (logValue(HKEY_CURRENT_USER, windowsKey, "Load", kLongLimit, value)) line("F3 - HKCU Load=" + value);
    if (logValue(HKEY_CURRENT_USER, windowsKey, "Run", kLimit, value)) line("F3 - HKCU Run=" + value);
  }

  void hosts() {
    const std::string path = systemFolder() + "\\drivers\\etc\\hosts";
    for (const std::string& text : hostsLogLines(readWhole(path, kHostsReadLimit))) line(text);
  }

  template <typename Each>
  void entries(int (*fill)(EntryList&), Each each) {
    fill(list);
    for (int i = 0; i < list.count(); ++i) each(i);
  }
  std::string name(int i) { return oneLine(list.name(i)); }
  std::string path(int i) { return oneLine(list.programPath(i)); }
  std::string key(int i) { return oneLine(list.key(i)); }
  std::string detail(int i) { return oneLine(list.detail(i)); }

  void helpersAndStartup() {
    entries(logHelperObjects, [&](int i) { line("O2 - BHO: " + name(i) + " - " + key(i) + " - " + path(i)); });
    entries(logToolbars, [&](int i) { line("O3 - Toolbar: " + name(i) + " - " + key(i) + " - " + path(i)); });
    enumerateStartup(list, false, 0);
    for (int i = 0; i < list.count(); ++i)
      if (list.typeCode(i) < 100) line(startupLogPrefix(list.typeCode(i)) + name(i) + "]" + path(i));
    for (int i = 0; i < list.count(); ++i)
      if (list.typeCode(i) == 200)
        line(std::string(list.flag(i) ? "O4 - Startup: " : "O4 - Global Startup: ") + oneLine(fileNameOfKey(i)) +
             "=" + path(i));
  }
  std::string fileNameOfKey(int i) {
    return fileNamePart(list.key(i).empty() ? list.name(i) : list.key(i));
  }

  void policies() {
    std::string value;
    if (logValue(HKEY_CURRENT_USER, "Control Panel\\don't load", "inetcpl.cpl", kLimit, value) &&
        contains(value, "no"))
      line("O5 - control.ini: inetcpl.cpl=" + value);
    for (const char* area : {"Restrictions", "Control Panel"}) {
      const std::string k = std::string("Software\\Policies\\Microsoft\\Internet Explorer\\") + area;
      if (reg::valueExists(HKEY_CURRENT_USER, k, "")) line("O6 - HKCU\\" + k + " present");
    }
    const char* system = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
    static const char* const kTools[][2] = {{"DisableRegistryTools", "DisableRegistryTools ="},
                                            {"DisableRegEdit", "DisableRegEdit="},
                                            {"DisableTaskMgr", "DisableTaskMgr ="}};
    for (const auto& tool : kTools) {
      reg::Value v;
      if (!reg::readValue(HKEY_CURRENT_USER, system, tool[0], v, true) || v.data.empty()) continue;
      const int first = static_cast<signed char>(v.data[0]);
      if (first > 0) line(std::string("O7 - HKCU\\") + system + ", " + tool[1] + std::to_string(first));
    }
  }

  void browserHooks() {
    entries(logMenuExtensions, [&](int i) { line("O8 - Extra context menu item: " + name(i) + " - " + path(i)); });
    entries(logExtensions, [&](int i) {
      line(std::string(list.typeCode(i) == 1 ? "O9 - Extra button: " : "O9 - Extra 'Tools' menuitem: ") + name(i) +
           " - " + key(i) + " - " + path(i));
    });
    entries(logAdvancedOptions,
            [&](int i) { line("O11 - Options group: [" + name(i) + "] " + name(i) + " - " + key(i)); });
    entries(logPlugins, [&](int i) { line("O12 - Plugin for " + name(i) + ": " + path(i)); });
    const char* url = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\URL\\";
    std::string value;
    if (logValue(HKEY_LOCAL_MACHINE, std::string(url) + "DefaultPrefix", "", kLimit, value) && value.size() > 7)
      line("O13 - DefaultPrefix: " + value);
    if (logValue(HKEY_LOCAL_MACHINE, std::string(url) + "Prefixes", "www", kLimit, value) && value.size() > 7)
      line("O13 - WWW Prefix: " + value);
    if (logValue(HKEY_LOCAL_MACHINE, std::string(url) + "Prefixes", "www.", kLimit, value) && value.size() > 7)
      line("O13 -  WWW. Prefix: " + value);
    const std::string ieReset = windowsFolder() + "\\inf\\iereset.inf";
    for (const char* k : {"START_PAGE_URL", "SEARCH_PAGE_URL"}) {
      const std::string text = profileText(ieReset, "Strings", k);
      if (!text.empty()) line(std::string("O14 - IERESET.INF: ") + k + " = " + text);
    }
    for (const std::string& text : ieResetLogLines(readWhole(ieReset, kIeResetReadLimit))) line(oneLine(text));
    entries(logTrustedDomains, [&](int i) { line("O15 - Trusted Zone: " + name(i)); });
    entries(logDistributionUnits,
            [&](int i) { line("O16 - DPF: " + detail(i) + " (" + name(i) + ") - " + path(i)); });
  }

  void network() {
    for (const char* value : {"SearchList", "NameServer"})
      for (const ControlSet& set : logControlSets()) {
        std::string text;
        if (logValue(HKEY_LOCAL_MACHINE, std::string(set.path) + "\\Services\\Tcpip\\Parameters", value, kLimit, text))
          line(std::string("O17 - HKLM\\") + set.shortName + ": " + value + " = " + text);
      }
    for (const ControlSet& set : logControlSets()) {
      std::string text;
      if (logValue(HKEY_LOCAL_MACHINE, std::string(set.path) + "\\Services\\VxD\\MSTCP", "Domain", kLongLimit, text))
        line(std::string("O17 - HKLM\\System\\") + set.shortName + "\\Services\\VxD\\MSTCP: Domain = " + text);
    }
    for (const ControlSet& set : logControlSets()) {
      std::string text;
      if (logValue(HKEY_LOCAL_MACHINE, std::string(set.path) + "\\Services\\Tcpip\\Parameters", "Domain", kLimit,
                   text))
        line(std::string("O17 - HKLM\\System\\") + set.shortName + "\\Services\\Tcpip\\Parameters: Domain = " + text);
    }
  }

  void loadedCode() {
    std::string value;
    if (logValue(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Styles", "User Stylesheet", kLimit,
                 value))
      line("O19 -  User style sheet: " + value);
    if (logValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "AppInit_DLLs",
                 kLimit, value)) {
      line("O20 - AppInit_DLLs: " + value);
      blank();
    }
    static const char* const kSystemObjects[] = {
        "{7849596a-48ea-486e-8937-a2a3009f31a9}", "{fbeb8a05-beee-4442-804e-409d6c4515e9}",
        "{E6FB5E20-DE35-11CF-9C87-00AA005127ED}", "{35CEC8A3-2BE6-11D2-8773-92E220524153}"};
    entries(logDelayLoadObjects, [&](int i) {
      for (const char* id : kSystemObjects)
        if (equalsNoCase(list.key(i), id)) return;
      line("O21 - " + detail(i) + " - " + name(i) + " - " + key(i) + " - " + path(i));
    });
    entries(logSharedTaskSchedulers, [&](int i) {
      if (!contains(list.programPath(i), "browseui.dll"))
        line("O22 - SharedTaskScheduler: (" + name(i) + ") - " + key(i) + " - " + path(i));
    });
    enumerateServices(list, readOption("HideMicrosoftServices", 0) != 0);
    for (int i = 0; i < list.count(); ++i) {
      std::string file = programFileOfCommand(list.programPath(i));
      VersionRecord version;
      if (programFileExists(file)) readVersionRecord(file, version);
      line("O23 - Service: " + name(i) + " - " + oneLine(version.companyName) + " - " + path(i));
    }
    const char* components = "Software\\Microsoft\\Internet Explorer\\Desktop\\Components\\";
    for (int n = 0; n <= 8; ++n) {
      const std::string k = components + std::to_string(n);
      std::string friendly, source;
      if (!logValue(HKEY_CURRENT_USER, k, "FriendlyName", kLimit, friendly)) break;
      if (contains(friendly, "Current Home Page")) continue;
      logValue(HKEY_CURRENT_USER, k, "Source", kLongLimit, source);
      line("O24 -  Desktop Component " + std::to_string(n) + ": " + friendly + " - " + source);
    }
  }

  void additional() {
    blank();
    line("---  Additional Tavrin Info  ---");
    const BrowserProgram browser = defaultBrowser();
    if (browser.found)
      line("Default Browser: " + oneLine(browser.version.productName) + " - " +
           oneLine(browser.version.fileDescription) + " version " + oneLine(browser.version.productVersion));
    else
      line("Browser: Unable to find default browser.");
    msieLine();
    for (const OtherBrowser& b : otherBrowsers()) {
      if (b.name != "America Online")
        line(b.name + " " + oneLine(b.version) + " installed in " + oneLine(b.folder) + ".");
      else if (aolRunning())
        line("America Online version " + oneLine(b.version) + " running " + oneLine(b.folder));
    }
    std::string folder;
    if (findIECookieFolder(folder))
      line(std::to_string(listCookies(list, kCookieModeInternetExplorer, CookieRun::List)) +
           " IE Cookies in Folder: " + oneLine(folder));
    if (findMozillaProfileFolder(folder))
      line(std::to_string(listCookies(list, kCookieModeMozilla, CookieRun::List)) +
           " Mozilla Cookies in Folder: " + oneLine(folder));
    blank();
  }

  bool aolRunning() {
    std::string file;
    reg::readString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\AOL.EXE", "", file);
    return !file.empty() && programRunning(file);
  }

  void bootLines() {
    bool any = false;
    auto session = [&](const char* value, const char* label) {
      for (const ControlSet& set : logControlSets()) {
        std::string text;
        if (logValue(HKEY_LOCAL_MACHINE, std::string(set.path) + "\\Control\\Session Manager", value, kLongLimit,
                     text)) {
          line(std::string(label) + set.shortName + ": " + value + " = " + text);
          any = true;
        }
      }
    };
    session("BootExecute", "TV00 - HKLM\\");
    session("PendingFileRenameOperations", "TV01 - HKLM\\");
    std::string comspec;
    if (logValue(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "ComSpec",
                 kLimit, comspec)) {
      line("TV02 - HKLM\\CCS: Command = " + comspec);
      any = true;
    }
    if (any) blank();
  }

  void inventories() {
    entries(enumerateDelayed, [&](int i) { line("TV04 - Delayed Start: [" + name(i) + "]" + path(i)); });
    blank();
    enumerateTasks(list);
    for (int i = 0; i < list.count(); ++i)
      line("TV31 - Scheduled Tasks: [" + name(i) + "]" + path(i) + " " + detail(i));
    blank();
    enumerateHiddenFiles(list);
    for (int i = 0; i < list.count() && i < 41; ++i) line("TV32 - Hidden File: " + path(i));
    blank();
    entries(enumerateFileTypes,
            [&](int i) { line("TV33 - File Type " + detail(i) + ": [" + name(i) + "]" + path(i)); });
    blank();
  }

  void memory() {
    MEMORYSTATUS status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    line("Memory currently in use: " + thousandsText(status.dwMemoryLoad) + "%");
    line("Physical Memory Free: " + thousandsText(status.dwAvailPhys / 1024) + " KB");
    line("Paging File Free: " + thousandsText(status.dwAvailPageFile / 1024) + " KB");
    line("Virtual Memory Free: " + thousandsText(status.dwAvailVirtual / 1024) + " KB");
    blank();
    blank();
    line("--");
    line("End of file");
  }
};

}  // namespace

DWORD writeHijackLog(const std::string& path, EntryList& list) {
  FileWriter out(path);
  if (out.error()) return out.error();
  LogWriter log{out, list};
  log.header();
  log.browserPages();
  log.iniFiles();
  log.hosts();
  log.helpersAndStartup();
  log.policies();
  log.browserHooks();
  log.network();
  log.loadedCode();
  log.additional();
  log.bootLines();
  log.inventories();
  log.memory();
  list.clear();
  return out.close() ? 0 : out.error();
}

}  // namespace tavrin
