#include "dialogs.h"

#include "base/alert_rules.h"
#include "base/commands.h"
#include "base/entry_tables.h"
#include "base/history_text.h"
#include "base/page_rules.h"
#include "base/text.h"
#include "inventory/help_pages.h"
#include "inventory/history.h"
#include "inventory/online_info.h"
#include "inventory/options.h"
#include "inventory/string_loader.h"
#include "list_page.h"
#include "placement.h"
#include "reports.h"
#include "resource.h"
#include "sys/list_view.h"
#include "sys/version.h"

namespace tavrin {
namespace {

class MessageDialog : public Dialog {
 public:
  MessageDialog(std::string caption, std::string text) : caption_(std::move(caption)), text_(std::move(text)) {}

 protected:
  BOOL onInit() override {
    SetWindowTextA(window_, caption_.c_str());
    setItemText(IDC_MESSAGE_TEXT, text_);
    centreWindow(window_);
    return TRUE;
  }

 private:
  std::string caption_, text_;
};

class WarningDialog : public Dialog {
 public:
  WarningDialog(ExplorerState& state, std::string name, std::string programPath)
      : state_(state), name_(std::move(name)), programPath_(std::move(programPath)) {}

 protected:
  BOOL onInit() override {
    SetWindowTextA(window_, loadString(IDS_WARNING_CAPTION, 64).c_str());
    SendMessageA(item(IDC_WARNING_PATH), WM_SETFONT, reinterpret_cast<WPARAM>(state_.fonts.bold.get()), FALSE);
    setItemText(IDC_WARNING_PATH, programPath_);
    setItemText(IDC_WARNING_TEXT, loadString(IDS_WARNING_DEFAULT_CONDITION));
    VersionRecord version;
    readVersionRecord(programPath_, version);
    setItemText(IDC_WARNING_FILE, contains(version.legalCopyright, "Microsoft")
                                      ? fillText(loadString(IDS_WARNING_MICROSOFT_FILE), {name_})
                                      : name_);
    setItemText(IDC_WARNING_CONFIRM, loadString(IDS_WARNING_REMOVE_ANYWAY));
    restoreDialogPlacement(state_, window_, "DefaultWarning");
    return TRUE;
  }
  // Yes only for OK with the box checked.
  void onOk() override { finish(SendMessageA(item(IDC_WARNING_CONFIRM), BM_GETCHECK, 0, 0) == BST_CHECKED); }
  void onCancel() override { finish(false); }

 private:
  void finish(bool yes) {
    savePlacement(state_, window_, "DefaultWarning");
    end(yes ? IDYES : IDNO);
  }
  ExplorerState& state_;
  std::string name_, programPath_;
};

}  // namespace

void showMessageDialog(ExplorerState& state, UINT text, const std::string& caption) {
  MessageDialog dialog(caption.empty() ? loadString(IDS_CAPTION, 32) : caption, loadString(text));
  dialog.runModal(state.instance, IDD_MESSAGE, state.window);
}

class PatrolTimeDialog : public Dialog {
 public:
  PatrolTimeDialog(Options& options, UINT caption, const char* patrolOption, const char* realtimeOption)
      : options_(options), caption_(caption), patrolOption_(patrolOption), realtimeOption_(realtimeOption) {}

