#include "list_page.h"

#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "base/commands.h"
#include "base/page_layout.h"
#include "base/page_rules.h"
#include "base/text.h"
#include "info_dialog.h"
#include "inventory/help_pages.h"
#include "inventory/online_info.h"
#include "inventory/options.h"
#include "inventory/program_file.h"
#include "inventory/string_loader.h"
#include "placement.h"
#include "resource.h"
#include "sheet.h"
#include "sys/message.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

constexpr char kImageButtonProp[] = "TavrinImageButton";

// An image button: normal, pressed and hover images and the command it sends.
struct ImageButton {
  HBITMAP normal = nullptr, pressed = nullptr, hover = nullptr;
  int command = 0;
  bool tracking = false;
  WNDPROC original = nullptr;
};

void showImage(HWND button, HBITMAP image) {
  if (image) SendMessageA(button, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image));
}

// The owner-drawn captions show in blue while the mouse is over their button,
// so they are redrawn whenever that changes.
BOOL CALLBACK redrawIfCaption(HWND child, LPARAM) {
  if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_OWNERDRAW) InvalidateRect(child, nullptr, TRUE);
  return TRUE;
}

void redrawCaptions(HWND button) { EnumChildWindows(GetParent(button), redrawIfCaption, 0); }

LRESULT CALLBACK imageButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<ImageButton*>(GetPropA(button, kImageButtonProp));
  if (!self) return DefWindowProcA(button, message, wParam, lParam);
  const WNDPROC original = self->original;
  switch (message) {
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_SETCURSOR:
      SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)));  // the hand
      return TRUE;
    case WM_MOUSEMOVE:
      if (!self->tracking) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, button, 0};
        self->tracking = TrackMouseEvent(&track) != FALSE;
        showImage(button, self->hover);
        redrawCaptions(button);
      }
      return 0;
    case WM_MOUSELEAVE:
      self->tracking = false;
      showImage(button, self->normal);
      redrawCaptions(button);
      return 0;
    case WM_LBUTTONDOWN:
      showImage(button, self->pressed);
      SetCapture(button);
      return 0;
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: {
      if (GetCapture() == button) ReleaseCapture();
      showImage(button, self->normal);
      PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(self->command, 0), 0);
      return 0;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      RemovePropA(button, kImageButtonProp);
      delete self;
      return CallWindowProcA(original, button, message, wParam, lParam);
    default:
      break;
  }
  return CallWindowProcA(original, button, message, wParam, lParam);
}

}  // namespace

void makeImageButton(HWND button, HBITMAP normal, HBITMAP pressed, HBITMAP hover, int command) {
  if (!button) return;
  auto* self = static_cast<ImageButton*>(GetPropA(button, kImageButtonProp));
  if (!self) {
    self = new ImageButton;
    SetPropA(button, kImageButtonProp, self);
    self->original =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(imageButtonProc)));
  }
  self->normal = normal;
  self->pressed = pressed;
  self->hover = hover;
  self->command = command;
  showImage(button, normal);
}

void showMonitorIcon(const ButtonImages& images, HWND button, bool on, bool realtime) {
  HBITMAP normal = (realtime ? images.monitorRealtime : on ? images.monitorOn : images.monitorOff).get();
  HBITMAP hover = (realtime ? images.monitorRealtime : on ? images.monitorOnHover : images.monitorOffHover).get();
  HBITMAP pressed = (on ? images.monitorPressed : images.monitorOffPressed).get();
  makeImageButton(button, normal, pressed, hover, IDC_MONITOR_ICON);
}

