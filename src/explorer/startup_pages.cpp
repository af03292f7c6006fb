#include "startup_pages.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "base/alert_rules.h"
#include "base/command_text.h"
#include "base/commands.h"
#include "base/entry_tables.h"
#include "base/page_rules.h"
#include "base/startup_text.h"
#include "base/text.h"
#include "dialogs.h"
#include "inventory/delayed_start.h"
#include "inventory/detection_store.h"
#include "inventory/history.h"
#include "inventory/options.h"
#include "inventory/processes.h"
#include "inventory/program_file.h"
#include "inventory/startup_actions.h"
#include "inventory/startup_enum.h"
#include "inventory/string_loader.h"
#include "placement.h"
#include "resource.h"
#include "sheet.h"
#include "startup_dialogs.h"
#include "sys/message.h"
#include "sys/registry.h"
#include "sys/version.h"

namespace tavrin {
namespace {

// Pages that act on every selected row; a double click asks for online information.
class StartupListPage : public ListPage {
 public:
  using ListPage::ListPage;

 protected:
  int ask(UINT text, UINT flags) const {
    return messageBox(window_, loadString(text), loadString(IDS_CAPTION, 32), flags | MB_TOPMOST, languageId());
  }
  void onRowDoubleClick() override { onCommand(IDM_ONLINE_INFO, 0, nullptr); }
};

class StartupPage : public StartupListPage {
 public:
  using StartupListPage::StartupListPage;

 protected:
  BOOL onInit() override {
    const BOOL result = ListPage::onInit();
    setDialogText(window_, IDS_BTN_ENABLE, IDC_ENABLE);
    setDialogText(window_, IDS_BTN_DISABLE, IDC_DISABLE);
    setDialogText(window_, IDS_BTN_ADD, IDC_ADD);
    showItem(IDC_DISABLE, false);
    return result;
  }
  void onSetActive() override {
    CheckDlgButton(window_, IDC_SHOW_ALL, readOption("ShowAllStartup") > 0 ? BST_CHECKED : BST_UNCHECKED);
    StartupListPage::onSetActive();
  }
  void fillEntries() override { enumerateStartup(state_.entries, true, readOption("ShowAllStartup")); }
  void setRowColumns(int row, int entry) override {
    const EntryList& list = state_.entries;
    const std::string command = (list.flag(entry) == 1 ? "RunDLL32.exe " : "") + fileNamePart(list.programPath(entry));
    setCell(row, 1, command);
    setCellLater(row, 2);
    setCell(row, 3, disabledState(entry) ? loadString(IDS_DISABLED_MARK, 64) : locationName(list.typeCode(entry)));
    setCell(row, 4, detectionDate(entry, true));
  }
  std::string sortKey(int entry, int column) const override {
    const EntryList& list = state_.entries;
    switch (column) {
      case 1: return fileNamePart(list.programPath(entry));
      case 3: return std::to_string(list.typeCode(entry));
      default: return ListPage::sortKey(entry, column);
    }
  }
  bool comparesPrefixOnly() const override { return true; }
  bool keepsDisabledBelow() const override { return true; }

  void selectionShown() override {
    const int entry = selectedEntry();
    if (entry < 0) {
      showItem(IDC_ENABLE, false);
      showItem(IDC_DISABLE, false);
      return;
    }
    const int type = state_.entries.typeCode(entry);
    const bool disabled = state_.entries.disabledState(entry) != 0;
    enableItem(IDC_REMOVE, type != typecode::kWinlogonNotify);
    setDialogText(window_, type == typecode::kWinlogonUserinit || type == typecode::kWinlogonShell ? IDS_BTN_RESET
                                                                                                  : IDS_BTN_REMOVE,
                  IDC_REMOVE);
    showItem(IDC_ENABLE, disabled);
    showItem(IDC_DISABLE, !disabled);
    // Userinit, Shell and the shell extensions have no disabled state of their own.
    const bool toggles = type < typecode::kWinlogonUserinit || type == typecode::kWinlogonNotify;
    enableItem(IDC_ENABLE, disabled && toggles);
    enableItem(IDC_DISABLE, !disabled && toggles);
    sheet_.setStatusText(loadString(IDS_STARTUP_LOCATION, 64) + startupLocationDescription(type, disabled));
  }

  bool onCommand(int id, int code, HWND control) override {
    switch (id) {
      case IDC_DISABLE:
        toggleSelected(false);
        return true;
      case IDC_ENABLE:
        toggleSelected(true);
        return true;
      case IDC_REMOVE:
        removeSelected();
        return true;
      case IDC_ADD:
        addProgram();
        return true;
      case IDM_MOVE_TO_DELAYED:
        moveSelected();
        return true;
      case IDC_MONITOR_ICON: {
        // The real-time choice of this page is not shown on its icon.
        const int minutes = runPatrolTimeDialog(state_, window_, IDS_PATROL_STARTUP, "Start", "RealtimeStartup");
        if (minutes >= 0) state_.options.set("Start", minutes);
        updateMonitorIcon();
        return true;
      }
      case IDC_SHOW_ALL:
        if (code == BN_CLICKED) {
          state_.options.set("ShowAllStartup", IsDlgButtonChecked(window_, IDC_SHOW_ALL) == BST_CHECKED ? 1 : 0);
          refill();
        }
        return true;
      default:
        return ListPage::onCommand(id, code, control);
    }
  }

