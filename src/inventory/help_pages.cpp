#include "help_pages.h"

#include <windows.h>
#include <shellapi.h>

#include "base/command_text.h"
#include "base/commands.h"
#include "base/text.h"
#include "options.h"
#include "string_ids.h"
#include "string_loader.h"
#include "sys/paths.h"
#include "sys/registry.h"

namespace tavrin {
namespace {

constexpr char kDefaultHelpLocation[] = "https://quennet.example/tavrin/help/";
constexpr char kInternetExplorerAppPath[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";

struct HelpPage {
  int pageId;
  const char* file;
};
// Any other id gets the features page.
constexpr HelpPage kHelpPages[] = {
    {CMD_STARTUP_PROGRAMS, "startup.html"}, {CMD_COOKIES, "cookies.html"},
    {CMD_ACTIVE_TASKS, "tasks.html"},       {CMD_OPTIONS, "options.html"},
    {CMD_SERVICES, "services.html"},        {CMD_SCHEDULED_TASKS, "scheduler.html"},
    {CMD_IE_HELPERS, "bho.html"},           {CMD_FILE_TYPES, "filetype.html"},
    {CMD_HELP_ME, "helpme.html"},           {CMD_HIDDEN_FILES, "hidden.html"},
    {CMD_DELAYED_START, "delay.html"},
};

}  // namespace

std::string helpPageName(int pageId) {
  std::string page = "features.html";
  for (const HelpPage& row : kHelpPages)
    if (row.pageId == pageId) page = row.file;
  const std::string language = loadString(IDS_LANGUAGE, 8);
  return equalsNoCase(language, "us") ? page : language + "_" + page;
}

std::string helpWebLocation() {
  std::string location;
  if (reg::readString(HKEY_LOCAL_MACHINE, kSystemKey, "HelpLocation", location) > 0) return location;
  return kDefaultHelpLocation;
}

std::string makerWebHost() {
  std::string host = helpWebLocation();
  const std::size_t scheme = host.find("//");
  const std::size_t slash = host.find('/', scheme == std::string::npos ? 0 : scheme + 2);
  if (slash == std::string::npos) return host + "/";
  host.resize(slash + 1);
  return host;
}

bool openWebAddress(const std::string& address) {
  const bool aolRunning = FindWindowA("AOL Frame25", "America  Online") || FindWindowA("AOL Frame25", "America Online") ||
                          FindWindowA("AOL Frame25", "AOL") || FindWindowA("AOL Frame25", "AOL Canada") ||
                          FindWindowA("AOL Frame", "America  Online");
  if (aolRunning) {
    char appPath[260] = {};
    GetProfileStringA("WAOL", "AppPath", "", appPath, sizeof appPath);
    std::string command = appPath[0] ? std::string(appPath) + "\\WAOL.EXE -u\"" : std::string("waol.exe -u\"");
    return WinExec((command + address + "\"").c_str(), SW_SHOWNORMAL) > 31;
  }
  if (reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32)
    return true;
  std::string browser;
  if (readOption("BrowserFailure") == 0 ||
      reg::readString(HKEY_LOCAL_MACHINE, kInternetExplorerAppPath, "", browser) == 0)
    return false;
  return WinExec(("\"" + removeQuotes(browser) + "\" " + address).c_str(), SW_SHOWNORMAL) > 31;
}

void openHelpPage(int pageId) {
  const std::string page = helpPageName(pageId);
  const std::string local = programFolder() + "\\" + page;
  if (fileExists(local)) {
    ShellExecuteA(nullptr, "open", local.c_str(), nullptr, programFolder().c_str(), SW_SHOWNORMAL);
    return;
  }
  openWebAddress(helpWebLocation() + page);
}

}  // namespace tavrin