namespace {

std::vector<PageDefinition> buildDefinitions() {
  std::vector<PageDefinition> definitions;
  PageDefinition s;
  s = {};
  s.pageId = CMD_STARTUP_PROGRAMS, s.dialogId = IDD_PAGE_STARTUP, s.title = IDS_TAB_STARTUP, s.icon = IDI_TAB_STARTUP;
  s.intros = {{IDS_STARTUP_INTRO, IDC_STARTUP_INTRO}};
  s.columns = {IDS_COL_TITLE, IDS_COL_COMMAND, IDS_COL_COMPANY, IDS_COL_TYPE, IDS_COL_FIRST_DETECTED};
  s.slotCount = 5, s.slots = {IDC_INFO, IDC_ENABLE, IDC_ADD, IDC_REMOVE, IDC_CLOSE_PAGE};
  s.alternates = {0, IDC_DISABLE, 0, 0};
  s.patrolOption = "Start", s.sortOption = "SortStartup";
  definitions.push_back(s);
  s = {};
  s.pageId = CMD_DELAYED_START, s.dialogId = IDD_PAGE_DELAYED, s.title = IDS_TAB_DELAYED, s.icon = IDI_TAB_DELAYED;
  s.intros = {{IDS_DELAY_INTRO, IDC_DELAY_INTRO}, {IDS_DELAY_HINT, IDC_DELAY_HINT}};
  s.columns = {IDS_COL_TITLE, IDS_COL_COMMAND, IDS_COL_STATUS, IDS_COL_DELAY_TIME};
  s.slotCount = 5, s.slots = {IDC_INFO, IDC_ADD, IDC_DELAY_OPTIONS, IDC_REMOVE, IDC_CLOSE_PAGE};
  s.sortOption = "SortPrograms";
  definitions.push_back(s);
  s = {};
  s.pageId = CMD_IE_HELPERS, s.dialogId = IDD_PAGE_IE_HELPERS, s.title = IDS_TAB_IE_HELPERS, s.icon = IDI_TAB_IE_HELPERS;
  s.intros = {{IDS_IE_HELPERS_INTRO_1, IDC_IE_INTRO_1}, {IDS_IE_HELPERS_INTRO_2, IDC_IE_INTRO_2}};
  s.columns = {IDS_COL_NAME, IDS_COL_PROGRAM, IDS_COL_COMPANY, IDS_COL_TYPE, IDS_COL_FIRST_DETECTED};
  s.slotCount = 5, s.slots = {IDC_INFO, 0, IDC_REMOVE, 0, IDC_CLOSE_PAGE};
  s.patrolOption = "IEHelpers", s.realtimeOption = "RealtimeIEHelper", s.sortOption = "SortIEHelper";
  definitions.push_back(s);
  s = {};
  s.pageId = CMD_SCHEDULED_TASKS, s.dialogId = IDD_PAGE_SCHEDULED, s.title = IDS_TAB_SCHEDULED, s.icon = IDI_TAB_SCHEDULED;
  s.intros = {{IDS_TASKS_INTRO_1, IDC_TASKS_INTRO_1}, {IDS_TASKS_INTRO_2, IDC_TASKS_INTRO_2}};
  s.columns = {IDS_COL_NAME, IDS_COL_PROGRAM, IDS_COL_COMPANY, IDS_COL_NEXT_RUN, IDS_COL_LAST_RUN};
  s.slotCount = 5, s.slots = {IDC_INFO, 0, IDC_REMOVE, 0, IDC_CLOSE_PAGE};
  s.patrolOption = "Tasks", s.sortOption = "SortScheduledTask";
  definitions.push_back(s);
  s = {};
  s.pageId = CMD_SERVICES, s.dialogId = IDD_PAGE_SERVICES, s.title = IDS_TAB_SERVICES, s.icon = IDI_TAB_SERVICES;
  s.intros = {{IDS_SERVICES_INTRO_1, IDC_SERVICES_INTRO_1}, {IDS_SERVICES_INTRO_2, IDC_SERVICES_INTRO_2}};
  s.columns = {IDS_COL_TITLE, IDS_COL_COMMAND, IDS_COL_COMPANY, IDS_COL_STATUS, IDS_COL_STARTUP, IDS_COL_FIRST_DETECTED};
  s.slotCount = 5, s.slots = {IDC_INFO, 0, IDC_HIDE_MICROSOFT, 0, IDC_CLOSE_PAGE};
  s.patrolOption = "Services", s.sortOption = "SortService";
  definitions.push_back(s);
  s = {};
  s.pageId = CMD_ACTIVE_TASKS, s.dialogId = IDD_PAGE_ACTIVE_TASKS, s.title = IDS_TAB_ACTIVE_TASKS, s.icon = IDI_TAB_ACTIVE_TASKS;
  s.intros = {{IDS_ACTIVE_TASKS_INTRO_1, IDC_ACTIVE_INTRO_1}, {IDS_ACTIVE_TASKS_INTRO_2, IDC_ACTIVE_INTRO_2}};
  s.columns = {IDS_COL_MODULE, IDS_COL_PROGRAM_DESCRIPTION, IDS_COL_COMPANY, IDS_COL_FIRST_DETECTED};
  s.slotCount = 4, s.slots = {IDC_INFO, IDC_REFRESH, IDC_KILL_TASK, IDC_CLOSE_PAGE, 0};
  s.sortOption = "SortActiveTask", s.imageSlot = 1;
  definitions.push_back(s);
  s = {};
  s.pageId = CMD_COOKIES, s.dialogId = IDD_PAGE_COOKIES, s.title = IDS_TAB_COOKIES, s.icon = IDI_TAB_COOKIES;
  s.intros = {{IDS_COOKIES_INTRO_1, IDC_COOKIE_INTRO_1}, {IDS_COOKIES_INTRO_2, IDC_COOKIE_INTRO_2},
              {IDS_COOKIES_INTRO_3, IDC_COOKIE_INTRO_3}};
  s.patrolOption = "Nuts", s.sortOption = "SortCookie";
  definitions.push_back(s);
  s = {};
  s.pageId = CMD_FILE_TYPES, s.dialogId = IDD_PAGE_FILE_TYPES, s.title = IDS_TAB_FILE_TYPES, s.icon = IDI_TAB_FILE_TYPES;
  s.intros = {{IDS_FILE_TYPES_INTRO_1, IDC_FILE_TYPES_INTRO_1}, {IDS_FILE_TYPES_INTRO_2, IDC_FILE_TYPES_INTRO_2}};
  s.columns = {IDS_COL_TITLE, IDS_COL_COMMAND, IDS_COL_COMPANY, IDS_COL_CLASS, IDS_COL_EXTENSION, IDS_COL_TYPE};
  s.slotCount = 5, s.slots = {IDC_INFO, IDC_ADD, IDC_REMOVE, 0, IDC_CLOSE_PAGE};
  s.patrolOption = "FileType", s.realtimeOption = "RealtimeFileType", s.sortOption = "SortFileType";
  definitions.push_back(s);
  s = {};
  s.pageId = CMD_HIDDEN_FILES, s.dialogId = IDD_PAGE_HIDDEN, s.title = IDS_TAB_HIDDEN, s.icon = IDI_TAB_HIDDEN;
  s.intros = {{IDS_HIDDEN_INTRO_1, IDC_HIDDEN_INTRO_1}, {IDS_HIDDEN_INTRO_2, IDC_HIDDEN_INTRO_2}};
  s.columns = {IDS_COL_MODULE, IDS_COL_PATH, IDS_COL_FIRST_DETECTED, IDS_COL_LAST_WRITTEN, IDS_COL_TYPE};
  s.slotCount = 4, s.slots = {IDC_INFO, IDC_REFRESH, IDC_UNHIDE, IDC_CLOSE_PAGE, 0};
  s.patrolOption = "Hidden", s.realtimeOption = "RealtimeHidden", s.sortOption = "SortHidden", s.imageSlot = 1;
  definitions.push_back(s);
  s = {};
  s.pageId = CMD_OPTIONS, s.dialogId = IDD_PAGE_OPTIONS, s.title = IDS_TAB_OPTIONS, s.icon = IDI_TAB_OPTIONS;
  s.intros = {{IDS_OPTIONS_INTRO, IDC_OPT_INTRO}};
  definitions.push_back(s);
  return definitions;
}

// Context menu entries after the standard head, by page.
struct MenuItem {
  UINT text;
  int command;
};

void appendItem(HMENU menu, UINT text, int command) {
  AppendMenuA(menu, MF_STRING, command, loadString(text, 128).c_str());
}

}  // namespace

