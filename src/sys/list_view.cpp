#include "list_view.h"

#include <climits>

namespace tavrin {
namespace {

int CALLBACK compareEntries(LPARAM first, LPARAM second, LPARAM context) {
  const auto& compare = *reinterpret_cast<const std::function<int(int, int)>*>(context);
  return compare(static_cast<int>(first), static_cast<int>(second));
}

}  // namespace

void ListView::insertColumn(int column, const std::string& title, int width) {
  LVCOLUMNA record{};
  record.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  record.fmt = LVCFMT_LEFT;
  record.cx = width;
  record.pszText = const_cast<char*>(title.c_str());
  record.iSubItem = column;
  SendMessageA(view_, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&record));
}

void ListView::setFullRowSelect() {
  SendMessageA(view_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

void ListView::setCheckBoxes() {
  SendMessageA(view_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
}

void ListView::setSmallImages(HIMAGELIST images) {
  SendMessageA(view_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
}

void ListView::setRedraw(bool on) { SendMessageA(view_, WM_SETREDRAW, on ? TRUE : FALSE, 0); }

void ListView::deleteAllRows() { SendMessageA(view_, LVM_DELETEALLITEMS, 0, 0); }

int ListView::rowOfEntry(int entry) const {
  if (!view_) return -1;
  LVFINDINFOA find{};
  find.flags = LVFI_PARAM;
  find.lParam = entry;
  return static_cast<int>(SendMessageA(view_, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void ListView::deleteRow(int row) {
  if (view_ && row >= 0) SendMessageA(view_, LVM_DELETEITEM, row, 0);
}

void ListView::reserveRows(int rows) { SendMessageA(view_, LVM_SETITEMCOUNT, rows, 0); }

void ListView::beginFill(int rows) {
  setRedraw(false);
  deleteAllRows();
  reserveRows(rows);
}

void ListView::endFill() {
  setRedraw(true);
  InvalidateRect(view_, nullptr, TRUE);
}

int ListView::appendRow(int entry, const std::string& text, int image) {
  LVITEMA row{};
  row.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
  row.iItem = INT_MAX;  // past the end: appended
  row.pszText = const_cast<char*>(text.c_str());
  row.iImage = image;
  row.lParam = entry;
  return static_cast<int>(SendMessageA(view_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row)));
}

void ListView::setCell(int row, int column, const std::string& text) {
  LVITEMA cell{};
  cell.iSubItem = column;
  cell.pszText = const_cast<char*>(text.c_str());
  SendMessageA(view_, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
}

void ListView::setCellLater(int row, int column) {
  LVITEMA cell{};
  cell.iSubItem = column;
  cell.pszText = LPSTR_TEXTCALLBACKA;
  SendMessageA(view_, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
}

int ListView::rowCount() const { return view_ ? static_cast<int>(SendMessageA(view_, LVM_GETITEMCOUNT, 0, 0)) : 0; }

bool ListView::isChecked(int row) const {
  // The state image: 1 unticked, 2 ticked.
  const UINT state = static_cast<UINT>(SendMessageA(view_, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
  return (state & LVIS_STATEIMAGEMASK) >> 12 == 2;
}

void ListView::setChecked(int row, bool checked) {
  LVITEMA state{};
  state.stateMask = LVIS_STATEIMAGEMASK;
  state.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessageA(view_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

int ListView::entryOfRow(int row) const {
  if (!view_ || row < 0) return -1;
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!SendMessageA(view_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return static_cast<int>(item.lParam);
}

int ListView::selectedRow() const {
  if (!view_) return -1;
  return static_cast<int>(SendMessageA(view_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::vector<int> ListView::selectedEntries() const {
  std::vector<int> entries;
  if (!view_) return entries;
  int row = -1;
  while ((row = static_cast<int>(SendMessageA(view_, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
    const int entry = entryOfRow(row);
    if (entry >= 0) entries.push_back(entry);
  }
  return entries;
}

void ListView::selectRow(int row) {
  if (!view_ || row < 0) return;
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = 0;
  // Only the rows that are selected or focused: clearing every row visits thousands.
  for (UINT which : {static_cast<UINT>(LVNI_SELECTED), static_cast<UINT>(LVNI_FOCUSED)}) {
    int marked = -1;
    while ((marked = static_cast<int>(SendMessageA(view_, LVM_GETNEXTITEM, static_cast<WPARAM>(marked), which))) >= 0)
      SendMessageA(view_, LVM_SETITEMSTATE, marked, reinterpret_cast<LPARAM>(&state));
  }
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(view_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  ensureVisible(row);
}

void ListView::ensureVisible(int row) { SendMessageA(view_, LVM_ENSUREVISIBLE, row, FALSE); }

void ListView::sortByEntry(const std::function<int(int, int)>& compare) {
  SendMessageA(view_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&compare), reinterpret_cast<LPARAM>(compareEntries));
}

}  // namespace tavrin
