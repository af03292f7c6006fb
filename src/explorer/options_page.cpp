#include "options_page.h"

#include <string>
#include <vector>

#include "dialogs.h"
#include "explorer_window.h"
#include "image_button.h"
#include "inventory/first_run.h"
#include "inventory/monitor_registration.h"
#include "inventory/string_loader.h"
#include "inventory/system_files.h"
#include "base/commands.h"
#include "reports.h"
#include "resource.h"

namespace tavrin {
namespace {

// Written after every control command, each marking Update, so a running
// Monitor reloads them all at its next options reload.
const std::vector<std::string> kBulkOptions = {
    "HideBramble", "Format", "ConfirmExit", "Sound", "History", "HideMicrosoftServices", "LockFileTypes",
    "ShowAllStartup", "NoMicrosoftStartup", "Start", "Cookies", "Nuts", "Tasks", "IEHelpers", "FileType",
    "StartPage", "HostFile", "WinInit", "Services", "Hidden", "ViewCookies", "RealtimeStartup",
    "RealtimeIEHelper", "RealtimeSysFiles", "RealtimeFileType", "RealtimeStartPage", "RealtimeHidden"};

constexpr int kTrayIconDefault = 101;
constexpr int kTrayIconOriginal = 159;

// One of the page's three patrol icons and what it sets.
struct PatrolIcon {
  int icon;
  UINT caption;
  const char* patrolOption;
  const char* realtimeOption;
};
const PatrolIcon kPatrolIcons[] = {
    {IDC_OPT_RESTART_ICON, IDS_PATROL_WININIT, "WinInit", nullptr},
    {IDC_OPT_IE_PAGES_ICON, IDS_PATROL_IE_PAGES, "StartPage", "RealtimeStartPage"},
    {IDC_OPT_HOSTS_ICON, IDS_PATROL_HOSTS, "HOSTFile", "RealtimeSysFiles"},
};

class OptionsPage : public ListPage {
 public:
  using ListPage::ListPage;

 protected:
  BOOL onInit() override {
    const BOOL result = ListPage::onInit();
    const std::pair<UINT, int> texts[] = {
        {IDS_OPTIONS_GROUP, IDC_OPT_GROUP},           {IDS_OPT_WATCH_RESTART_FILE, IDC_OPT_RESTART_LABEL},
        {IDS_OPT_WATCH_IE_PAGES, IDC_OPT_IE_PAGES_LABEL}, {IDS_OPT_WATCH_HOSTS, IDC_OPT_HOSTS_LABEL},
        {IDS_OPT_RUN_AT_START, IDC_OPT_RUN_AT_START}, {IDS_OPT_SOUNDS, IDC_OPT_SOUNDS},
        {IDS_OPT_HISTORY, IDC_OPT_HISTORY},           {IDS_OPT_LOCK_FILE_TYPES, IDC_OPT_LOCK_FILE_TYPES},
        {IDS_OPT_CONFIRM_EXIT, IDC_OPT_CONFIRM_EXIT}, {IDS_OPT_HIDE_TRAY_ICON, IDC_OPT_HIDE_TRAY},
        {IDS_OPT_ORIGINAL_TRAY_ICON, IDC_OPT_ORIGINAL_TRAY}, {IDS_BTN_LOG, IDC_OPT_LOG},
        {IDS_BTN_VIEW_HISTORY, IDC_OPT_VIEW_HISTORY}, {IDS_BTN_VIEW_HOSTS, IDC_OPT_VIEW_HOSTS},
        {IDS_BTN_EXPORT_SETTINGS, IDC_OPT_EXPORT},    {IDS_BTN_HIJACK_LOG, IDC_OPT_HIJACK_LOG},
        {IDS_BTN_SPREADSHEET, IDC_OPT_SPREADSHEET},   {IDS_BTN_RESTORE_ALL_DELAYED, IDC_OPT_RESTORE_DELAYED},
    };
    for (const auto& text : texts) setDialogText(window_, text.first, text.second);
    // Reloads the options: the Monitor or another page may have changed them since the start.
    firstRunInitialisation(Program::Explorer, state_.options, state_.entries);
    return result;
  }

  void onSetActive() override {
    ListPage::onSetActive();
    showOptions();
  }

  bool onCommand(int id, int code, HWND control) override {
    if (id == IDOK) return true;  // Enter: the page has no list to show information about
    if (!runControl(id, code)) return ListPage::onCommand(id, code, control);
    state_.options.writeBulk(kBulkOptions);
    return true;
  }