const std::vector<PageDefinition>& pageDefinitions() {
  static const std::vector<PageDefinition> definitions = buildDefinitions();
  return definitions;
}

const PageDefinition* pageDefinitionOf(int pageId) {
  for (const PageDefinition& definition : pageDefinitions())
    if (definition.pageId == pageId) return &definition;
  return nullptr;
}

void showNoSelectionMessage(HWND owner, bool cookiesPage) {
  messageBox(owner, loadString(cookiesPage ? IDS_NO_COOKIE_SELECTION : IDS_NO_SELECTION),
             loadString(IDS_HELP_CAPTION, 64), MB_ICONQUESTION | MB_TOPMOST, languageId());
}

std::string dataFolder() {
  char path[MAX_PATH] = {};
  if (SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, FALSE) && path[0]) return std::string(path) + "\\Tavrin";
  return programFolder();
}

std::string existingNoteFile(const std::string& programPath) {
  const std::string name = noteFileName(programFileOfCommand(programPath));
  for (const std::string& folder : {programFolder(), dataFolder()}) {
    const std::string path = folder + "\\" + name;
    if (fileExists(path)) return path;
  }
  return "";
}

int addFileIcon(HIMAGELIST images, const std::string& path, int iconIndex) {
  std::string file = programFileOfCommand(path);
  UniqueIcon icon;
  if (programFileExists(file)) ExtractIconExA(file.c_str(), iconIndex, nullptr, icon.put(), 1);
  if (!icon)
    icon.reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_GENERIC_PROGRAM),
                                             IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  return icon ? ImageList_AddIcon(images, icon.get()) : -1;
}

