#include "sheet.h"

#include <commctrl.h>
#include <shlwapi.h>

#include "base/command_text.h"
#include "base/commands.h"
#include "base/text.h"
#include "inventory/sound_events.h"
#include "inventory/string_loader.h"
#include "list_page.h"
#include "pages.h"
#include "placement.h"
#include "reports.h"
#include "resource.h"
#include "sys/paths.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

constexpr UINT_PTR kSheetSubclassId = 1;
constexpr int kTabIconSize = 16;

// The NT family gets a resizable sheet.
int CALLBACK sheetCallback(HWND, UINT message, LPARAM lParam) {
  if (message != PSCB_PRECREATE || !lParam) return 0;
  const DWORD addStyle = WS_THICKFRAME | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  const DWORD addExStyle = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;
  auto* words = reinterpret_cast<WORD*>(lParam);
  if (words[1] == 0xFFFF) {  // DLGTEMPLATEEX: version, signature, help id, extended style, style
    auto* exStyle = reinterpret_cast<DWORD*>(words + 4);
    auto* style = reinterpret_cast<DWORD*>(words + 6);
    *style |= addStyle;
    *exStyle |= addExStyle;
  } else {
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(lParam);
    dialog->style |= addStyle;
    dialog->dwExtendedStyle |= addExStyle;
  }
  return 0;
}

bool isSheetPage(const PageDefinition& definition, bool ntFamily) {
  return ntFamily || definition.pageId != CMD_SERVICES;
}

void traceCommonControlsVersion() {
  DWORD major = 0, minor = 0;
  if (HMODULE comctl = GetModuleHandleA("comctl32.dll")) {
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(GetProcAddress(comctl, "DllGetVersion")));
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    if (getVersion && SUCCEEDED(getVersion(&info))) {
      major = info.dwMajorVersion;
      minor = info.dwMinorVersion;
    }
  }
  const bool current = major > 4 || (major == 4 && minor > 70);
  trace::line("TabDialog - Check comctl32.dll ", current ? "V0" : "V1");
}

