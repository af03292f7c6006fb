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
#include "dialogs.h"
#include "image_button.h"
#include "info_dialog.h"
#include "inventory/detection_store.h"
#include "inventory/help_pages.h"
#include "inventory/online_info.h"
#include "inventory/options.h"
#include "inventory/program_file.h"
#include "inventory/string_loader.h"
#include "placement.h"
#include "reports.h"
#include "resource.h"
#include "sheet.h"
#include "sys/message.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/trace.h"
#include "sys/version.h"

namespace tavrin {

void showNoSelectionMessage(HWND owner, bool cookiesPage) {
  messageBox(owner, loadString(cookiesPage ? IDS_NO_COOKIE_SELECTION : IDS_NO_SELECTION),
             loadString(IDS_HELP_CAPTION, 64), MB_ICONQUESTION | MB_TOPMOST, languageId());
}

std::string companyOfProgram(const std::string& programPath) {
  std::string file = programFileOfCommand(programPath);
  VersionRecord version;
  if (programFileExists(file)) readVersionRecord(file, version);
  return version.companyName;
}

namespace {

int addIconOfFile(HIMAGELIST images, const std::string& file, bool exists, int iconIndex) {
  UniqueIcon icon;
  if (exists) ExtractIconExA(file.c_str(), iconIndex, nullptr, icon.put(), 1);
  if (!icon)
    icon.reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_GENERIC_PROGRAM),
                                             IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  return icon ? ImageList_AddIcon(images, icon.get()) : -1;
}

}  // namespace

namespace {

FillTimes fillTimes;

double nowMs() {
  static LARGE_INTEGER frequency{};
  if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

const FillTimes& lastFillTimes() { return fillTimes; }

int addFileIcon(HIMAGELIST images, const std::string& path, int iconIndex) {
  std::string file = programFileOfCommand(path);
  const bool exists = programFileExists(file);
  return addIconOfFile(images, file, exists, iconIndex);
}

void FileIcons::reset(HINSTANCE instance) {
  const int size = GetSystemMetrics(SM_CXSMICON);
  images_.reset(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 16, 64));
  files_.clear();
  known_.clear();
  UniqueIcon program(
      static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, size, size, 0)));
  ImageList_AddIcon(images_.get(), program.get());
}

int FileIcons::imageOf(const std::string& path, int iconIndex) {
  const ProgramFiles::Facts& facts = files_.of(path);
  const auto key = std::make_pair(facts.file, iconIndex);
  const auto known = known_.find(key);
  if (known != known_.end()) return known->second;
  const int added = addIconOfFile(images_.get(), facts.written, facts.exists, iconIndex);
  const int image = added >= 0 ? added : 0;
  known_.emplace(key, image);
  return image;
}

