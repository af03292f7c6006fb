#include "cookie_pages.h"

#include <commdlg.h>

#include <algorithm>

#include <string>
#include <vector>

#include "base/commands.h"
#include "base/cookie_text.h"
#include "base/entry_tables.h"
#include "base/page_rules.h"
#include "cookie_list.h"
#include "dialogs.h"
#include "image_button.h"
#include "inventory/cookies.h"
#include "inventory/help_pages.h"
#include "inventory/online_info.h"
#include "inventory/options.h"
#include "inventory/string_loader.h"
#include "placement.h"
#include "resource.h"
#include "sys/files.h"
#include "sys/message.h"
#include "sys/registry.h"

namespace tavrin {
namespace {

constexpr UINT_PTR kEnterAddsSubclass = 1;

// Enter in the filter word's edit adds the word: a property sheet has no default button to take it.
LRESULT CALLBACK enterAdds(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_GETDLGCODE && lParam) {
    const MSG* pending = reinterpret_cast<const MSG*>(lParam);
    if (pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN) return DLGC_WANTALLKEYS;
  }
  if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    PostMessageA(GetParent(edit), WM_COMMAND, MAKEWPARAM(IDC_COOKIE_ADD, BN_CLICKED), 0);
    return 0;
  }
  if (message == WM_CHAR && wParam == '\r') return 0;
  if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, enterAdds, kEnterAddsSubclass);
  return DefSubclassProc(edit, message, wParam, lParam);
}

class CookiesPage : public ListPage {
 public:
  using ListPage::ListPage;

