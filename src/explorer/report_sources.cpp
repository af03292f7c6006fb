#include "report_sources.h"

#include <windows.h>

#include "base/hijack_text.h"
#include "base/text.h"
#include "inventory/cookies.h"
#include "inventory/string_ids.h"
#include "inventory/string_loader.h"
#include "inventory/version_text.h"
#include "sys/clock.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/version.h"

namespace tavrin {
namespace {

constexpr char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr char kMainKey[] = "Software\\Microsoft\\Internet Explorer\\Main";
constexpr char kWinlogonPath[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr std::size_t kPageValueLimit = 16384;

BrowserProgram programAt(const std::string& path) {
  BrowserProgram program;
  program.path = path;
  program.found = !path.empty() && fileExists(path);
  if (program.found) readVersionRecord(path, program.version);
  return program;
}

}  // namespace

std::string thisOperatingSystemText() {
  OsFacts os;
  OSVERSIONINFOEXA info{};
  info.dwOSVersionInfoSize = sizeof info;
  os.extended = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
  if (!os.extended) {
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return "";
    reg::readString(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", "ProductType",
                    os.productTypeValue, 257);
  }
  os.platformId = static_cast<int>(info.dwPlatformId);
  os.major = static_cast<int>(info.dwMajorVersion);
  os.minor = static_cast<int>(info.dwMinorVersion);
  os.build = static_cast<int>(info.dwBuildNumber);
  os.servicePack = info.szCSDVersion;
  if (os.extended) {
    os.servicePackMajor = info.wServicePackMajor;
    os.productType = info.wProductType;
    os.suiteMask = info.wSuiteMask;
  }
  os.tabletPc = GetSystemMetrics(86) != 0;  // SM_TABLETPC
  os.hotfixQ246009 =
      reg::keyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Hotfix\\Q246009");
  return operatingSystemText(os);
}

BrowserProgram defaultBrowser() {
  std::string command;
  reg::readString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\HTTP\\shell\\open\\command", "", command);
  std::string path;
  for (char c : command)
    if (c != '"') path += c;
  const std::size_t option = path.find('-');
  if (option != std::string::npos) path.erase(option);
  while (!path.empty() && path.back() == ' ') path.pop_back();
  return programAt(path);
}

BrowserProgram internetExplorer() {
  std::string folder;
  reg::readString(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "\\IEXPLORE.EXE", "Path", folder);
  if (!folder.empty() && folder.back() == ';') folder.pop_back();
  if (folder.empty()) return {};
  return programAt(folder + "\\IExplore.exe");
}

std::vector<OtherBrowser> otherBrowsers() {
  static const char* const kPrograms[][2] = {
      {"AOL.EXE", "America Online"}, {"firefox.exe", "Firefox"}, {"Mozilla.exe", "Mozilla"}, {"Netscp.exe", "Netscape"}};
  std::vector<OtherBrowser> out;
  for (const auto& program : kPrograms) {
    const std::string key = std::string(kAppPaths) + "\\" + program[0];
    std::string file, folder;
    reg::readString(HKEY_LOCAL_MACHINE, key, "", file);
    if (file.empty() || !fileExists(file)) continue;
    reg::readString(HKEY_LOCAL_MACHINE, key, "Path", folder);
    VersionRecord version;
    readVersionRecord(file, version);
    out.push_back({program[1], version.productVersion, folder});
  }
  return out;
}

ReportHeaderFacts gatherHeaderFacts() {
  ReportHeaderFacts f;
  f.caption = loadString(IDS_CAPTION, 32);
  f.build = versionText();
  f.now = localNow();
  f.platform = thisOperatingSystemText();
  const BrowserProgram browser = defaultBrowser();
  f.browserFound = browser.found;
  f.browserProduct = browser.version.productName;
  f.browserDescription = browser.version.fileDescription;
  f.browserVersion = browser.version.productVersion;
  MEMORYSTATUS memory{};
  memory.dwLength = sizeof memory;
  GlobalMemoryStatus(&memory);
  f.memoryLoad = memory.dwMemoryLoad;
  const BrowserProgram ie = internetExplorer();
  f.ieFound = ie.found;
  f.ieDescription = ie.version.fileDescription;
  f.ieVersion = ie.version.productVersion;
  if (ie.found) findIECookieFolder(f.ieCookieFolder);
  for (const OtherBrowser& b : otherBrowsers())
    f.otherBrowsers.push_back(b.name == "America Online" ? "America Online version " + b.version
                                                          : b.name + " " + b.version + " installed in " + b.folder);
  struct Page {
    const char* label;
    HKEY root;
    const char* value;
  };
  static const Page kPages[] = {{"HKCU Window Title", HKEY_CURRENT_USER, "Window Title"},
                                {"HKCU Default_Page_URL", HKEY_CURRENT_USER, "Default_Page_URL"},
                                {"HKLM Default_Page_URL", HKEY_LOCAL_MACHINE, "Default_Page_URL"},
                                {"HKCU Start Page", HKEY_CURRENT_USER, "Start Page"},
                                {"HKLM Start Page", HKEY_LOCAL_MACHINE, "Start Page"}};
  for (const Page& page : kPages) {
    std::string value;
    if (reg::readString(page.root, kMainKey, page.value, value, kPageValueLimit + 1) > 0)
      f.browserPages.emplace_back(page.label, value);
  }
  for (const char* name : {"DefaultUserName", "DefaultDomainName", "Shell", "UserInit"}) {
    std::string value;
    if (reg::readString(HKEY_LOCAL_MACHINE, kWinlogonPath, name, value) > 0)
      f.winlogon.emplace_back(std::string("WinLogon ") + name, value);
  }
  return f;
}

}  // namespace tavrin
