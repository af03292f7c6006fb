#pragma once
// The machine every inventory page shares: list view with icons, columns
// sized by fraction, remembered sorting, context menu, image buttons, the
// status-bar line and the layout routine.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "explorer_state.h"
#include "inventory/detection_store.h"
#include "inventory/entry_list.h"
#include "inventory/program_file.h"
#include "page_definitions.h"
#include "resource.h"
#include "sys/dialog.h"
#include "sys/list_view.h"

namespace tavrin {

class Sheet;

// The icons of program files in one image list, each file's icon extracted
// once however many rows name it. Image 0 is the program's own icon, shown
// where no icon can be made.
class FileIcons {
 public:
  // A fresh list (the old one and its icons gone).
  void reset(HINSTANCE instance);
  HIMAGELIST handle() const { return images_.get(); }
  int imageOf(const std::string& path, int iconIndex);

 private:
  UniqueImageList images_;
  ProgramFiles files_;
  std::map<std::pair<std::string, int>, int> known_;
};

// When the last fill of any list page began and where its time went, in
// milliseconds of the performance counter; the page benchmark reads it.
struct FillTimes {
  double started = 0;
  double entries = 0;  // the inventory's enumeration
  double rows = 0;     // rows and their cells put into the list view
  double sort = 0;     // keys made and the rows ordered
  double end = 0;      // drawing switched back on
  double finished = 0;
};
const FillTimes& lastFillTimes();

class ListPage : public PropertyPage {
 public:
  ListPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition)
      : state_(state), sheet_(sheet), definition_(definition) {}
  const PageDefinition& definition() const { return definition_; }

  // Column click: sort, flip the column's flag, store the page's sort option.
  void sortByColumn(int column);
  // The fill pattern: entries from the inventory, icons, rows, stored sort.
  void fill();
  // Fills again after a change and selects the same row (or the last one).
  void refill();

 protected:
  BOOL onInit() override;
  bool onCommand(int id, int code, HWND control) override;
  // The list's notifications; the sheet's come as the three calls below.
  bool onNotify(NMHDR* header, LRESULT& result) override;
  // Shown: fill when the entry list is empty, select the first row, report to the sheet.
  void onSetActive() override;
  // Left: the sheet empties the entry list and saves its place.
  bool onKillActive() override;
  bool onQueryCancel() override;
  bool onContextMenu(HWND from, POINT at) override;
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
  void onDestroy() override;

  // Fills the entry list from the page's inventory; nothing until that inventory exists.
  virtual void fillEntries() {}
  // Sets the columns after the first of a row. A cell that costs a file read
  // is better given by setCellLater and answered by laterCellText, which is
  // asked only once the row is shown.
  virtual void setRowColumns(int /*row*/, int /*entry*/) {}
  // By default the Company column: the maker in the program's version record.
  virtual std::string laterCellText(int entry, int column) const;
  // By default: Company and First Detected by their headers, else the name in column 0.
  virtual std::string sortKey(int entry, int column) const;
  // Startup and Delayed Start compare only the common prefix of two keys.
  virtual bool comparesPrefixOnly() const { return false; }
  virtual bool keepsDisabledBelow() const { return false; }
  virtual int iconEntryPath(int entry, std::string& path) const;
  // After the page showed a selection change (and after activation).
  virtual void selectionShown() {}
  virtual void onRowDoubleClick() { showInfo(); }

  // Kept from creation: a look-up by id asks Wine's server every time, and a fill sets thousands of cells.
  ListView view() const { return ListView(list_ ? list_ : item(IDC_LIST)); }
  // The string id of a column's header; 0 outside the page's columns.
  UINT columnHeader(int column) const;
  int selectedEntry() const;
  // Entries of every selected row.
  std::vector<int> selectedEntries() const;
  int selectedRow() const;
  void selectRow(int row);
  void setCell(int row, int column, const std::string& text);
  void setCellLater(int row, int column) { view().setCellLater(row, column); }
  void showNoSelection();
  void showInfo();
  void closePage();
  void updateMonitorIcon();
  // Sorts ascending by the column without storing it as the page's sort; a
  // click on that column then reverses the order.
  void showSortedBy(int column);
  // The entry's first-detection date; with `record`, an entry without one is
  // dated now. Each program file is looked up once a fill, the dates read in
  // one pass over their key.
  std::string detectionDate(int entry, bool record) const;
  // The company name of the entry's program file, its version resource read once a fill.
  std::string companyOf(int entry) const;
  // The entry's disabled marker (EntryList::disabledState), the markers read once a fill.
  int disabledState(int entry) const;
  // Asks string 800, then deletes `file` at the next restart and refills; a refusal is shown.
  void deleteFileOnReboot(const std::string& file);
  // The file the menu's explore, properties and delete-on-reboot act on: the program of the entry's command.
  virtual std::string entryFile(int entry) const;
  // The caption of the page's Set Patrol Time dialog; 0 for a page without one.
  virtual UINT patrolCaption() const { return 0; }

  ExplorerState& state_;
  Sheet& sheet_;
  const PageDefinition& definition_;

 private:
  // The one sort: keys from the entry list, compared by the page's rule.
  void sortRows(int column, bool descending);
  void insertColumns();
  // A shown row's icon or later cell.
  void answerDisplayInfo(LVITEMA& item);
  void onSelection();
  void layout();
  void runMenuCommand(int id);
  bool closed_ = false;
  HWND list_ = nullptr;
  SIZE buttonSize_{0, 0};
  FileIcons icons_;
  mutable ProgramFiles files_;
  mutable DetectionDates dates_;
  mutable DisabledMarkers disabled_;
  // Direction of each column's next sort; the last sort shown, which a refill repeats.
  std::vector<bool> nextDescending_;
  int sortedColumn_ = -1;
  bool sortedDescending_ = false;
};

// Common services the pages and dialogs share.
void showNoSelectionMessage(HWND owner, bool cookiesPage);
// The program's message dialog (template 184) with string `text`.
void showMessageDialog(ExplorerState& state, UINT text, const std::string& caption = "");
// Company name of the program file of a command; empty when it has none.
std::string companyOfProgram(const std::string& programPath);
// Adds the icon of the entry's file (else the generic program icon); the image index or -1.
int addFileIcon(HIMAGELIST images, const std::string& path, int iconIndex);

}  // namespace tavrin