BOOL ListPage::onInit() {
  sheet_.pageCreated(window_);
  for (const auto& intro : definition_.intros) setDialogText(window_, intro.first, intro.second);
  setDialogText(window_, IDS_BTN_INFO, IDC_INFO);
  if (definition_.pageId != CMD_COOKIES) setDialogText(window_, IDS_BTN_REMOVE, IDC_REMOVE);
  setDialogText(window_, IDS_BTN_CLOSE, IDC_CLOSE_PAGE);
  if (!state_.ntFamily) showItem(IDC_CLOSE_PAGE, false);
  setDialogText(window_, IDS_LABEL_HELP, IDC_HELP_LABEL);
  setDialogText(window_, IDS_LABEL_MONITOR, IDC_MONITOR_LABEL);
  if (!definition_.patrolOption) {
    showItem(IDC_MONITOR_ICON, false);
    showItem(IDC_MONITOR_LABEL, false);
  }
  insertColumns();
  nextDescending_.assign(definition_.columns.size(), false);
  sheet_.setCurrentPage(definition_.pageId);
  const ButtonImages& images = state_.images;
  makeImageButton(item(IDC_HELP_ICON), images.help.get(), images.helpPressed.get(), images.helpHover.get(),
                  IDC_HELP_ICON);
  updateMonitorIcon();
  if (state_.options.debug) trace::memoryLine("Create Page");
  return TRUE;
}

void ListPage::updateMonitorIcon() {
  if (!definition_.patrolOption) return;
  const bool realtime = definition_.realtimeOption && readOption(definition_.realtimeOption) > 0;
  showMonitorIcon(state_.images, item(IDC_MONITOR_ICON), readOption(definition_.patrolOption) > 0, realtime);
}

void ListPage::insertColumns() {
  ListView view = this->view();
  if (!view || definition_.columns.empty()) return;
  RECT r;
  GetClientRect(view.handle(), &r);
  const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
  for (std::size_t c = 0; c < definition_.columns.size(); ++c) {
    const int column = static_cast<int>(c);
    view.insertColumn(column, loadString(definition_.columns[c], 64),
                      columnWidth(definition_.pageId, column, r.right - r.left, scrollBar));
  }
  view.setFullRowSelect();
}

void ListPage::fill() {
  ListView view = this->view();
  if (!view) return;
  WaitCursor wait;
  state_.entries.clear();
  fillEntries();
  const int iconSize = GetSystemMetrics(SM_CXSMICON);
  images_.reset(ImageList_Create(iconSize, iconSize, ILC_COLOR32 | ILC_MASK, 1, 1));
  UniqueIcon program(static_cast<HICON>(
      LoadImageA(state_.instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, iconSize, iconSize, 0)));
  ImageList_AddIcon(images_.get(), program.get());
  view.setSmallImages(images_.get());
  view.deleteAllRows();
  view.setRedraw(false);
  for (int entry = 0; entry < state_.entries.count(); ++entry) {
    std::string path;
    const int iconIndex = iconEntryPath(entry, path);
    const int image = addFileIcon(images_.get(), path, iconIndex) >= 0 ? entry + 1 : 0;
    const int row = view.appendRow(entry, state_.entries.name(entry), image);
    if (row >= 0) setRowColumns(row, entry);
  }
  view.setRedraw(true);
  const int stored = definition_.sortOption ? readOption(definition_.sortOption) : 0;
  if (stored > 0 && stored <= static_cast<int>(definition_.columns.size())) {
    // A refill keeps the order last shown for that column.
    const int column = stored - 1;
    sortRows(column, column == sortedColumn_ && sortedDescending_);
  }
  view.setFullRowSelect();
}