BOOL ListPage::onInit() {
  list_ = item(IDC_LIST);
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
  // Every button of the row has the template's size; taken before any layout
  // narrows the last slot (on the Options page the only one).
  for (int slot = 0; slot < definition_.slotCount && buttonSize_.cx == 0; ++slot)
    if (HWND button = item(definition_.slots[slot])) {
      RECT r;
      GetWindowRect(button, &r);
      buttonSize_ = {r.right - r.left, r.bottom - r.top};
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
  FillTimes times;
  times.started = nowMs();
  state_.entries.clear();
  // What the files and the store said before this fill may have changed.
  files_.clear();
  dates_.clear();
  disabled_.clear();
  // Each folder named by the rows listed once; the files looked up against it.
  FolderListings listings;
  fillEntries();
  double mark = nowMs();
  times.entries = mark - times.started;
  // Icons come when their rows are shown; those met before stay in the list.
  if (!icons_.handle()) icons_.reset(state_.instance);
  view.setSmallImages(icons_.handle());
  view.beginFill(state_.entries.count());
  for (int entry = 0; entry < state_.entries.count(); ++entry) {
    const int row = view.appendRow(entry, state_.entries.name(entry), ListView::kImageLater);
    if (row >= 0) setRowColumns(row, entry);
  }
  times.rows = nowMs() - mark;
  mark = nowMs();
  const int stored = definition_.sortOption ? readOption(definition_.sortOption) : 0;
  if (stored > 0 && stored <= static_cast<int>(definition_.columns.size())) {
    // A refill keeps the order last shown for that column.
    const int column = stored - 1;
    sortRows(column, column == sortedColumn_ && sortedDescending_);
  }
  times.sort = nowMs() - mark;
  mark = nowMs();
  view.endFill();
  view.setFullRowSelect();
  times.finished = nowMs();
  times.end = times.finished - mark;
  fillTimes = times;
}

void ListPage::answerDisplayInfo(LVITEMA& item) {
  const int entry = view().entryOfRow(item.iItem);
  // Rows of an entry list another page has refilled are left to the next fill.
  if (entry < 0 || entry >= state_.entries.count()) return;
  if (item.mask & LVIF_IMAGE) {
    std::string path;
    const int iconIndex = iconEntryPath(entry, path);
    item.iImage = icons_.imageOf(path, iconIndex);
    item.mask |= LVIF_DI_SETITEM;
  }
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    lstrcpynA(item.pszText, laterCellText(entry, item.iSubItem).c_str(), item.cchTextMax);
    item.mask |= LVIF_DI_SETITEM;
  }
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

UINT ListPage::columnHeader(int column) const {
  const auto& columns = definition_.columns;
  return column >= 0 && column < static_cast<int>(columns.size()) ? columns[column] : 0;
}

std::string ListPage::sortKey(int entry, int column) const {
  switch (columnHeader(column)) {
    case IDS_COL_COMPANY: return companyOf(entry);
    case IDS_COL_FIRST_DETECTED: return firstDetectedKey(detectionDate(entry, false));
    default: return column == 0 ? state_.entries.name(entry) : std::string();
  }
}

std::string ListPage::laterCellText(int entry, int column) const {
  return columnHeader(column) == IDS_COL_COMPANY ? companyOf(entry) : std::string();
}

void ListPage::sortRows(int column, bool descending) {
  std::vector<std::string> keys;
  keys.reserve(state_.entries.count());
  for (int entry = 0; entry < state_.entries.count(); ++entry) {
    std::string key = sortKey(entry, column);
    if (keepsDisabledBelow()) key = startupSortKey(key, disabledState(entry) != 0, descending);
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

void ListPage::showSortedBy(int column) {
  if (column < 0 || column >= static_cast<int>(nextDescending_.size())) return;
  sortRows(column, false);
  nextDescending_[column] = true;
}

void ListPage::sortByColumn(int column) {
  if (column < 0 || column >= static_cast<int>(nextDescending_.size())) return;
  const bool descending = nextDescending_[column];
  sortRows(column, descending);
  nextDescending_[column] = !descending;
  if (definition_.sortOption) state_.options.set(definition_.sortOption, column + 1);
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

std::string ListPage::detectionDate(int entry, bool record) const {
  const ProgramFiles::Facts& facts = files_.of(state_.entries.programPath(entry));
  if (!facts.exists) return "";
  const int type = state_.entries.typeCode(entry);
  return record ? dates_.record(facts.file, type) : dates_.dateOf(facts.file, type);
}

std::string ListPage::companyOf(int entry) const {
  return files_.versionOf(state_.entries.programPath(entry)).companyName;
}

int ListPage::disabledState(int entry) const { return disabled_.stateOf(state_.entries.name(entry)); }

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
      if (!ListView::changedState(header)) return false;
      onSelection();
      selectionShown();
      return false;
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
    case LVN_GETDISPINFOA:
      answerDisplayInfo(reinterpret_cast<NMLVDISPINFOA*>(header)->item);
      return true;
    case LVN_GETDISPINFOW: {
      // Asked in wide characters: answered in ours, then converted.
      LVITEMW& wide = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
      char text[1024] = "";
      LVITEMA item{};
      item.mask = wide.mask;
      item.iItem = wide.iItem;
      item.iSubItem = wide.iSubItem;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      answerDisplayInfo(item);
      if (item.mask & LVIF_IMAGE) wide.iImage = item.iImage;
      if ((wide.mask & LVIF_TEXT) && wide.pszText && wide.cchTextMax > 0)
        if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide.pszText, wide.cchTextMax)) wide.pszText[0] = L'\0';
      wide.mask = item.mask;
      return true;
    }
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
    case IDM_REPORT:
      // The report refills the shared entry list with every inventory.
      reportCommand(state_, window_);
      fill();
      return true;
    case IDC_MONITOR_ICON:
      if (patrolCaption() && definition_.patrolOption) {
        const int minutes =
            runPatrolTimeDialog(state_, window_, patrolCaption(), definition_.patrolOption, definition_.realtimeOption);
        if (minutes >= 0) state_.options.set(definition_.patrolOption, minutes);
      }
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
  measures.button = {buttonSize_.cx, buttonSize_.cy};
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
    if (definition_.alternates[slot])
      place(item(definition_.alternates[slot]), p.x, places.buttonTop, p.width, height, 0);
  }
  if (moves) EndDeferWindowPos(moves);
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
    drawImageButtonCaption(*draw, reinterpret_cast<HFONT>(SendMessageA(window_, WM_GETFONT, 0, 0)));
    result = TRUE;
    return true;
  }
  return false;
}

void ListPage::onDestroy() { view().setSmallImages(nullptr); }

}  // namespace tavrin
