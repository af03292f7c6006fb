#include "active_tasks_page.h"

#include <vector>

#include "base/command_text.h"
#include "base/page_rules.h"
#include "inventory/processes.h"
#include "inventory/string_loader.h"

namespace tavrin {
namespace {

class ActiveTasksPage : public ListPage {
 public:
  using ListPage::ListPage;

 protected:
  BOOL onInit() override {
    const BOOL result = ListPage::onInit();
    setDialogText(window_, IDS_BTN_REFRESH, IDC_REFRESH);
    setDialogText(window_, IDS_BTN_KILL_TASK, IDC_KILL_TASK);
    return result;
  }
  void fillEntries() override { listRunningPrograms(state_.entries); }
  // The row shows the program's file; its description follows.
  void setRowColumns(int row, int entry) override {
    const EntryList& list = state_.entries;
    setCell(row, 0, fileNamePart(list.programPath(entry)));
    setCell(row, 1, list.name(entry));
    setCellLater(row, 2);
    setCell(row, 3, detectionDate(entry, true));
  }
  std::string sortKey(int entry, int column) const override {
    const EntryList& list = state_.entries;
    switch (column) {
      case 0: return fileNamePart(list.programPath(entry));
      case 1: return list.name(entry);
      default: return ListPage::sortKey(entry, column);
    }
  }
  bool onCommand(int id, int code, HWND control) override {
    switch (id) {
      case IDC_REFRESH:
        refill();
        return true;
      case IDC_KILL_TASK:
        killSelected();
        return true;
      default:
        return ListPage::onCommand(id, code, control);
    }
  }

 private:
  // Each row carries its entry, so two programs of one file name are told apart.
  void killSelected() {
    const std::vector<int> entries = selectedEntries();
    if (entries.empty()) {
      showNoSelection();
      return;
    }
    for (int entry : entries) killListedTask(state_.entries, entry);
    refill();
  }
};

}  // namespace

std::unique_ptr<ListPage> createActiveTasksPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition) {
  return std::make_unique<ActiveTasksPage>(state, sheet, definition);
}

}  // namespace tavrin