 private:
  void check(int id, bool on) { CheckDlgButton(window_, id, on ? BST_CHECKED : BST_UNCHECKED); }
  bool checked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }

  void showOptions() {
    const Options& options = state_.options;
    showPatrolIcons();
    check(IDC_OPT_CONFIRM_EXIT, options.confirmExit > 0);
    check(IDC_OPT_LOCK_FILE_TYPES, options.lockFileTypes > 0);
    check(IDC_OPT_HIDE_TRAY, options.hideBramble > 0);
    check(IDC_OPT_HISTORY, options.history > 0);
    check(IDC_OPT_RUN_AT_START, isMonitorRegistered());
    check(IDC_OPT_SOUNDS, options.sound != 0);
    check(IDC_OPT_ORIGINAL_TRAY, options.trayIcon != kTrayIconDefault);
    // The restart file exists only outside the NT family; the choice of taskbar icon only within it.
    showItem(IDC_OPT_RESTART_ICON, !state_.ntFamily);
    showItem(IDC_OPT_RESTART_LABEL, !state_.ntFamily);
    showItem(IDC_OPT_ORIGINAL_TRAY, state_.ntFamily);
  }

  void showPatrolIcons() {
    for (const PatrolIcon& patrol : kPatrolIcons) {
      const bool realtime = patrol.realtimeOption && readOption(patrol.realtimeOption) > 0;
      showMonitorIcon(state_.images, item(patrol.icon), readOption(patrol.patrolOption) > 0, realtime, patrol.icon);
    }
  }

  // False for a command that is not one of the page's own controls.
  bool runControl(int id, int code) {
    for (const PatrolIcon& patrol : kPatrolIcons)
      if (id == patrol.icon) {
        setPatrolTime(patrol);
        return true;
      }
    switch (id) {
      case IDC_OPT_LOG:
        reportCommand(state_, window_);
        return true;
      case IDC_OPT_SPREADSHEET:
        spreadsheetReportCommand(state_, window_);
        return true;
      case IDC_OPT_HIJACK_LOG:
        hijackLogCommand(state_, window_);
        return true;
      case IDC_OPT_VIEW_HISTORY: {
        HistoryDialog history(state_);
        history.run(window_);
        return true;
      }
      case IDC_OPT_VIEW_HOSTS:
        viewHostsFile(window_);
        return true;
      case IDC_OPT_EXPORT:
        exportSettingsCommand(window_);
        return true;
      case IDC_OPT_RESTORE_DELAYED:
        restoreDelayedPrograms();
        return true;
      default:
        return code == BN_CLICKED && runCheckBox(id);
    }
  }

  bool runCheckBox(int id) {
    const int s = checked(id) ? 1 : 0;
    Options& options = state_.options;
    switch (id) {
      case IDC_OPT_RUN_AT_START:
        registerMonitor(s != 0);
        // The machine-wide Run key may refuse the write: show what is really there.
        check(IDC_OPT_RUN_AT_START, isMonitorRegistered());
        return true;
      case IDC_OPT_SOUNDS:
        options.set("Sound", s);
        return true;
      case IDC_OPT_HISTORY:
        options.set("History", s);
        return true;
      case IDC_OPT_HIDE_TRAY:
        setTrayIconHidden(s);
        return true;
      case IDC_OPT_LOCK_FILE_TYPES:
        options.set("LockFileTypes", s);
        return true;
      case IDC_OPT_CONFIRM_EXIT:
        options.set("ConfirmExit", s);
        return true;
      case IDC_OPT_ORIGINAL_TRAY:
        options.set("TrayIcon", s ? kTrayIconOriginal : kTrayIconDefault);
        return true;
      default:
        return false;
    }
  }

  // Without a running Monitor the option alone takes effect at its next start.
  void setTrayIconHidden(int hide) {
    state_.options.set("HideBramble", hide);
    if (hide) showMessageDialog(state_, IDS_HIDE_TRAY_ICON_NOTE);
    if (HWND monitor = FindWindowA(kMonitorClassName, nullptr))
      PostMessageA(monitor, WM_COMMAND, CMD_TRAY_VISIBILITY, hide);
  }

  void setPatrolTime(const PatrolIcon& patrol) {
    const int minutes =
        runPatrolTimeDialog(state_, window_, patrol.caption, patrol.patrolOption, patrol.realtimeOption);
    if (minutes >= 0) state_.options.set(patrol.patrolOption, minutes);
    showPatrolIcons();
  }
};

}  // namespace

std::unique_ptr<ListPage> createOptionsPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition) {
  return std::make_unique<OptionsPage>(state, sheet, definition);
}

}  // namespace tavrin