 private:
  void toggleSelected(bool enable) {
    const std::vector<int> entries = selectedEntries();
    if (entries.empty()) {
      showNoSelection();
      return;
    }
    const EntryList& list = state_.entries;
    for (int entry : entries) {
      const std::string name = list.name(entry), path = list.programPath(entry), key = list.key(entry);
      const int type = list.typeCode(entry);
      if (type >= typecode::kWinlogonUserinit && type != typecode::kWinlogonNotify) continue;
      if (!enable) stopProgram(path, name, entries.size() == 1, loadString(IDS_CAPTION, 32));
      if (hasDisabledMarker(name) != enable) continue;
      if (toggleStartupEntry(list.entry(entry)))
        writeHistory(name, path, key, type, enable ? action::kStartEnable : action::kStartDisable);
    }
    refill();
  }

  void removeSelected() {
    const std::vector<int> entries = selectedEntries();
    if (entries.empty()) {
      showNoSelection();
      return;
    }
    const EntryList& list = state_.entries;
    const bool one = entries.size() == 1;
    for (int entry : entries) {
      const std::string name = list.name(entry), path = list.programPath(entry), key = list.key(entry);
      const int type = list.typeCode(entry);
      if (type == typecode::kWinlogonNotify) continue;  // its Remove is greyed
      if (type >= typecode::kWinlogonUserinit) {
        removeStartupEntry(list.entry(entry), protectiveWarning(state_, window_));
        continue;
      }
      stopProgram(path, name, one, loadString(IDS_CAPTION, 32));
      if (one && messageBox(window_, fillText(loadString(IDS_CONFIRM_REMOVE_STARTUP), {path}),
                            loadString(IDS_CAPTION, 32), MB_YESNO | MB_ICONWARNING | MB_TOPMOST, languageId()) != IDYES)
        continue;
      removeStartupEntry(list.entry(entry), protectiveWarning(state_, window_));
    }
    refill();
  }

  void addProgram() {
    const std::string path = chooseProgramFile(window_);
    if (path.empty()) return;
    addStartupProgram(path);
    refill();
  }

  void moveSelected() {
    const std::vector<int> entries = selectedEntries();
    if (entries.empty()) {
      showNoSelection();
      return;
    }
    DelayQuestions questions;
    questions.cannotDelay = [this](const std::string&) { showMessageDialog(state_, IDS_DELAY_NOT_ALLOWED); };
    questions.allowAllUsers = [this](const std::string&) {
      return ask(IDS_DELAY_ALL_USERS_WARNING, MB_OKCANCEL | MB_ICONWARNING) == IDOK;
    };
    const EntryList& list = state_.entries;
    for (int entry : entries)
      if (moveToDelayed(list.name(entry), list.programPath(entry), list.key(entry), list.typeCode(entry),
                        list.flag(entry), questions) < 0)
        break;
    refill();
  }
};

class DelayedPage : public StartupListPage {
 public:
  using StartupListPage::StartupListPage;

 protected:
  BOOL onInit() override {
    const BOOL result = ListPage::onInit();
    setDialogText(window_, IDS_BTN_ADD, IDC_ADD);
    setDialogText(window_, IDS_BTN_DELAY_OPTIONS, IDC_DELAY_OPTIONS);
    // The intro's leading empty line would push its last line under the hint.
    const std::string intro = loadString(IDS_DELAY_INTRO);
    setItemText(IDC_DELAY_INTRO, intro.substr(std::min(intro.find_first_not_of("\r\n"), intro.size())));
    return result;
  }
  void fillEntries() override { enumerateDelayed(state_.entries); }
  void setRowColumns(int row, int entry) override {
    const EntryList& list = state_.entries;
    const std::string program = list.programPath(entry);
    setCell(row, 1, fileNamePart(program));
    setCellLater(row, 2);  // a look through the running processes
    setCell(row, 3, delayTimeText(readDelayedOptions(hiveOf(entry), program).seconds));
  }
  std::string laterCellText(int entry, int column) const override {
    return column == 2 ? statusOf(state_.entries.programPath(entry)) : std::string();
  }
  // The status as running or not, the delay in seconds: the cells' texts sort neither.
  std::string sortKey(int entry, int column) const override {
    const std::string program = state_.entries.programPath(entry);
    switch (column) {
      case 0: return state_.entries.name(entry);
      case 1: return fileNamePart(program);
      case 2: return findProcessOfProgram(program) ? "0" : "1";
      case 3: return format("%04d", readDelayedOptions(hiveOf(entry), program).seconds);
      default: return "";
    }
  }
  bool comparesPrefixOnly() const override { return true; }