Size outerSize(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

void resize(HWND window, Size size) {
  SetWindowPos(window, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void openSheet(ExplorerState& state, int command) {
  if (state.sheet) {
    state.sheet->bringForward(command);
    return;
  }
  Sheet sheet(state);
  state.sheet = &sheet;
  sheet.run(command);
  state.sheet = nullptr;
}

Sheet::Sheet(ExplorerState& state) : state_(state) {}

Sheet::~Sheet() = default;

void Sheet::run(int command) {
  traceCommonControlsVersion();
  SetWindowTextA(state_.window, loadString(IDS_CAPTION, 32).c_str());

  std::vector<std::string> titles;
  std::vector<PROPSHEETPAGEA> records;
  UINT startTab = 0;
  if (state_.ntFamily) trace::line("TabDialog - If Windows 2000", "True");
  for (const PageDefinition& definition : pageDefinitions()) {
    if (!isSheetPage(definition, state_.ntFamily)) continue;
    if (definition.pageId == command) startTab = static_cast<UINT>(pages_.size());
    pages_.push_back(createPage(state_, *this, definition));
    titles.push_back(loadString(definition.title, 64));
  }
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    const PageDefinition& definition = pages_[i]->definition();
    HICON icon = static_cast<HICON>(LoadImageA(state_.instance, MAKEINTRESOURCEA(definition.icon), IMAGE_ICON,
                                               kTabIconSize, kTabIconSize, LR_SHARED));
    records.push_back(pages_[i]->record(state_.instance, definition.dialogId, titles[i], icon));
  }

  const std::string caption = loadString(IDS_CAPTION, 32);
  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | (state_.ntFamily ? PSH_USECALLBACK : 0);
  header.hwndParent = state_.window;
  header.hInstance = state_.instance;
  header.pszCaption = caption.c_str();
  header.nPages = static_cast<UINT>(records.size());
  header.nStartPage = startTab;
  header.ppsp = records.data();
  header.pfnCallback = sheetCallback;

  trace::line("TabDialog", "PropertySheet");
  playSoundEvent(0, state_.options);
  if (contains(fileNamePart(moduleFileName()), "hijack")) hijackLogCommand(state_, state_.window);

  const INT_PTR result = PropertySheetA(&header);
  phase_ = Phase::Closing;
  if (result < 0) {
    showMessageDialog(state_, IDS_ABNORMAL_CONDITION);
    return;
  }
  if (state_.window) PostMessageA(state_.window, WM_CLOSE, 0, 0);
}

void Sheet::bringForward(int command) {
  if (command == CMD_COOKIES) {
    SetWindowPos(state_.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  } else if (currentPage() == CMD_ACTIVE_TASKS) {
    for (const auto& page : pages_)
      if (page->definition().pageId == CMD_ACTIVE_TASKS && page->handle()) page->fill();
  }
  BringWindowToTop(state_.window);
  SetForegroundWindow(state_.window);
  if (window_) SetForegroundWindow(window_);
}

void Sheet::pageCreated(HWND page) {
  if (!window_) setUp(GetParent(page));
}

// Run once, for the first page: subclass, minimum size, status bar, placement.
void Sheet::setUp(HWND sheet) {
  window_ = sheet;
  if (!state_.ntFamily) {
    restoreDialogPlacement(state_, sheet, "Pos");
    return;
  }
  SetWindowSubclass(sheet, subclass, kSheetSubclassId, reinterpret_cast<DWORD_PTR>(this));
  RECT client;
  GetClientRect(sheet, &client);
  minimum_ = minimumSheetSize({client.right, client.bottom});
  statusBar_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, sheet,
                               reinterpret_cast<HMENU>(IDC_STATUS_BAR), state_.instance, nullptr);
  restoreSheetPlacement(sheet);
}

void Sheet::setCurrentPage(int pageId) {
  if (phase_ == Phase::Closing) return;
  phase_ = Phase::Shown;
  currentPage_ = pageId;
}

// "Create Active Page": sheet buttons, caption, status bar, layout.
void Sheet::pageActivated(HWND page, int pageId) {
  if (!window_) window_ = GetParent(page);
  setCurrentPage(pageId);
  if (state_.options.debug) trace::memoryLine("Create Active Page");
  HWND ok = GetDlgItem(window_, IDOK);
  ShowWindow(ok, SW_HIDE);
  EnableWindow(ok, FALSE);
  SetDlgItemTextA(window_, IDCANCEL, loadString(IDS_BTN_CLOSE, 32).c_str());
  SetWindowLongA(window_, GWL_EXSTYLE, GetWindowLongA(window_, GWL_EXSTYLE) & ~WS_EX_CONTEXTHELP);
  SetWindowTextA(state_.window, loadString(IDS_CAPTION, 32).c_str());
  setStatusText("");
  layout(page);
}

// "CleanupActivePage": entry list emptied, status bar cleared, placement saved.
void Sheet::pageLeft() {
  if (state_.options.debug) trace::memoryLine("CleanupActivePage");
  state_.entries.clear();
  setStatusText("");
  savePlacement();
}

void Sheet::setStatusText(const std::string& text) {
  if (statusBar_) SendMessageA(statusBar_, SB_SETTEXTA, SBT_NOBORDERS, reinterpret_cast<LPARAM>(text.c_str()));
}

void Sheet::savePlacement() {
  if (window_ && currentPage() != kNoPage) tavrin::savePlacement(state_, window_, "Pos");
}

void Sheet::close() {
  savePlacement();
  phase_ = Phase::Closing;
  if (window_) PostMessageA(window_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  if (state_.window) PostMessageA(state_.window, WM_CLOSE, 0, 0);
}

// The tab control shows the pages' icons from a list made once.
void Sheet::useTabIcons(HWND tab) {
  if (tabIcons_) return;
  tabIcons_.reset(ImageList_Create(kTabIconSize, kTabIconSize, ILC_COLOR32 | ILC_MASK, 10, 0));
  for (const auto& page : pages_) {
    UniqueIcon icon(static_cast<HICON>(LoadImageA(state_.instance, MAKEINTRESOURCEA(page->definition().icon),
                                                  IMAGE_ICON, kTabIconSize, kTabIconSize, LR_DEFAULTCOLOR)));
    ImageList_AddIcon(tabIcons_.get(), icon.get());
  }
  SendMessageA(tab, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(tabIcons_.get()));
}

// The tab strip, status bar and current page follow the sheet's size (NT family only).
void Sheet::layout(HWND page) {
  if (!state_.ntFamily || !window_) return;
  const Size size = outerSize(window_);
  HWND tab = reinterpret_cast<HWND>(SendMessageA(window_, PSM_GETTABCONTROL, 0, 0));
  if (!tab) tab = FindWindowExA(window_, nullptr, "SysTabControl32", nullptr);
  if (tab) tabRows_ = static_cast<int>(SendMessageA(tab, TCM_GETROWCOUNT, 0, 0));
  const SheetLayout places = sheetLayout(size, tabRows_);
  if (tab) {
    // The tab control lies under the page: unclipped, its repaint would wipe the page's controls.
    SetWindowLongA(tab, GWL_STYLE, GetWindowLongA(tab, GWL_STYLE) | WS_CLIPSIBLINGS);
    resize(tab, places.tabControl);
    useTabIcons(tab);
  }
  if (statusBar_) {
    resize(statusBar_, places.statusBar);
    SendMessageA(statusBar_, WM_SIZE, 0, 0);
  }
  // The sheet's own Close button stays hidden: each page has its own.
  const std::string close = loadString(IDS_BTN_CLOSE, 32);
  for (HWND button = GetWindow(window_, GW_CHILD); button; button = GetWindow(button, GW_HWNDNEXT)) {
    char text[64] = {};
    char className[32] = {};
    GetClassNameA(button, className, sizeof className);
    GetWindowTextA(button, text, sizeof text);
    if (lstrcmpiA(className, "Button") != 0 || close != text) continue;
    SetWindowPos(button, nullptr, places.closeButton.x, places.closeButton.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(button, SW_HIDE);
  }
  if (!page) page = reinterpret_cast<HWND>(SendMessageA(window_, PSM_GETCURRENTPAGEHWND, 0, 0));
  if (page) {
    resize(page, places.page);
    SendMessageA(page, kLayoutMessage, 0, 0);
  }
  // A change of tab rows moves the page: what it showed before must not stay on the screen.
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT CALLBACK Sheet::subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<Sheet*>(data);
  switch (message) {
    case WM_GETMINMAXINFO: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (self->minimum_.width > 0) {
        info->ptMinTrackSize.x = self->minimum_.width;
        info->ptMinTrackSize.y = self->minimum_.height;
      }
      return result;
    }
    case WM_SIZE: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (self->currentPage() != kNoPage) self->layout();
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, subclass, kSheetSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace tavrin
