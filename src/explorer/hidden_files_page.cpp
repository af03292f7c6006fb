#include "hidden_files_page.h"

#include "base/command_text.h"
#include "base/page_rules.h"
#include "inventory/hidden_files.h"
#include "inventory/program_file.h"
#include "inventory/string_loader.h"
#include "sys/message.h"

namespace tavrin {
namespace {

// Minutes are enough in the list. Only the seconds go: cutting the text at a
// fixed width would also drop an AM/PM mark after them.
std::string withoutSeconds(std::string text) {
  const std::size_t minutes = text.find(':');
  const std::size_t seconds = minutes == std::string::npos ? minutes : text.find(':', minutes + 1);
  if (seconds == std::string::npos) return text;
  std::size_t end = seconds + 1;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  return text.erase(seconds, end - seconds);
}

class HiddenFilesPage : public ListPage {
 public:
  using ListPage::ListPage;

 protected:
  BOOL onInit() override {
    const BOOL result = ListPage::onInit();
    setDialogText(window_, IDS_BTN_REFRESH, IDC_REFRESH);
    setDialogText(window_, IDS_BTN_UNHIDE, IDC_UNHIDE);
    return result;
  }
  void fillEntries() override { enumerateHiddenFiles(state_.entries); }
  void setRowColumns(int row, int entry) override {
    const std::string path = state_.entries.programPath(entry);
    setCell(row, 0, fileNamePart(path));
    setCell(row, 1, folderOfProgram(path));
    setCell(row, 2, detectionDate(entry, true));
    std::string written;
    setCell(row, 3, lastWrittenText(path, written) ? withoutSeconds(written) : loadString(IDS_FILE_IN_USE, 64));
    setCell(row, 4, state_.entries.flag(entry) == 0 ? "SYSTEM" : "");
  }
  std::string sortKey(int entry, int column) const override {
    const std::string path = state_.entries.programPath(entry);
    std::string written;
    switch (column) {
      case 0: return fileNamePart(path);
      case 1: return folderOfProgram(path);
      case 3: return lastWrittenText(path, written) ? firstDetectedKey(written) : " ";
      case 4: return std::to_string(state_.entries.flag(entry));
      default: return ListPage::sortKey(entry, column);
    }
  }
  UINT patrolCaption() const override { return IDS_PATROL_HIDDEN; }
  // The path is the file itself, not a command whose program is to be found.
  std::string entryFile(int entry) const override { return state_.entries.programPath(entry); }
  bool onCommand(int id, int code, HWND control) override {
    if (id == IDC_REFRESH) {
      refill();
      return true;
    }
    if (id != IDC_UNHIDE && id != IDM_DELETE_HIDDEN && id != IDM_VIEW_NOTEPAD) return ListPage::onCommand(id, code, control);
    const int entry = selectedEntry();
    if (entry < 0) {
      showNoSelection();
      return true;
    }
    const std::string path = entryFile(entry);
    switch (id) {
      case IDC_UNHIDE:
        unhideFile(path);
        refill();
        break;
      case IDM_DELETE_HIDDEN:
        deleteToVault(entry, path);
        break;
      default:
        if (!viewInNotepad(path)) systemErrorBox(languageId());
        break;
    }
    return true;
  }

 private:
  void deleteToVault(int entry, const std::string& path) {
    if (messageBox(window_, loadString(IDS_CONFIRM_DELETE_HIDDEN), loadString(IDS_CAPTION, 32),
                   MB_YESNO | MB_ICONSTOP | MB_TOPMOST, languageId()) != IDYES)
      return;
    const std::string name = state_.entries.name(entry);
    quarantineFile(name.empty() ? fileNamePart(path) : name, path);
    refill();
  }
};

}  // namespace

std::unique_ptr<ListPage> createHiddenFilesPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition) {
  return std::make_unique<HiddenFilesPage>(state, sheet, definition);
}

}  // namespace tavrin
