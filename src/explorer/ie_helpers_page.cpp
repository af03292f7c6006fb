#include "ie_helpers_page.h"

#include "base/command_text.h"
#include "base/entry_tables.h"
#include "base/ie_helper_rules.h"
#include "base/page_rules.h"
#include "base/text.h"
#include "inventory/ie_helpers.h"
#include "inventory/string_loader.h"
#include "sheet.h"

namespace tavrin {
namespace {

const char* addOnTypeText(int typeCode) {
  switch (typeCode) {
    case typecode::kBrowserHelper: return "BHO";
    case typecode::kToolbar: return "TOOLBAR";
    default: return "EXTENSION";
  }
}

class IEHelpersPage : public ListPage {
 public:
  using ListPage::ListPage;

 protected:
  void fillEntries() override { enumerateIEHelpers(state_.entries); }
  // An extension's button icon stands for it when it has one.
  int iconEntryPath(int entry, std::string& path) const override {
    path = contains(state_.entries.detail(entry), ".ico") ? state_.entries.detail(entry) : state_.entries.programPath(entry);
    return 0;
  }
  void setRowColumns(int row, int entry) override {
    const EntryList& list = state_.entries;
    setCell(row, 1, fileNamePart(list.programPath(entry)));
    setCellLater(row, 2);
    setCell(row, 3, addOnTypeText(list.typeCode(entry)));
    setCell(row, 4, detectionDate(entry, true));
  }
  std::string sortKey(int entry, int column) const override {
    const EntryList& list = state_.entries;
    switch (column) {
      case 1: return fileNamePart(list.programPath(entry));
      case 3: return std::to_string(list.typeCode(entry));
      default: return ListPage::sortKey(entry, column);
    }
  }
  UINT patrolCaption() const override { return IDS_PATROL_IE_HELPERS; }
  // The registry key says more about an add-on than its module's path.
  void selectionShown() override {
    const int entry = selectedEntry();
    if (entry >= 0)
      sheet_.setStatusText(loadString(IDS_LOCATION, 64) + ": " + addOnLocation(state_.entries.typeCode(entry)));
  }
  bool onCommand(int id, int code, HWND control) override {
    if (id != IDC_REMOVE) return ListPage::onCommand(id, code, control);
    const int entry = selectedEntry();
    if (entry < 0) {
      showNoSelection();
      return true;
    }
    confirmAndRemoveIEHelper(state_.entries, entry, window_, loadString(IDS_CAPTION, 32));
    refill();
    return true;
  }
};

}  // namespace

std::unique_ptr<ListPage> createIEHelpersPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition) {
  return std::make_unique<IEHelpersPage>(state, sheet, definition);
}

}  // namespace tavrin
