#include "cookie_list.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/commands.h"
#include "base/cookie_text.h"
#include "base/entry_tables.h"
#include "base/page_rules.h"
#include "dialogs.h"
#include "image_button.h"
#include "list_page.h"
#include "inventory/cookies.h"
#include "inventory/help_pages.h"
#include "inventory/online_info.h"
#include "inventory/options.h"
#include "inventory/string_loader.h"
#include "placement.h"
#include "resource.h"
#include "sys/dialog.h"
#include "sys/files.h"
#include "sys/handles.h"
#include "sys/list_view.h"
#include "sys/message.h"

namespace tavrin {
namespace {

// A viewed cookie file beyond this is shown only up to it.
constexpr std::size_t kViewedTextLimit = 64 * 1024;
constexpr SIZE kCookieListMinimum{640, 320};

int ask(HWND owner, UINT text) {
  return messageBox(owner, loadString(text), loadString(IDS_CAPTION, 32), MB_YESNO | MB_ICONWARNING | MB_TOPMOST,
                    languageId());
}

// The text of a cookie file with Windows line ends, as an edit control shows them.
std::string viewedText(const std::string& path) {
  std::string text, shown;
  readFileText(path, kViewedTextLimit, text);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) shown += '\r';
    shown += text[i];
  }
  return shown;
}

class TextViewer : public Dialog {
 public:
  explicit TextViewer(std::string text) : text_(std::move(text)) {}

 protected:
  BOOL onInit() override {
    SetWindowTextA(window_, loadString(IDS_COOKIE_VIEWER_CAPTION, 64).c_str());
    setDialogText(window_, IDS_BTN_CLOSE, IDCANCEL);
    setItemText(IDC_VIEWER_TEXT, text_);
    centreWindow(window_);
    return focusDefaultButton();
  }

 private:
  std::string text_;
};

// Dialog 145: every cookie with a tick for those kept. It works on the
// Explorer's entry list, which it fills.
class CookieListDialog : public Dialog {
 public:
  CookieListDialog(ExplorerState& state, int cookieMode) : state_(state), mode_(cookieMode) {}
  INT_PTR run(HWND owner) { return runModal(state_.instance, IDD_COOKIE_LIST, owner); }

 protected:
  BOOL onInit() override {
    SetWindowTextA(window_, loadString(IDS_COOKIE_VIEWER_CAPTION, 64).c_str());
    setDialogText(window_, IDS_COOKIE_LIST_INTRO_1, IDC_COOKIE_INTRO_1);
    setDialogText(window_, IDS_COOKIE_LIST_INTRO_2, IDC_COOKIE_INTRO_2);
    setDialogText(window_, IDS_BTN_VIEW, IDC_COOKIE_LIST_VIEW);
    setDialogText(window_, IDS_BTN_REMOVE_UNCHECKED, IDC_COOKIE_REMOVE_UNCHECKED);
    setDialogText(window_, IDS_BTN_REMOVE_CHECKED, IDC_COOKIE_REMOVE_CHECKED);
    setDialogText(window_, IDS_BTN_CLOSE, IDCANCEL);
    setDialogText(window_, IDS_LABEL_HELP, IDC_HELP_LABEL);
    setDialogText(window_, IDS_LABEL_MONITOR, IDC_MONITOR_LABEL);
    status_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, window_,
                              reinterpret_cast<HMENU>(IDC_COOKIE_STATUS), state_.instance, nullptr);
    const ButtonImages& images = state_.images;
    makeImageButton(item(IDC_HELP_ICON), images.help.get(), images.helpPressed.get(), images.helpHover.get(),
                    IDC_HELP_ICON);
    updateMonitorIcon();
    setItemText(IDC_COOKIE_FOLDER, cookieFolderText(mode_));
    if (mode_ == kCookieModeMozilla) showItem(IDC_COOKIE_LIST_VIEW, false);

