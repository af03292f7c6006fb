#include "task_service_pages.h"

#include "base/command_text.h"
#include "base/commands.h"
#include "base/entry_tables.h"
#include "base/page_rules.h"
#include "base/task_service_text.h"
#include "inventory/options.h"
#include "inventory/program_file.h"
#include "inventory/scheduled_tasks.h"
#include "inventory/service_control.h"
#include "inventory/services.h"
#include "inventory/signer.h"
#include "inventory/string_loader.h"
#include "resource.h"

namespace tavrin {
namespace {

class ScheduledTasksPage : public ListPage {
 public:
  using ListPage::ListPage;

 protected:
  UINT patrolCaption() const override { return IDS_PATROL_TASKS; }
  void fillEntries() override { enumerateTasks(state_.entries); }
  void setRowColumns(int row, int entry) override {
    const EntryList& list = state_.entries;
    // The scheduler lists its task files; the user knows the task by its name.
    setCell(row, 0, taskNameWithoutJob(list.name(entry)));
    setCell(row, 1, fileNamePart(list.programPath(entry)));
    setCellLater(row, 2);
    setCell(row, 3, list.key(entry));
    setCell(row, 4, list.detail(entry));
  }
  // Each run-time column sorts by its own field, in time order.
  std::string sortKey(int entry, int column) const override {
    const EntryList& list = state_.entries;
    switch (column) {
      case 0: return taskNameWithoutJob(list.name(entry));
      case 1: return fileNamePart(list.programPath(entry));
      case 3: return taskRunTimeKey(list.key(entry));
      case 4: return taskRunTimeKey(list.detail(entry));
      default: return ListPage::sortKey(entry, column);
    }
  }
  bool onCommand(int id, int code, HWND control) override {
    switch (id) {
      case IDC_REMOVE: {
        const int entry = selectedEntry();
        if (entry < 0) {
          showNoSelection();
          return true;
        }
        if (confirmAndRemoveScheduledTask(state_.entries.name(entry), window_, loadString(IDS_CAPTION, 32))) refill();
        return true;
      }
      default:
        return ListPage::onCommand(id, code, control);
    }
  }
};

class ServicesPage : public ListPage {
 public:
  using ListPage::ListPage;

 protected:
  UINT patrolCaption() const override { return IDS_PATROL_SERVICES; }
  BOOL onInit() override {
    const BOOL result = ListPage::onInit();
    setDialogText(window_, IDS_CHECK_NON_MICROSOFT_SERVICES, IDC_HIDE_MICROSOFT);
    CheckDlgButton(window_, IDC_HIDE_MICROSOFT, readOption("HideMicrosoftServices") > 0 ? BST_CHECKED : BST_UNCHECKED);
    HWND sheet = GetParent(window_);
    ShowWindow(GetDlgItem(sheet, IDOK), SW_HIDE);
    SetDlgItemTextA(sheet, IDCANCEL, loadString(IDS_BTN_CLOSE, 32).c_str());
    return result;
  }
  // The page shows every service at once; with the Microsoft filter on, the
  // rows of files verified as Microsoft's leave as a worker finds them.
  void fillEntries() override {
    signers_.reset();
    ++fill_;
    enumerateServices(state_.entries, false);
    if (readOption("HideMicrosoftServices") <= 0) return;
    std::vector<std::string> programs;
    for (int entry = 0; entry < state_.entries.count(); ++entry) programs.push_back(state_.entries.programPath(entry));
    HWND page = window_;
    const LPARAM fill = fill_;
    signers_ = std::make_unique<SignerWorker>(programs, [page, fill](std::size_t entry, const Signer& signer) {
      if (signer.state == SignatureState::kVerified && isMicrosoftSignerName(signer.text))
        PostMessageA(page, kSignerMessage, entry, fill);
    });
  }
  bool onKillActive() override {
    signers_.reset();
    return ListPage::onKillActive();
  }
  void onDestroy() override {
    signers_.reset();
    ListPage::onDestroy();
  }
  void setRowColumns(int row, int entry) override {
    const EntryList& list = state_.entries;
    setCell(row, 1, programText(entry));
    setCellLater(row, 2);
    setCell(row, 3, orBlank(statusText(entry)));
    setCell(row, 4, list.key(entry));
    setCell(row, 5, detectionDate(entry, true));
  }
  std::string laterCellText(int entry, int column) const override {
    return column == 2 ? orBlank(companyOf(entry)) : std::string();
  }
  std::string sortKey(int entry, int column) const override {
    const EntryList& list = state_.entries;
    switch (column) {
      case 1: return fileNamePart(list.programPath(entry));
      case 3: return statusText(entry);
      case 4: return list.key(entry);
      default: return ListPage::sortKey(entry, column);
    }
  }
  bool onCommand(int id, int code, HWND control) override {
    switch (id) {
      case IDC_HIDE_MICROSOFT:
        if (code == BN_CLICKED) {
          state_.options.set("HideMicrosoftServices",
                             IsDlgButtonChecked(window_, IDC_HIDE_MICROSOFT) == BST_CHECKED ? 1 : 0);
          refill();
        }
        return true;
      default:
        return ListPage::onCommand(id, code, control);
    }
  }
  // The box's text is longer than a button: it takes the empty slot beside it.
  bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
    if (message == kSignerMessage) {
      // A verdict for an earlier fill names rows that are gone.
      if (lParam == fill_) view().deleteRow(view().rowOfEntry(static_cast<int>(wParam)));
      return true;
    }
    const bool handled = ListPage::onMessage(message, wParam, lParam, result);
    if (message != kLayoutMessage) return handled;
    RECT box, close;
    GetWindowRect(item(IDC_HIDE_MICROSOFT), &box);
    GetWindowRect(item(IDC_CLOSE_PAGE), &close);
    const int gap = GetSystemMetrics(SM_CXVSCROLL);
    if (close.left - gap > box.left)
      SetWindowPos(item(IDC_HIDE_MICROSOFT), nullptr, 0, 0, close.left - gap - box.left, box.bottom - box.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return handled;
  }

 private:
  static std::string orBlank(const std::string& text) { return text.empty() ? " " : text; }
  std::unique_ptr<SignerWorker> signers_;
  LPARAM fill_ = 0;
  std::string programText(int entry) const {
    const std::string file = fileNamePart(state_.entries.programPath(entry));
    return state_.entries.typeCode(entry) == typecode::kServiceSvchost ? "svchost.exe " + file : file;
  }
  std::string statusText(int entry) const {
    std::string text;
    serviceRunStateText(state_.entries.name(entry), text);
    return text;
  }
};

}  // namespace

std::unique_ptr<ListPage> createScheduledTasksPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition) {
  return std::make_unique<ScheduledTasksPage>(state, sheet, definition);
}

std::unique_ptr<ListPage> createServicesPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition) {
  return std::make_unique<ServicesPage>(state, sheet, definition);
}

}  // namespace tavrin
