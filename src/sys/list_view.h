#pragma once
// A report-mode list view as the pages and dialogs use it. Every row carries
// the index of its entry in the entry list (lParam): a row reads back as its
// entry, and rows are ordered by comparing entries, never by the text shown.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace tavrin {

class ListView {
 public:
  ListView() = default;
  explicit ListView(HWND view) : view_(view) {}
  HWND handle() const { return view_; }
  explicit operator bool() const { return view_ != nullptr; }

  void insertColumn(int column, const std::string& title, int width);
  void setFullRowSelect();
  // A check box in front of every row.
  void setCheckBoxes();
  // The list does not own the images (the templates say LVS_SHAREIMAGELISTS).
  void setSmallImages(HIMAGELIST images);

  // Drawing stays off between setRedraw(false) and setRedraw(true).
  void setRedraw(bool on);
  void deleteAllRows();
  // Room for `rows` rows, asked for before a long fill.
  void reserveRows(int rows);
  // A long fill: every row deleted, drawing off and room for `rows` rows;
  // endFill draws the list once, complete.
  void beginFill(int rows);
  void endFill();
  // An image or cell given as `kLater` is asked for (LVN_GETDISPINFO) only when
  // the row is shown: what costs a file read is never paid for rows nobody sees.
  static constexpr int kImageLater = I_IMAGECALLBACK;
  // Appends a row for `entry` showing `text` and image `image`; its position or -1.
  int appendRow(int entry, const std::string& text, int image);
  void setCell(int row, int column, const std::string& text);
  void setCellLater(int row, int column);
  int rowCount() const;
  bool isChecked(int row) const;
  void setChecked(int row, bool checked);

  // The entry a row carries; -1 for a row that does not exist.
  int entryOfRow(int row) const;
  // The row carrying `entry`; -1 when none does.
  int rowOfEntry(int entry) const;
  void deleteRow(int row);
  // The first selected row, -1 when none is.
  int selectedRow() const;
  int selectedEntry() const { return entryOfRow(selectedRow()); }
  // Entries of every selected row, in row order.
  std::vector<int> selectedEntries() const;
  // Only `row` selected and focused, and scrolled into view.
  void selectRow(int row);
  void ensureVisible(int row);

  // Whether an LVN_ITEMCHANGED changed a row's state (its selection): every
  // cell set sends one too, thousands in a fill, which nobody need answer.
  static bool changedState(const NMHDR* header) {
    return (reinterpret_cast<const NMLISTVIEW*>(header)->uChanged & LVIF_STATE) != 0;
  }

  // Orders the rows by their entries: a negative `compare(a, b)` puts entry a first.
  void sortByEntry(const std::function<int(int, int)>& compare);

 private:
  HWND view_ = nullptr;
};

}  // namespace tavrin