void ListPage::refill() {
  int row = selectedRow();
  fill();
  const int rows = view().rowCount();
  if (row >= rows) row = rows - 1;
  selectRow(row < 0 ? 0 : row);
  selectionShown();
}

int ListPage::iconEntryPath(int entry, std::string& path) const {
  path = state_.entries.programPath(entry);
  return 0;
}

std::string ListPage::sortKey(int entry, int column) const {
  return column == 0 ? state_.entries.name(entry) : std::string();
}

void ListPage::sortRows(int column, bool descending) {
  std::vector<std::string> keys;
  keys.reserve(state_.entries.count());
  for (int entry = 0; entry < state_.entries.count(); ++entry) {
    std::string key = sortKey(entry, column);
    if (keepsDisabledBelow()) key = startupSortKey(key, state_.entries.disabledState(entry) != 0, descending);
    keys.push_back(std::move(key));
  }
  static const std::string none;
  const auto keyOf = [&](int entry) -> const std::string& {
    return entry >= 0 && entry < static_cast<int>(keys.size()) ? keys[entry] : none;
  };
  const bool prefixOnly = comparesPrefixOnly();
  view().sortByEntry([&](int a, int b) { return compareSortKeys(keyOf(a), keyOf(b), descending, prefixOnly); });
  sortedColumn_ = column;
  sortedDescending_ = descending;
}

void ListPage::sortByColumn(int column) {
  if (column < 0 || column >= static_cast<int>(nextDescending_.size())) return;
  const bool descending = nextDescending_[column];
  sortRows(column, descending);
  nextDescending_[column] = !descending;
  if (definition_.sortOption) writeOption(definition_.sortOption, column + 1);
}

int ListPage::selectedEntry() const { return view().selectedEntry(); }

std::vector<int> ListPage::selectedEntries() const {
  std::vector<int> entries;
  for (int entry : view().selectedEntries())
    if (entry < state_.entries.count()) entries.push_back(entry);
  return entries;
}

int ListPage::selectedRow() const { return view().selectedRow(); }

void ListPage::selectRow(int row) { view().selectRow(row); }

void ListPage::setCell(int row, int column, const std::string& text) { view().setCell(row, column, text); }

void ListPage::showNoSelection() { showNoSelectionMessage(window_, definition_.pageId == CMD_COOKIES); }

void ListPage::showInfo() {
  const int entry = selectedEntry();
  if (entry < 0) {
    showNoSelection();
    return;
  }
  const int row = selectedRow();
  InfoDialog dialog(state_, entry);
  dialog.run(window_);
  if (definition_.pageId == CMD_SERVICES) fill();
  selectRow(row);
}

void ListPage::closePage() {
  if (closed_) return;
  closed_ = true;
  sheet_.close();
}