  bool onCommand(int id, int code, HWND control) override {
    switch (id) {
      case IDC_ADD:
        addProgram();
        return true;
      case IDC_DELAY_OPTIONS: {
        const int entry = selectedEntry();
        if (entry < 0) {
          showNoSelection();
          return true;
        }
        if (runDelayOptionsDialog(state_.instance, window_, hiveOf(entry), state_.entries.programPath(entry))) refill();
        return true;
      }
      case IDC_REMOVE:
        removeSelected();
        return true;
      case IDM_LAUNCH_PROGRAM:
        forEachSelected([this](int entry) { launchDelayedNow(hiveOf(entry), state_.entries.programPath(entry)); });
        return true;
      case IDM_RESTORE_TO_STARTUP:
        forEachSelected([this](int entry) { restoreDelayed(state_.entries, entry); });
        return true;
      default:
        return ListPage::onCommand(id, code, control);
    }
  }

 private:
  DelayHive hiveOf(int entry) const {
    return state_.entries.flag(entry) == 0 ? DelayHive::AllUsers : DelayHive::CurrentUser;
  }
  static std::string statusOf(const std::string& program) {
    if (findProcessOfProgram(program)) return loadString(IDS_STATE_RUNNING, 64);
    std::string file = program;
    return programFileExists(file) ? "" : loadString(IDS_LOCAL_FILE_NOT_FOUND, 64);
  }
  template <typename Action>
  void forEachSelected(Action act) {
    const std::vector<int> entries = selectedEntries();
    if (entries.empty()) {
      showNoSelection();
      return;
    }
    for (int entry : entries) act(entry);
    refill();
  }
  void removeSelected() {
    const std::vector<int> entries = selectedEntries();
    if (entries.empty()) {
      showNoSelection();
      return;
    }
    for (int entry : entries) {
      const int answer = ask(IDS_DELAY_ASK_REMOVE, MB_YESNOCANCEL | MB_ICONQUESTION);
      if (answer == IDCANCEL) break;
      removeFromDelayed(state_.entries, entry, answer == IDYES);
    }
    refill();
  }
  void addProgram() {
    const std::string path = chooseProgramFile(window_);
    if (path.empty()) return;
    DelayHive hive;
    if (!askStartupType(state_.instance, window_, hive)) return;
    addToDelayed(longPathForm(path), hive);
    refill();
  }
};

}  // namespace

std::string startupLocationDescription(int typeCode, bool disabled) {
  if (typeCode == typecode::kScheduledTask) return loadString(IDS_LOC_TASK_SCHEDULER, 128);
  if (typeCode == typecode::kBrowserHelper) return loadString(IDS_LOC_IE_BHO, 128);
  if (typeCode == typecode::kToolbar) return loadString(IDS_LOC_IE_TOOLBAR, 128);
  if (typeCode > typecode::kWinlogonNotify) return "";
  std::string text = disabled ? " * " + loadString(IDS_DISABLED_MARK, 64) + " * " : "";
  return text + startupLocationText(typeCode);
}

std::string delayTimeText(int seconds) {
  const std::string secondsUnit = loadString(IDS_UNIT_SECONDS, 32);
  if (seconds < 60) return format("%d %s", seconds, secondsUnit.c_str());
  return format("%d %s : %d %s", seconds / 60, loadString(IDS_UNIT_MINUTES, 32).c_str(), seconds % 60,
                secondsUnit.c_str());
}

std::string chooseProgramFile(HWND owner) {
  // Each "%" separates a pair's parts; blanks around a pattern would make it match nothing.
  std::string filter;
  for (const std::string& piece : splitList(loadString(IDS_ADD_PROGRAM_FILTER, 256), '%')) {
    const std::size_t first = piece.find_first_not_of(' '), last = piece.find_last_not_of(' ');
    if (first == std::string::npos) continue;
    filter += piece.substr(first, last - first + 1);
    filter.push_back('\0');
  }
  filter.push_back('\0');
  const std::string title = loadString(IDS_ADD_PROGRAM_TITLE, 128);
  char file[512] = "Path";
  OPENFILENAMEA chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = owner;
  chooser.lpstrFilter = filter.c_str();
  chooser.lpstrFile = file;
  chooser.nMaxFile = sizeof file;
  chooser.lpstrInitialDir = "C:\\Program Files";
  chooser.lpstrTitle = title.c_str();
  chooser.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_LONGNAMES | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&chooser)) return "";
  const std::string chosen = file;
  return chosen.size() <= 4 ? "" : chosen;
}

std::unique_ptr<ListPage> createStartupPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition) {
  return std::make_unique<StartupPage>(state, sheet, definition);
}

std::unique_ptr<ListPage> createDelayedPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition) {
  return std::make_unique<DelayedPage>(state, sheet, definition);
}

}  // namespace tavrin