 protected:
  BOOL onInit() override {
    SetWindowTextA(window_, loadString(caption_, 128).c_str());
    setDialogText(window_, IDS_PATROL_INTRO, IDC_PATROL_INTRO);
    setDialogText(window_, IDS_PATROL_MINUTES, IDC_PATROL_MINUTES_LABEL);
    setDialogText(window_, IDS_PATROL_ZERO_OFF, IDC_PATROL_ZERO_OFF);
    setDialogText(window_, IDS_PATROL_REALTIME, IDC_PATROL_REALTIME);
    setDialogText(window_, IDS_BTN_CLOSE, IDCANCEL);
    SendMessageA(item(IDC_PATROL_EDIT), EM_LIMITTEXT, 2, 0);
    SendMessageA(item(IDC_PATROL_SLIDER), TBM_SETRANGE, FALSE, MAKELPARAM(0, 30));
    SendMessageA(item(IDC_PATROL_SLIDER), TBM_SETTICFREQ, 3, 0);
    realtimeAtOpening_ = realtimeOption_ && readOption(realtimeOption_) > 0;
    if (!realtimeOption_) showItem(IDC_PATROL_REALTIME, false);
    applyState();
    centreWindow(window_);
    return TRUE;
  }
  bool onCommand(int id, int code, HWND) override {
    switch (id) {
      case IDC_PATROL_EDIT:
        if (code == EN_CHANGE && !settingText_)
          SendMessageA(item(IDC_PATROL_SLIDER), TBM_SETPOS, TRUE, leadingNumber(itemText(IDC_PATROL_EDIT)));
        return true;
      case IDC_PATROL_REALTIME:
        if (realtimeOption_)
          options_.set(realtimeOption_, IsDlgButtonChecked(window_, IDC_PATROL_REALTIME) == BST_CHECKED ? 1 : 0);
        applyState();
        return true;
      default:
        return false;
    }
  }
  void onOk() override {
    if (realtimeOption_)
      options_.set(realtimeOption_, IsDlgButtonChecked(window_, IDC_PATROL_REALTIME) == BST_CHECKED ? 1 : 0);
    // A typed "-5" would read as Cancel to the caller: no time is below 0.
    const long minutes = leadingNumber(itemText(IDC_PATROL_EDIT));
    end(static_cast<INT_PTR>(minutes < 0 ? 0 : minutes));
  }
  void onCancel() override {
    if (realtimeOption_) options_.set(realtimeOption_, realtimeAtOpening_ ? 1 : 0);
    end(-1);
  }
  bool onMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) override {
    if (message != WM_HSCROLL || reinterpret_cast<HWND>(lParam) != item(IDC_PATROL_SLIDER)) return false;
    const int position = static_cast<int>(SendMessageA(item(IDC_PATROL_SLIDER), TBM_GETPOS, 0, 0));
    setMinutes(position);
    enableItem(IDC_PATROL_EDIT, position > 0);
    result = 0;
    return true;
  }

 private:
  void setMinutes(int minutes) {
    settingText_ = true;
    setItemText(IDC_PATROL_EDIT, std::to_string(minutes));
    settingText_ = false;
  }
  // The patrol time, or 0 and nothing editable while real-time watching is on.
  void applyState() {
    const bool realtime = realtimeOption_ && readOption(realtimeOption_) > 0;
    const int minutes = realtime ? 0 : readOption(patrolOption_);
    CheckDlgButton(window_, IDC_PATROL_REALTIME, realtime ? BST_CHECKED : BST_UNCHECKED);
    enableItem(IDC_PATROL_SLIDER, !realtime);
    enableItem(IDC_PATROL_EDIT, !realtime);
    setMinutes(minutes);
    SendMessageA(item(IDC_PATROL_SLIDER), TBM_SETPOS, TRUE, minutes);
  }
  Options& options_;
  UINT caption_;
  const char* patrolOption_;
  const char* realtimeOption_;
  bool realtimeAtOpening_ = false;
  bool settingText_ = false;
};

int showProtectiveWarning(ExplorerState& state, HWND owner, const std::string& name, const std::string& programPath) {
  WarningDialog dialog(state, name, programPath);
  const INT_PTR answer = dialog.runModal(state.instance, IDD_WARNING, owner);
  return answer == IDYES ? IDYES : IDNO;
}

int runPatrolTimeDialog(ExplorerState& state, HWND owner, UINT caption, const char* patrolOption,
                        const char* realtimeOption) {
  PatrolTimeDialog dialog(state.options, caption, patrolOption, realtimeOption);
  return static_cast<int>(dialog.runModal(state.instance, IDD_PATROL_TIME, owner));
}

ConfirmKeyLocationRemoval protectiveWarning(ExplorerState& state, HWND owner) {
  return [&state, owner](const std::string& name, const std::string& programPath, int) {
    return showProtectiveWarning(state, owner, name, programPath) == IDYES;
  };
}

HistoryDialog::HistoryDialog(ExplorerState& state)
    : state_(state), rows_(loadString(IDS_CAPTION, 32), state.options.maxCookie) {}

BOOL HistoryDialog::onInit() {
  SetWindowTextA(window_, loadString(IDS_HISTORY_CAPTION, 64).c_str());
  setDialogText(window_, IDS_HISTORY_INTRO, IDC_HISTORY_INTRO);
  setDialogText(window_, IDS_BTN_RESTORE, IDC_HISTORY_RESTORE);
  setDialogText(window_, IDS_BTN_CLEAR_FILE, IDC_HISTORY_CLEAR);
  setDialogText(window_, IDS_BTN_CLOSE, IDOK);
  enableItem(IDC_HISTORY_RESTORE, false);
  ListView view = this->view();
  RECT r;
  GetClientRect(view.handle(), &r);
  const UINT titles[] = {IDS_COL_TITLE, IDS_COL_ACTION, IDS_COL_COMMAND, IDS_COL_DATE_MODIFIED};
  for (int c = 0; c < 4; ++c)
    view.insertColumn(c, loadString(titles[c], 64), columnWidth(CMD_HISTORY, c, r.right, GetSystemMetrics(SM_CXVSCROLL)));
  view.setFullRowSelect();
  centreWindow(window_);
  reload();
  return TRUE;
}

