#include "help_pages.h"

#include <windows.h>
#include <shellapi.h>

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
