#include "file_types_page.h"

#include "dialogs.h"
#include "inventory/file_types.h"
#include "inventory/options.h"
#include "inventory/string_loader.h"
#include "placement.h"
#include "resource.h"
#include "sys/message.h"
#include "inventory/program_file.h"
#include "sys/version.h"

namespace tavrin {
namespace {

constexpr int kClassColumn = 3;
constexpr char kAddPlacement[] = "PosAddFileType";

const char* kindText(int kind) {
  switch (kind) {
    case association::kClass: return "System";
    case association::kApplication:
    case association::kProgId: return "Explorer";
    case association::kRootClass: return "Root";
    default: return "";
  }
}

// Dialog 144: one extension typed; a refusal is shown and the dialog stays.
class AddFileTypeDialog : public Dialog {
 public:
  explicit AddFileTypeDialog(ExplorerState& state) : state_(state) {}

 protected:
  BOOL onInit() override {
    const std::string caption = loadString(IDS_ADD_FILE_TYPE_CAPTION, 128);
    if (!caption.empty()) SetWindowTextA(window_, caption.c_str());
    setDialogText(window_, IDS_ADD_FILE_TYPE_INTRO, IDC_ADD_TYPE_INTRO);
    setDialogText(window_, IDS_BTN_ADD_FILE_TYPE, IDOK);
    setDialogText(window_, IDS_BTN_CLOSE, IDCANCEL);
    SendMessageA(item(IDC_ADD_TYPE_EDIT), EM_LIMITTEXT, 255, 0);
    restoreDialogPlacement(state_, window_, kAddPlacement);
    SetFocus(item(IDC_ADD_TYPE_EDIT));
    return FALSE;
  }
  void onOk() override {
    const int refusal = addMonitoredExtension(itemText(IDC_ADD_TYPE_EDIT));
    if (refusal) {
      showMessageDialog(state_, static_cast<UINT>(refusal));
      SetFocus(item(IDC_ADD_TYPE_EDIT));
      return;
    }
    savePlacement(state_, window_, kAddPlacement);
    end(IDOK);
  }

 private:
  ExplorerState& state_;
};

class FileTypesPage : public ListPage {
 public:
  using ListPage::ListPage;

 protected:
  UINT patrolCaption() const override { return IDS_PATROL_FILE_TYPES; }
  BOOL onInit() override {
    const BOOL result = ListPage::onInit();
    setDialogText(window_, IDS_BTN_ADD, IDC_ADD);
    return result;
  }
  void onSetActive() override {
    ListPage::onSetActive();
    showSortedBy(kClassColumn);
    selectRow(0);
  }
  void fillEntries() override { enumerateFileTypes(state_.entries); }
  // The extension's own icon when it names one, else the program's.
  int iconEntryPath(int entry, std::string& path) const override {
    int index = 0;
    if (fileTypeIcon(state_.entries.detail(entry), path, index)) return index;
    fileTypeProgramText(state_.entries.programPath(entry), &path);
    return 0;
  }
  void setRowColumns(int row, int entry) override {
    for (int column = 1; column <= 5; ++column) setCell(row, column, sortKey(entry, column));
  }
  std::string sortKey(int entry, int column) const override {
    const EntryList& list = state_.entries;
    switch (column) {
      case 0: return list.name(entry);
      case 1: return fileTypeProgramText(list.programPath(entry));
      case 2: return programCompany(entry);
      case 3: return list.key(entry);
      case 4: return list.detail(entry);
      case 5: return kindText(list.flag(entry));
      default: return "";
    }
  }
  bool onCommand(int id, int code, HWND control) override {
    switch (id) {
      case IDC_ADD: {
        AddFileTypeDialog dialog(state_);
        if (dialog.runModal(state_.instance, IDD_ADD_FILE_TYPE, window_) == IDOK) refillByClass();
        return true;
      }
      case IDC_REMOVE: {
        const int entry = selectedEntry();
        if (entry < 0) {
          messageBox(window_, loadString(IDS_NO_FILE_TYPE_SELECTION), loadString(IDS_HELP_CAPTION, 64),
                     MB_ICONQUESTION | MB_TOPMOST, languageId());
          return true;
        }
        removeMonitoredExtension(state_.entries.detail(entry));
        refillByClass();
        return true;
      }
      default:
        return ListPage::onCommand(id, code, control);
    }
  }

 private:
  void refillByClass() {
    refill();
    showSortedBy(kClassColumn);
  }
  std::string programCompany(int entry) const {
    std::string file;
    fileTypeProgramText(state_.entries.programPath(entry), &file);
    VersionRecord version;
    if (!file.empty() && programFileExists(file)) readVersionRecord(file, version);
    return version.companyName;
  }
};

}  // namespace

std::unique_ptr<ListPage> createFileTypesPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition) {
  return std::make_unique<FileTypesPage>(state, sheet, definition);
}

}  // namespace tavrin