void ListPage::onSelection() {
  const int entry = selectedEntry();
  if (entry < 0) return;
  const std::string path = state_.entries.programPath(entry);
  sheet_.setStatusText(path);
  std::string file = programFileOfCommand(path);
  const bool exists = programFileExists(file);
  HFONT font = exists ? state_.fonts.bold.get() : reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0));
  SendMessageA(item(IDC_INFO), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

bool ListPage::onNotify(NMHDR* header, LRESULT&) {
  if (header->idFrom != IDC_LIST) return false;
  switch (header->code) {
    case LVN_ITEMCHANGED:
    case NM_CLICK:
    case LVN_KEYDOWN:
      onSelection();
      selectionShown();
      return false;
    case NM_DBLCLK:
      onRowDoubleClick();
      return true;
    case LVN_COLUMNCLICK:
      sortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return true;
    default:
      return false;
  }
}

void ListPage::onSetActive() {
  {
    WaitCursor wait;
    sheet_.setCurrentPage(definition_.pageId);
    if (state_.entries.count() == 0 || definition_.pageId == CMD_SERVICES) fill();
    selectRow(0);
    sheet_.pageActivated(window_, definition_.pageId);
    updateMonitorIcon();
    sheet_.setCurrentPage(definition_.pageId);
  }
  selectionShown();
}

bool ListPage::onKillActive() {
  sheet_.pageLeft();
  return true;
}

bool ListPage::onQueryCancel() {
  sheet_.savePlacement();
  return true;
}

bool ListPage::onCommand(int id, int, HWND) {
  switch (id) {
    case IDOK:
    case IDC_INFO:
      showInfo();
      return true;
    case IDC_CLOSE_PAGE:
      closePage();
      return true;
    case IDM_ONLINE_INFO: {
      const int entry = selectedEntry();
      if (entry < 0) {
        showNoSelection();
        return true;
      }
      openOnlineInformation(state_.entries.typeCode(entry), state_.entries.programPath(entry), state_.entries.name(entry));
      return true;
    }
    case IDC_HELP_ICON:
      openHelpPage(definition_.pageId);
      return true;
    case IDC_MONITOR_ICON:
      updateMonitorIcon();
      return true;
    case IDM_DELETE_ON_REBOOT:
    case IDM_VIEW_NOTE:
    case IDM_EXPLORE_FOLDER:
    case IDM_PROPERTIES:
      runMenuCommand(id);
      return true;
    default:
      return false;
  }
}

void ListPage::runMenuCommand(int id) {
  const int entry = selectedEntry();
  if (entry < 0) {
    showNoSelection();
    return;
  }
  std::string file = programFileOfCommand(state_.entries.programPath(entry));
  programFileExists(file);
  switch (id) {
    case IDM_DELETE_ON_REBOOT:
      if (messageBox(window_, loadString(IDS_CONFIRM_DELETE_ON_REBOOT), loadString(IDS_CAPTION, 32),
                     MB_YESNO | MB_ICONSTOP | MB_TOPMOST, languageId()) == IDYES)
        MoveFileExA(file.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
      break;
    case IDM_VIEW_NOTE: {
      const std::string note = existingNoteFile(state_.entries.programPath(entry));
      if (!note.empty()) ShellExecuteA(window_, "open", note.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      break;
    }
    case IDM_EXPLORE_FOLDER: {
      const std::string folder = folderOfProgram(file);
      if (!folder.empty()) ShellExecuteA(window_, "explore", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      break;
    }
    case IDM_PROPERTIES: {
      SHELLEXECUTEINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = SEE_MASK_INVOKEIDLIST;
      info.hwnd = window_;
      info.lpVerb = "properties";
      info.lpFile = file.c_str();
      info.nShow = SW_SHOWNORMAL;
      ShellExecuteExA(&info);
      break;
    }
    default:
      break;
  }
}

bool ListPage::onContextMenu(HWND from, POINT at) {
  if (from != view().handle()) return false;
  const int entry = selectedEntry();
  if (entry < 0) return true;
  UniqueMenu menu(CreatePopupMenu());
  HMENU m = menu.get();
  const bool hasNote = !existingNoteFile(state_.entries.programPath(entry)).empty();
  const int page = definition_.pageId;
  auto standardHead = [&] {
    appendItem(m, IDS_BTN_INFO, IDC_INFO);
    appendItem(m, IDS_MENU_EXPLORE_FOLDER, IDM_EXPLORE_FOLDER);
    appendItem(m, IDS_MENU_PROPERTIES, IDM_PROPERTIES);
    if (hasNote) appendItem(m, IDS_MENU_VIEW_NOTE, IDM_VIEW_NOTE);
  };
  switch (page) {
    case CMD_STARTUP_PROGRAMS:
      standardHead();
      appendItem(m, IDS_BTN_ADD, IDC_ADD);
      if (state_.entries.typeCode(entry) < 250) {
        appendItem(m, IDS_MENU_MOVE_TO_DELAYED, IDM_MOVE_TO_DELAYED);
        AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
        appendItem(m, IDS_BTN_REMOVE, IDC_REMOVE);
        if (state_.entries.disabledState(entry))
          appendItem(m, IDS_BTN_ENABLE, IDM_ENABLE);
        else
          appendItem(m, IDS_BTN_DISABLE, IDM_DISABLE);
        appendItem(m, IDS_MENU_DELETE_ON_REBOOT, IDM_DELETE_ON_REBOOT);
      }
      break;
    case CMD_ACTIVE_TASKS:
      standardHead();
      appendItem(m, IDS_BTN_REFRESH, IDC_REFRESH);
      appendItem(m, IDS_BTN_KILL_TASK, IDC_KILL_TASK);
      appendItem(m, IDS_MENU_DELETE_ON_REBOOT, IDM_DELETE_ON_REBOOT);
      break;
    case CMD_SERVICES:
      standardHead();
      break;
    case CMD_SCHEDULED_TASKS:
    case CMD_IE_HELPERS:
      standardHead();
      appendItem(m, IDS_BTN_REMOVE, IDC_REMOVE);
      appendItem(m, IDS_MENU_DELETE_ON_REBOOT, IDM_DELETE_ON_REBOOT);
      break;
    case CMD_HIDDEN_FILES:
      standardHead();
      appendItem(m, IDS_BTN_REFRESH, IDC_REFRESH);
      appendItem(m, IDS_BTN_DELETE, IDM_DELETE_HIDDEN);
      appendItem(m, IDS_MENU_DELETE_ON_REBOOT, IDM_DELETE_ON_REBOOT);
      appendItem(m, IDS_MENU_VIEW_NOTEPAD, IDM_VIEW_NOTEPAD);
      break;
    case CMD_FILE_TYPES:
      appendItem(m, IDS_BTN_INFO, IDC_INFO);
      if (hasNote) appendItem(m, IDS_MENU_VIEW_NOTE, IDM_VIEW_NOTE);
      appendItem(m, IDS_BTN_ADD, IDC_ADD);
      appendItem(m, IDS_BTN_REMOVE, IDC_REMOVE);
      break;
    case CMD_DELAYED_START:
      appendItem(m, IDS_BTN_INFO, IDC_INFO);
      appendItem(m, IDS_MENU_EXPLORE_FOLDER, IDM_EXPLORE_FOLDER);
      appendItem(m, IDS_MENU_PROPERTIES, IDM_PROPERTIES);
      appendItem(m, IDS_BTN_ADD, IDC_ADD);
      appendItem(m, IDS_MENU_LAUNCH_PROGRAM, IDM_LAUNCH_PROGRAM);
      appendItem(m, IDS_MENU_DELAY_OPTIONS, IDM_DELAY_OPTIONS);
      AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
      appendItem(m, IDS_BTN_REMOVE, IDC_REMOVE);
      appendItem(m, IDS_MENU_RESTORE_TO_STARTUP, IDM_RESTORE_TO_STARTUP);
      if (hasNote) appendItem(m, IDS_MENU_VIEW_NOTE, IDM_VIEW_NOTE);
      break;
    case CMD_COOKIES:
      appendItem(m, IDS_BTN_VIEW, IDC_INFO);
      appendItem(m, IDS_BTN_REMOVE_UNCHECKED, IDM_REMOVE_UNCHECKED);
      appendItem(m, IDS_BTN_REMOVE_CHECKED, IDM_COOKIE_REMOVE_CHECKED);
      break;
    default:
      break;
  }
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  appendItem(m, IDS_BTN_ONLINE_INFO, IDM_ONLINE_INFO);
  if (page != CMD_COOKIES) appendItem(m, IDS_BTN_LOG, IDM_REPORT);
  appendItem(m, IDS_HELP_CAPTION, IDC_HELP_ICON);
  if (at.x == -1 && at.y == -1) GetCursorPos(&at);
  SetForegroundWindow(window_);
  TrackPopupMenu(m, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
  PostMessageA(window_, WM_NULL, 0, 0);
  return true;
}

namespace {

Size sizeOf(HWND window) {
  RECT r{};
  if (window) GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

Margins inPixels(HWND page, Margins units) {
  RECT r{units.left, units.top, units.right, units.bottom};
  MapDialogRect(page, &r);
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

void ListPage::layout() {
  PageMeasures measures;
  measures.sheet = sizeOf(GetParent(window_));
  if (measures.sheet.width == 0) return;
  measures.tabRows = sheet_.tabRows();
  measures.listMargin = inPixels(window_, kListMarginUnits);
  measures.buttonMargin = inPixels(window_, kButtonMarginUnits);
  HWND help = item(IDC_HELP_ICON), helpLabel = item(IDC_HELP_LABEL);
  HWND monitor = item(IDC_MONITOR_ICON), monitorLabel = item(IDC_MONITOR_LABEL);
  measures.helpWidth = sizeOf(help).width;
  measures.helpLabelWidth = sizeOf(helpLabel).width;
  measures.monitorWidth = sizeOf(monitor).width;
  measures.monitorLabelWidth = sizeOf(monitorLabel).width;
  measures.slots = definition_.slotCount;
  if (definition_.slotCount > 0) measures.button = sizeOf(item(definition_.slots[0]));
  const PageLayout places = listPageLayout(measures);

  HDWP moves = BeginDeferWindowPos(16);
  auto place = [&](HWND control, int x, int y, int cx, int cy, UINT flags) {
    if (control && moves) moves = DeferWindowPos(moves, control, nullptr, x, y, cx, cy, flags | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  auto move = [&](HWND control, Point at) { place(control, at.x, at.y, 0, 0, SWP_NOSIZE); };
  move(help, places.help);
  move(helpLabel, places.helpLabel);
  move(monitor, places.monitor);
  move(monitorLabel, places.monitorLabel);
  if (view() && !definition_.columns.empty())
    place(view().handle(), places.list.x, places.list.y, places.list.width, places.list.height, 0);
  for (int slot = 0; slot < static_cast<int>(places.buttons.size()); ++slot) {
    const SlotPlace& p = places.buttons[slot];
    const int height = measures.button.height;
    if (definition_.slots[slot]) place(item(definition_.slots[slot]), p.x, places.buttonTop, p.width, height, 0);
    if (slot < 4 && definition_.alternates[slot])
      place(item(definition_.alternates[slot]), p.x, places.buttonTop, p.width, height, 0);
  }
  if (moves) EndDeferWindowPos(moves);
}

namespace {
// A caption counts as under the mouse when the mouse is over it or over the
// image button above it (the one whose middle lies within its width).
bool isUnderMouse(HWND caption) {
  POINT cursor;
  if (!GetCursorPos(&cursor)) return false;
  HWND below = WindowFromPoint(cursor);
  if (below == caption) return true;
  if (!below || GetParent(below) != GetParent(caption) || !GetPropA(below, kImageButtonProp)) return false;
  RECT captionRect, buttonRect;
  GetWindowRect(caption, &captionRect);
  GetWindowRect(below, &buttonRect);
  const LONG middle = (buttonRect.left + buttonRect.right) / 2;
  return middle >= captionRect.left && middle <= captionRect.right;
}
}  // namespace

void ListPage::drawCaption(const DRAWITEMSTRUCT& draw) {
  char text[128] = {};
  GetWindowTextA(draw.hwndItem, text, sizeof text);
  HDC dc = draw.hDC;
  RECT r = draw.rcItem;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0)));
  const UINT format = std::string(text).find('\n') != std::string::npos ? DT_WORDBREAK | DT_CENTER
                                                                         : DT_CENTER | DT_SINGLELINE | DT_VCENTER;
  RECT shadow = r;
  OffsetRect(&shadow, 1, 1);
  SetTextColor(dc, RGB(192, 192, 192));
  DrawTextA(dc, text, -1, &shadow, format);
  SetTextColor(dc, isUnderMouse(draw.hwndItem) ? RGB(0, 0, 255) : GetSysColor(COLOR_BTNTEXT));
  DrawTextA(dc, text, -1, &r, format);
  SelectObject(dc, oldFont);
}

bool ListPage::onMessage(UINT message, WPARAM, LPARAM lParam, INT_PTR& result) {
  if (message == kLayoutMessage) {
    layout();
    result = TRUE;
    return true;
  }
  if (message == WM_DRAWITEM) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (draw->CtlType != ODT_STATIC) return false;
    drawCaption(*draw);
    result = TRUE;
    return true;
  }
  return false;
}

void ListPage::onDestroy() {
  view().setSmallImages(nullptr);
  images_.reset();
}

}  // namespace tavrin