void HistoryDialog::reload() {
  WaitCursor wait;
  ListView view = this->view();
  readHistory(rows_);
  if (!icons_.handle()) icons_.reset(state_.instance);
  view.setSmallImages(icons_.handle());
  view.beginFill(rows_.count());
  for (int entry = 0; entry < rows_.count(); ++entry) {
    // Icons only for the rows shown, as on the pages: a long log names hundreds of programs.
    const int row = view.appendRow(entry, rows_.name(entry), ListView::kImageLater);
    if (row < 0) continue;
    view.setCell(row, 1, historyActionName(rows_.flag(entry)));
    view.setCell(row, 2, typeName(rows_.typeCode(entry)));
    view.setCell(row, 3, rows_.detail(entry));
  }
  view.endFill();
  if (rows_.count() > 0) view.ensureVisible(rows_.count() - 1);
  updateRestoreButton();
}

int HistoryDialog::selectedEntry() const { return view().selectedEntry(); }

void HistoryDialog::updateRestoreButton() {
  const int entry = selectedEntry();
  enableItem(IDC_HISTORY_RESTORE, entry >= 0 && isRestorableAction(rows_.flag(entry)));
}

void HistoryDialog::restoreSelected(bool restorableOnly) {
  const int entry = selectedEntry();
  if (entry < 0) return;
  if (restorableOnly && !isRestorableAction(rows_.flag(entry))) return;
  restoreHistoryRow(rows_, entry);
  reload();
}

bool HistoryDialog::onNotify(NMHDR* header, LRESULT& result) {
  if (header->idFrom != IDC_LIST) return false;
  switch (header->code) {
    case LVN_ITEMCHANGED:
      if (ListView::changedState(header)) updateRestoreButton();
      return false;
    case NM_CLICK:
      updateRestoreButton();
      return false;
    case NM_DBLCLK:
      restoreSelected(false);
      result = 0;
      return true;
    case LVN_GETDISPINFOA:
    case LVN_GETDISPINFOW: {
      // Only images are asked for, and both item records hold them at the same place.
      LVITEMA& shown = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
      const int entry = view().entryOfRow(shown.iItem);
      if ((shown.mask & LVIF_IMAGE) && entry >= 0 && entry < rows_.count()) {
        shown.iImage = icons_.imageOf(rows_.programPath(entry), 0);
        shown.mask |= LVIF_DI_SETITEM;
      }
      return true;
    }
    case LVN_COLUMNCLICK:
      // The log keeps its file order; only the remembered column changes.
      state_.options.set("SortHistory", reinterpret_cast<NMLISTVIEW*>(header)->iSubItem + 1);
      return true;
    default:
      return false;
  }
}

bool HistoryDialog::onCommand(int id, int, HWND) {
  switch (id) {
    case IDC_HISTORY_RESTORE:
      restoreSelected(true);
      return true;
    case IDC_HISTORY_CLEAR:
      clearHistoryFile();
      reload();
      return true;
    case IDM_ONLINE_INFO: {
      const int entry = selectedEntry();
      if (entry >= 0) openOnlineInformation(rows_.typeCode(entry), rows_.programPath(entry), rows_.name(entry));
      return true;
    }
    case IDC_HELP_ICON:
      openHelpPage(CMD_HISTORY);
      return true;
    case IDM_REPORT:
      reportCommand(state_, window_);
      return true;
    default:
      return false;
  }
}

bool HistoryDialog::onContextMenu(HWND from, POINT at) {
  if (from != item(IDC_LIST) || selectedEntry() < 0) return from == item(IDC_LIST);
  UniqueMenu menu(CreatePopupMenu());
  auto add = [&](UINT text, int command) { AppendMenuA(menu.get(), MF_STRING, command, loadString(text, 128).c_str()); };
  add(IDS_BTN_RESTORE, IDC_HISTORY_RESTORE);
  add(IDS_BTN_CLEAR_FILE, IDC_HISTORY_CLEAR);
  add(IDS_BTN_CLOSE, IDOK);
  AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
  add(IDS_BTN_ONLINE_INFO, IDM_ONLINE_INFO);
  add(IDS_BTN_LOG, IDM_REPORT);
  add(IDS_HELP_CAPTION, IDC_HELP_ICON);
  if (at.x == -1 && at.y == -1) GetCursorPos(&at);
  TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
  PostMessageA(window_, WM_NULL, 0, 0);
  return true;
}

void HistoryDialog::onDestroy() {
  view().setSmallImages(nullptr);
}

}  // namespace tavrin