    RECT r;
    GetWindowRect(window_, &r);
    if (r.right - r.left < kCookieListMinimum.cx || r.bottom - r.top < kCookieListMinimum.cy)
      SetWindowPos(window_, nullptr, 0, 0, std::max<LONG>(r.right - r.left, kCookieListMinimum.cx),
                   std::max<LONG>(r.bottom - r.top, kCookieListMinimum.cy), SWP_NOMOVE | SWP_NOZORDER);
    restoreDialogSize(window_, "Cookie", kCookieListMinimum);
    restoreDialogPlacement(state_, window_, "Cookie");
    layout();
    insertColumns();
    // Cookies a filter word names are gone before the list shows.
    listCookies(state_.entries, mode_, CookieRun::Filter);
    fill();
    SetFocus(item(IDC_LIST));
    return FALSE;
  }

  void onOk() override { viewSelected(); }
  void onCancel() override {
    savePlacement(state_, window_, "Cookie");
    end(IDCANCEL);
  }
  bool onCommand(int id, int, HWND) override {
    switch (id) {
      case IDC_COOKIE_LIST_VIEW:
        viewSelected();
        return true;
      case IDC_COOKIE_REMOVE_UNCHECKED:
        removeRows(false);
        return true;
      case IDC_COOKIE_REMOVE_CHECKED:
        removeRows(true);
        return true;
      case IDC_HELP_ICON:
        openHelpPage(CMD_COOKIES);
        return true;
      case IDC_MONITOR_ICON:
        setNewCookiePatrol();
        return true;
      case IDM_ONLINE_INFO: {
        const int entry = view().selectedEntry();
        if (entry < 0) return true;
        const EntryList& list = state_.entries;
        openOnlineInformation(list.typeCode(entry), list.programPath(entry), list.name(entry));
        return true;
      }
      default:
        return false;
    }
  }

  bool onNotify(NMHDR* header, LRESULT& result) override {
    if (header->idFrom != IDC_LIST) return false;
    if (header->code == NM_DBLCLK) {
      viewSelected();
      result = 0;
      return true;
    }
    if (header->code == LVN_COLUMNCLICK) {
      sortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return true;
    }
    return false;
  }

  bool onContextMenu(HWND from, POINT at) override {
    if (from != item(IDC_LIST)) return false;
    if (view().selectedRow() < 0) return true;
    UniqueMenu menu(CreatePopupMenu());
    auto add = [&](UINT text, int command) {
      AppendMenuA(menu.get(), MF_STRING, command, loadString(text, 128).c_str());
    };
    if (mode_ != kCookieModeMozilla) add(IDS_BTN_VIEW, IDC_COOKIE_LIST_VIEW);
    add(IDS_BTN_REMOVE_UNCHECKED, IDC_COOKIE_REMOVE_UNCHECKED);
    add(IDS_BTN_REMOVE_CHECKED, IDC_COOKIE_REMOVE_CHECKED);
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    add(IDS_BTN_ONLINE_INFO, IDM_ONLINE_INFO);
    add(IDS_HELP_CAPTION, IDC_HELP_ICON);
    if (at.x == -1 && at.y == -1) GetCursorPos(&at);
    TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
    PostMessageA(window_, WM_NULL, 0, 0);
    return true;
  }

  bool onMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) override {
    if (message == WM_GETMINMAXINFO) {
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{kCookieListMinimum.cx, kCookieListMinimum.cy};
      result = 0;
      return true;
    }
    if (message == WM_SIZE) {
      layout();
      result = 0;
      return true;
    }
    return false;
  }

 private:
  ListView view() const { return ListView(item(IDC_LIST)); }
  bool mozilla() const { return mode_ == kCookieModeMozilla; }
  int columnCount() const { return mozilla() ? 5 : 2; }
  // The layout id of the column widths.
  int layoutId() const { return mozilla() ? CMD_COOKIE_LIST : CMD_COOKIES; }

  void updateMonitorIcon() {
    showMonitorIcon(state_.images, item(IDC_MONITOR_ICON), readOption("Cookies") > 0, false);
  }

  void insertColumns() {
    static const UINT kInternetExplorer[] = {IDS_TAB_COOKIES, IDS_COL_CREATION_DATE};
    static const UINT kMozilla[] = {IDS_COL_DOMAIN_COOKIE, IDS_COL_EXPIRES, IDS_COL_PATH, IDS_COL_VALUE, IDS_COL_SSL};
    ListView view = this->view();
    RECT r;
    GetClientRect(view.handle(), &r);
    for (int c = 0; c < columnCount(); ++c)
      view.insertColumn(c, loadString(mozilla() ? kMozilla[c] : kInternetExplorer[c], 64),
                        columnWidth(layoutId(), c, r.right - r.left, GetSystemMetrics(SM_CXVSCROLL)));
    view.setFullRowSelect();
    view.setCheckBoxes();
    nextDescending_.assign(columnCount(), false);
  }

  void fill() {
    WaitCursor wait;
    ListView view = this->view();
    EntryList& list = state_.entries;
    listCookies(list, mode_, CookieRun::List);
    view.beginFill(list.count());
    for (int entry = 0; entry < list.count(); ++entry) {
      const std::string& name = list.name(entry);
      // An Internet Explorer row needs its file; a Mozilla removal still pending stays hidden.
      if (mozilla() ? isPendingRemoval(name) : list.programPath(entry).find('\\') == std::string::npos) continue;
      const int row = view.appendRow(entry, name, 0);
      if (row < 0) continue;
      view.setChecked(row, isCookieKept(name));
      view.setCell(row, 1, list.detail(entry));
      if (!mozilla()) continue;
      view.setCell(row, 2, list.programPath(entry));
      view.setCell(row, 3, list.key(entry));
      view.setCell(row, 4, loadString(list.flag(entry) ? IDS_TRUE : IDS_FALSE, 32));
    }
    const int stored = readOption("SortCookie");
    if (stored > 0 && stored <= columnCount()) sortRows(stored - 1, stored - 1 == sortedColumn_ && sortedDescending_);
    view.endFill();
  }

  std::string sortKey(int entry, int column) const {
    const EntryList& list = state_.entries;
    switch (column) {
      case 0: return list.name(entry);
      case 1: return list.detail(entry);
      case 2: return list.programPath(entry);
      case 3: return list.key(entry);
      case 4: return std::to_string(list.flag(entry));  // the flag is 0 or 1: text orders it as a number
      default: return "";
    }
  }

  void sortRows(int column, bool descending) {
    std::vector<std::string> keys;
    for (int entry = 0; entry < state_.entries.count(); ++entry) keys.push_back(sortKey(entry, column));
    static const std::string none;
    const auto keyOf = [&](int entry) -> const std::string& {
      return entry >= 0 && entry < static_cast<int>(keys.size()) ? keys[entry] : none;
    };
    view().sortByEntry([&](int a, int b) { return compareSortKeys(keyOf(a), keyOf(b), descending, false); });
    sortedColumn_ = column;
    sortedDescending_ = descending;
  }

  void sortByColumn(int column) {
    if (column < 0 || column >= columnCount()) return;
    const bool descending = nextDescending_[column];
    sortRows(column, descending);
    nextDescending_[column] = !descending;
    state_.options.set("SortCookie", column + 1);
  }

  void viewSelected() {
    const int entry = view().selectedEntry();
    if (entry < 0) {
      showNoSelectionMessage(window_, true);
      return;
    }
    const std::string path = state_.entries.programPath(entry);
    FileFacts facts;
    if (mozilla() || !readFileFacts(path, facts)) return;
    TextViewer viewer(viewedText(path));
    viewer.runModal(state_.instance, IDD_TEXT_VIEWER, window_);
  }

  // Remove Checked removes the ticked rows; Remove Unchecked removes the
  // others and remembers the ticked ones as kept.
  void removeRows(bool ticked) {
    if (ask(window_, ticked ? IDS_CONFIRM_REMOVE_CHECKED : IDS_CONFIRM_REMOVE_UNCHECKED) != IDYES) return;
    ListView view = this->view();
    std::vector<std::string> removed, kept;
    for (int row = 0; row < view.rowCount(); ++row) {
      const int entry = view.entryOfRow(row);
      if (entry < 0 || entry >= state_.entries.count()) continue;
      if (view.isChecked(row) == ticked)
        removed.push_back(state_.entries.name(entry));
      else if (!ticked)
        kept.push_back(state_.entries.name(entry));
    }
    removeCookies(removed, kept, mode_, state_.entries);
    fill();
  }

  void setNewCookiePatrol() {
    tell(window_, IDS_COOKIE_PATROL_ADVICE);
    const int minutes = runPatrolTimeDialog(state_, window_, IDS_PATROL_COOKIES, "Cookies", nullptr);
    if (minutes >= 0) state_.options.set("Cookies", minutes);
    updateMonitorIcon();
  }

  // Controls keep their size; the list takes what the window gains.
  void layout() {
    if (!status_) return;
    SendMessageA(status_, WM_SIZE, 0, 0);
    RECT client, bar;
    GetClientRect(window_, &client);
    GetWindowRect(status_, &bar);
    RECT units{7, 52, 4, 14};  // margin, list top, gap, button height
    MapDialogRect(window_, &units);
    const int width = client.right, margin = units.left, gap = units.right, buttonHeight = units.bottom;
    const int buttonY = client.bottom - (bar.bottom - bar.top) - gap - buttonHeight;
    auto placeOf = [&](int id) {
      RECT r{};
      GetWindowRect(item(id), &r);
      MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
      return r;
    };
    auto move = [&](int id, int x, int y, int cx, int cy) {
      SetWindowPos(item(id), nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    // Left to right from the margin; a hidden View leaves no gap.
    int x = margin;
    for (int id : {IDC_COOKIE_LIST_VIEW, IDC_COOKIE_REMOVE_UNCHECKED, IDC_COOKIE_REMOVE_CHECKED}) {
      if (id == IDC_COOKIE_LIST_VIEW && mozilla()) continue;
      const RECT r = placeOf(id);
      move(id, x, buttonY, r.right - r.left, buttonHeight);
      x += r.right - r.left + gap;
    }
    const RECT close = placeOf(IDCANCEL);
    move(IDCANCEL, width - margin - (close.right - close.left), buttonY, close.right - close.left, buttonHeight);
    const RECT folder = placeOf(IDC_COOKIE_FOLDER);
    move(IDC_COOKIE_FOLDER, margin, folder.top, width - 2 * margin, folder.bottom - folder.top);
    move(IDC_LIST, margin, units.top, width - 2 * margin, buttonY - gap - units.top);
    // The two icons at the right edge, each with its label centred below it.
    int right = width - margin;
    for (auto pair : {std::pair<int, int>{IDC_MONITOR_ICON, IDC_MONITOR_LABEL}, {IDC_HELP_ICON, IDC_HELP_LABEL}}) {
      const RECT icon = placeOf(pair.first), label = placeOf(pair.second);
      const int labelWidth = label.right - label.left, iconWidth = icon.right - icon.left;
      const int middle = right - labelWidth / 2;
      move(pair.first, middle - iconWidth / 2, icon.top, iconWidth, icon.bottom - icon.top);
      move(pair.second, middle - labelWidth / 2, label.top, labelWidth, label.bottom - label.top);
      right -= labelWidth + gap;
    }
    InvalidateRect(window_, nullptr, TRUE);
  }

  ExplorerState& state_;
  const int mode_;
  HWND status_ = nullptr;
  std::vector<bool> nextDescending_;
  int sortedColumn_ = -1;
  bool sortedDescending_ = false;
};

// The Cookies tab: filter words, the browser whose cookies are handled and their folder.

}  // namespace

void tell(HWND owner, UINT text) {
  messageBox(owner, loadString(text), loadString(IDS_CAPTION, 32), MB_OK | MB_ICONINFORMATION | MB_TOPMOST,
             languageId());
}

void runCookieList(ExplorerState& state, HWND owner, int cookieMode) {
  CookieListDialog dialog(state, cookieMode);
  dialog.run(owner);
}

}  // namespace tavrin
