#include "sheet.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <memory>
#include <vector>

#include "base/command_text.h"
#include "base/commands.h"
#include "base/text.h"
#include "inventory/sound_events.h"
#include "inventory/string_loader.h"
#include "list_page.h"
#include "pages.h"
#include "placement.h"
#include "resource.h"
#include "sys/paths.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

constexpr UINT_PTR kSheetSubclassId = 1;

void bringForward(ExplorerState& state) {
  BringWindowToTop(state.window);
  SetForegroundWindow(state.window);
  if (state.sheet) SetForegroundWindow(state.sheet);
}

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

LRESULT CALLBACK sheetSubclass(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR data) {
  auto* state = reinterpret_cast<ExplorerState*>(data);
  switch (message) {
    case WM_GETMINMAXINFO: {
      const LRESULT result = DefSubclassProc(sheet, message, wParam, lParam);
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (state->minimumSheet.cx > 0) {
        info->ptMinTrackSize.x = state->minimumSheet.cx;
        info->ptMinTrackSize.y = state->minimumSheet.cy;
      }
      return result;
    }
    case WM_SIZE: {
      const LRESULT result = DefSubclassProc(sheet, message, wParam, lParam);
      if (state->currentPage > 1) layoutTabStrip(*state);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(sheet, sheetSubclass, kSheetSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(sheet, message, wParam, lParam);
}

bool isSheetPage(int pageId, bool ntFamily) {
  const PageDefinition* definition = pageDefinitionOf(pageId);
  return definition && (ntFamily || pageId != CMD_SERVICES);
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

}  // namespace

void createSharedResources(ExplorerState& state) {
  auto bitmap = [&](int id) {
    return UniqueBitmap(
        static_cast<HBITMAP>(LoadImageA(state.instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
  };
  ButtonImages& images = state.images;
  images.help = bitmap(IDB_HELP);
  images.helpPressed = bitmap(IDB_HELP_PRESSED);
  images.helpHover = bitmap(IDB_HELP_HOVER);
  images.monitorOn = bitmap(IDB_MONITOR_ON);
  images.monitorPressed = bitmap(IDB_MONITOR_PRESSED);
  images.monitorOnHover = bitmap(IDB_MONITOR_ON_HOVER);
  images.monitorOff = bitmap(IDB_MONITOR_OFF);
  images.monitorOffHover = bitmap(IDB_MONITOR_OFF_HOVER);
  images.monitorOffPressed = bitmap(IDB_MONITOR_OFF_PRESSED);
  images.monitorRealtime = bitmap(IDB_MONITOR_REALTIME);

  auto font = [](int height, int weight, const char* face) {
    return UniqueFont(CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face));
  };
  state.fonts.bold = font(-11, FW_BOLD, "MS Shell Dlg");
  state.fonts.small = font(-10, FW_NORMAL, "MS Sans Serif");
  state.options.noteFont = state.options.noteFont.empty() ? "Arial" : state.options.noteFont;
  state.fonts.note = font(-(state.options.noteSize > 0 ? state.options.noteSize : 14), FW_NORMAL,
                          state.options.noteFont.c_str());
}

void openSheet(ExplorerState& state, int command) {
  if (state.currentPage > 0) {
    if (command == CMD_COOKIES) {
      SetWindowPos(state.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    } else if (state.currentPage == CMD_ACTIVE_TASKS) {
      for (ListPage* page : state.openPages)
        if (page->definition().pageId == CMD_ACTIVE_TASKS && page->handle()) page->fill();
    }
    bringForward(state);
    return;
  }
  state.currentPage = 1;
  traceCommonControlsVersion();
  SetWindowTextA(state.window, loadString(IDS_CAPTION, 32).c_str());

  std::vector<std::unique_ptr<ListPage>> pages;
  std::vector<std::string> titles;
  std::vector<PROPSHEETPAGEA> records;
  UINT startTab = 0;
  if (state.ntFamily) trace::line("TabDialog - If Windows 2000", "True");
  for (const PageDefinition& definition : pageDefinitions()) {
    if (!isSheetPage(definition.pageId, state.ntFamily)) continue;
    if (definition.pageId == command) startTab = static_cast<UINT>(pages.size());
    pages.push_back(createPage(state, definition));
    titles.push_back(loadString(definition.title, 64));
  }
  for (std::size_t i = 0; i < pages.size(); ++i) {
    HICON icon = static_cast<HICON>(
        LoadImageA(state.instance, MAKEINTRESOURCEA(pages[i]->definition().icon), IMAGE_ICON, 16, 16, LR_SHARED));
    records.push_back(pages[i]->pageRecord(state.instance, pages[i]->definition().dialogId, titles[i], icon));
  }

  const std::string caption = loadString(IDS_CAPTION, 32);
  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | (state.ntFamily ? PSH_USECALLBACK : 0);
  header.hwndParent = state.window;
  header.hInstance = state.instance;
  header.pszCaption = caption.c_str();
  header.nPages = static_cast<UINT>(records.size());
  header.nStartPage = startTab;
  header.ppsp = records.data();
  header.pfnCallback = sheetCallback;

  trace::line("TabDialog", "PropertySheet");
  playSoundEvent(0, state.options);
  if (contains(fileNamePart(moduleFileName()), "hijack")) trace::line("TabDialog", "HijackTavrin.log");

  for (auto& page : pages) state.openPages.push_back(page.get());
  const INT_PTR result = PropertySheetA(&header);
  state.openPages.clear();
  state.sheet = nullptr;
  state.statusBar = nullptr;
  state.sheetPlaced = false;
  if (result < 0) {
    state.currentPage = 0;
    showMessageDialog(state, IDS_ABNORMAL_CONDITION);
    return;
  }
  state.currentPage = 0;
  if (state.window) PostMessageA(state.window, WM_CLOSE, 0, 0);
}

void initialiseSheet(ExplorerState& state, HWND sheet) {
  state.sheet = sheet;
  if (state.sheetPlaced) return;
  state.sheetPlaced = true;
  if (!state.ntFamily) {
    restoreDialogPlacement(state, sheet, "Pos");
    return;
  }
  SetWindowSubclass(sheet, sheetSubclass, kSheetSubclassId, reinterpret_cast<DWORD_PTR>(&state));
  RECT client;
  GetClientRect(sheet, &client);
  state.minimumSheet = {client.right - 10, client.bottom - 32};
  if (!state.statusBar)
    state.statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                      sheet, reinterpret_cast<HMENU>(IDC_STATUS_BAR), state.instance, nullptr);
  restoreSheetPlacement(sheet);
}

void setStatusText(ExplorerState& state, const std::string& text) {
  if (state.statusBar) SendMessageA(state.statusBar, SB_SETTEXTA, SBT_NOBORDERS, reinterpret_cast<LPARAM>(text.c_str()));
}

void createActivePage(ExplorerState& state, HWND page) {
  HWND sheet = GetParent(page);
  state.sheet = sheet;
  if (state.options.debug) trace::memoryLine("Create Active Page");
  HWND ok = GetDlgItem(sheet, IDOK);
  ShowWindow(ok, SW_HIDE);
  EnableWindow(ok, FALSE);
  SetDlgItemTextA(sheet, IDCANCEL, loadString(IDS_BTN_CLOSE, 32).c_str());
  SetWindowLongA(sheet, GWL_EXSTYLE, GetWindowLongA(sheet, GWL_EXSTYLE) & ~WS_EX_CONTEXTHELP);
  SetWindowTextA(state.window, loadString(IDS_CAPTION, 32).c_str());
  setStatusText(state, "");
  layoutTabStrip(state);
}

void cleanupActivePage(ExplorerState& state) {
  if (state.options.debug) trace::memoryLine("CleanupActivePage");
  state.entries.clear();
  setStatusText(state, "");
  saveSheetPlacement(state);
}

void saveSheetPlacement(ExplorerState& state) {
  if (state.sheet && state.currentPage > 1) savePlacement(state, state.sheet, "Pos");
}

void layoutTabStrip(ExplorerState& state) {
  HWND sheet = state.sheet;
  if (!state.ntFamily || !sheet) return;
  RECT outer;
  GetWindowRect(sheet, &outer);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;

  HWND tab = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
  if (!tab) tab = FindWindowExA(sheet, nullptr, "SysTabControl32", nullptr);
  if (tab) {
    state.tabRows = static_cast<int>(SendMessageA(tab, TCM_GETROWCOUNT, 0, 0));
    SetWindowPos(tab, nullptr, 0, 0, width - 20, height - 67, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 10, 0);
    for (const PageDefinition& definition : pageDefinitions()) {
      if (!isSheetPage(definition.pageId, state.ntFamily)) continue;
      HICON icon = static_cast<HICON>(
          LoadImageA(state.instance, MAKEINTRESOURCEA(definition.icon), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
      ImageList_AddIcon(images, icon);
      DestroyIcon(icon);
    }
    HIMAGELIST old = reinterpret_cast<HIMAGELIST>(SendMessageA(tab, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images)));
    if (old && old != images) ImageList_Destroy(old);
  }
  if (state.statusBar) {
    SetWindowPos(state.statusBar, nullptr, 0, 0, width - 28, height - 131, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(state.statusBar, WM_SIZE, 0, 0);
  }
  const std::string close = loadString(IDS_BTN_CLOSE, 32);
  for (HWND button = GetWindow(sheet, GW_CHILD); button; button = GetWindow(button, GW_HWNDNEXT)) {
    char text[64] = {};
    char className[32] = {};
    GetClassNameA(button, className, sizeof className);
    GetWindowTextA(button, text, sizeof text);
    if (lstrcmpiA(className, "Button") != 0 || close != text) continue;
    POINT at{width - 92, height - 66};
    SetWindowPos(button, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(button, SW_HIDE);
  }
  HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  if (page) {
    const int pageHeight = height - 112 + (state.tabRows == 1 ? 10 : 0);
    SetWindowPos(page, nullptr, 0, 0, width - 28, pageHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(page, kLayoutMessage, 0, 0);
  }
}

void closeSheet(ExplorerState& state) {
  saveSheetPlacement(state);
  state.currentPage = 0;
  if (state.sheet) PostMessageA(state.sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  if (state.window) PostMessageA(state.window, WM_CLOSE, 0, 0);
}

}  // namespace tavrin