 protected:
  BOOL onInit() override {
    const BOOL result = ListPage::onInit();
    setDialogText(window_, IDS_COOKIE_FILTERS_HEADING, IDC_COOKIE_HEADING);
    SendMessageA(item(IDC_COOKIE_HEADING), WM_SETFONT, reinterpret_cast<WPARAM>(state_.fonts.bold.get()), TRUE);
    setDialogText(window_, IDS_BTN_ADD, IDC_COOKIE_ADD);
    setDialogText(window_, IDS_BTN_REMOVE, IDC_COOKIE_REMOVE);
    setDialogText(window_, IDS_RADIO_IE, IDC_COOKIE_IE);
    setDialogText(window_, IDS_RADIO_MOZILLA, IDC_COOKIE_MOZILLA);
    setDialogText(window_, IDS_CHECK_ALWAYS_VIEW_COOKIES, IDC_COOKIE_ALWAYS_VIEW);
    setDialogText(window_, IDS_BTN_VIEW_COOKIES, IDC_COOKIE_VIEW);
    SendMessageA(item(IDC_COOKIE_FILTER_EDIT), EM_LIMITTEXT, 128, 0);
    SetWindowSubclass(item(IDC_COOKIE_FILTER_EDIT), enterAdds, kEnterAddsSubclass, 0);

    ListView nuts = view();
    RECT r;
    GetClientRect(nuts.handle(), &r);
    nuts.insertColumn(0, "", r.right - r.left - GetSystemMetrics(SM_CXVSCROLL));
    nuts.setFullRowSelect();
    const int size = GetSystemMetrics(SM_CXSMICON);
    nutImages_.reset(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 1));
    UniqueIcon nut(static_cast<HICON>(
        LoadImageA(state_.instance, MAKEINTRESOURCEA(IDI_TAB_COOKIES), IMAGE_ICON, size, size, 0)));
    ImageList_AddIcon(nutImages_.get(), nut.get());
    return result;
  }

  bool onNotify(NMHDR* header, LRESULT& result) override {
    // The nut list holds filter words, not entries: none of the framework's row handling applies.
    if (header->idFrom == IDC_LIST) {
      if (header->code == LVN_ITEMCHANGED) showSelectedNut();
      return header->code == NM_DBLCLK;
    }
    return ListPage::onNotify(header, result);
  }
  void onSetActive() override {
    ListPage::onSetActive();
    showPage();
  }

  bool onContextMenu(HWND from, POINT) override { return from == item(IDC_LIST); }

  bool onCommand(int id, int code, HWND control) override {
    switch (id) {
      case IDOK:
      case IDC_COOKIE_ADD:
        addFilterWord();
        return true;
      case IDC_COOKIE_REMOVE:
        removeFilterWord();
        return true;
      case IDC_COOKIE_IE:
      case IDC_COOKIE_MOZILLA:
        if (code == BN_CLICKED) chooseBrowser(id == IDC_COOKIE_MOZILLA ? 6 : 1);
        return true;
      case IDC_COOKIE_ALWAYS_VIEW:
        state_.options.set("ViewCookies", IsDlgButtonChecked(window_, IDC_COOKIE_ALWAYS_VIEW) == BST_CHECKED ? 1 : 0);
        return true;
      case IDC_COOKIE_VIEW:
        runCookieList(state_, window_, cookieModeShown());
        return true;
      case IDC_COOKIE_FOLDER_ICON:
        if (code == STN_CLICKED) chooseFolder();
        return true;
      case IDC_MONITOR_ICON: {
        const int minutes = runPatrolTimeDialog(state_, window_, IDS_PATROL_COOKIE_FILTER, "Nuts", nullptr);
        if (minutes >= 0) state_.options.set("Nuts", minutes);
        updateMonitorIcon();
        return true;
      }
      default:
        return ListPage::onCommand(id, code, control);
    }
  }

 private:
  int cookieModeShown() const {
    return IsDlgButtonChecked(window_, IDC_COOKIE_MOZILLA) == BST_CHECKED ? kCookieModeMozilla
                                                                          : kCookieModeInternetExplorer;
  }

  void showPage() {
    const int mode = cookieModeOf(readOption("Browser"));
    CheckRadioButton(window_, IDC_COOKIE_IE, IDC_COOKIE_MOZILLA,
                     mode == kCookieModeMozilla ? IDC_COOKIE_MOZILLA : IDC_COOKIE_IE);
    const bool mozilla = mozillaPresent();
    enableItem(IDC_COOKIE_IE, mozilla);
    showItem(IDC_COOKIE_MOZILLA, mozilla);
    setItemText(IDC_COOKIE_FOLDER, cookieFolderText(mode));
    const bool always = readOption("ViewCookies") > 0;
    CheckDlgButton(window_, IDC_COOKIE_ALWAYS_VIEW, always ? BST_CHECKED : BST_UNCHECKED);
    fillNuts();
    updateMonitorIcon();
    // Opened once the sheet has shown the page.
    if (always || state_.viewCookiesAtOnce) PostMessageA(window_, WM_COMMAND, IDC_COOKIE_VIEW, 0);
  }

  void fillNuts() {
    nuts_.clear();
    for (const Nut& nut : loadNuts())
      if (nut.number == kNutFilterText) nuts_.push_back(nut.text);
    ListView view = this->view();
    view.deleteAllRows();
    view.setSmallImages(nutImages_.get());
    for (std::size_t i = 0; i < nuts_.size(); ++i) view.appendRow(static_cast<int>(i), nuts_[i], 0);
  }

  void showSelectedNut() {
    const int nut = view().selectedEntry();
    if (nut >= 0 && nut < static_cast<int>(nuts_.size())) setItemText(IDC_COOKIE_SELECTED, nuts_[nut]);
  }

  void addFilterWord() {
    const std::string word = itemText(IDC_COOKIE_FILTER_EDIT);
    switch (addNut(word, state_.entries, cookieModeShown())) {
      case AddNut::LimitReached:
        tell(window_, IDS_NUT_LIMIT);
        return;
      case AddNut::Added:
        setItemText(IDC_COOKIE_FILTER_EDIT, "");
        fillNuts();
        return;
      default:
        return;  // empty or blank text adds nothing
    }
  }

  void removeFilterWord() {
    const int nut = view().selectedEntry();
    if (nut < 0 || nut >= static_cast<int>(nuts_.size())) {
      showNoSelection();
      return;
    }
    removeNut(nuts_[nut]);
    setItemText(IDC_COOKIE_SELECTED, "");
    fillNuts();
  }

  void chooseBrowser(int browser) {
    state_.options.set("Browser", browser);
    setItemText(IDC_COOKIE_FOLDER, cookieFolderText(cookieModeOf(browser)));
  }

  // The user opens any file (the name "Path" stands for none) in the folder wanted.
  void chooseFolder() {
    const std::string filter = std::string("All Folder (*.*) ") + '\0' + "*.*" + '\0';
    const std::string title = loadString(IDS_SELECT_COOKIE_FOLDER, 128);
    std::string start;
    reg::readString(HKEY_CURRENT_USER, kShellFoldersKey, "AppData", start);
    char file[MAX_PATH] = "Path";
    OPENFILENAMEA chooser{};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = window_;
    chooser.lpstrFilter = filter.c_str();
    chooser.lpstrFile = file;
    chooser.nMaxFile = sizeof file;
    chooser.lpstrInitialDir = start.c_str();
    chooser.lpstrTitle = title.c_str();
    chooser.Flags = OFN_PATHMUSTEXIST | OFN_LONGNAMES | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&chooser)) return;
    const int mode = cookieModeShown();
    if (!storeCookieFolder(mode, file).empty()) setItemText(IDC_COOKIE_FOLDER, cookieFolderText(mode));
  }

  std::vector<std::string> nuts_;
  UniqueImageList nutImages_;
};

}  // namespace

std::unique_ptr<ListPage> createCookiesPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition) {
  return std::make_unique<CookiesPage>(state, sheet, definition);
}


}  // namespace tavrin
