#include "pages.h"

#include "base/commands.h"
#include "base/entry_tables.h"
#include "base/page_rules.h"
#include "dialogs.h"
#include "inventory/detection_store.h"
#include "inventory/program_file.h"
#include "inventory/startup_enum.h"
#include "resource.h"
#include "sys/version.h"

namespace tavrin {
namespace {

std::string fileNamePart(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string companyOf(const std::string& programPath) {
  std::string file = programFileOfCommand(programPath);
  VersionRecord version;
  if (programFileExists(file)) readVersionRecord(file, version);
  return version.companyName;
}

// Startup Programs: the list of every startup entry. Its own commands
// (disable, remove, add ...) belong to the startup page's work.
class StartupPage : public ListPage {
 public:
  using ListPage::ListPage;

 protected:
  void fillEntries() override {
    enumerateStartup(state_.entries, true, readOption("ShowAllStartup", 0));
  }
  void setRowColumns(int row, int entry) override {
    const EntryList& list = state_.entries;
    const std::string command = (list.flag(entry) == 1 ? "RunDLL32.exe " : "") + fileNamePart(list.programPath(entry));
    setCell(row, 1, command);
    setCell(row, 2, companyOf(list.programPath(entry)));
    setCell(row, 3, list.disabledState(entry) ? loadString(IDS_DISABLED_MARK, 64) : locationName(list.typeCode(entry)));
    setCell(row, 4, detectionDate(entry, true));
  }
  std::string sortKey(int entry, int column) const override {
    const EntryList& list = state_.entries;
    std::string key;
    switch (column) {
      case 0: key = list.name(entry); break;
      case 1: key = fileNamePart(list.programPath(entry)); break;
      case 2: key = companyOf(list.programPath(entry)); break;
      case 3: key = std::to_string(list.typeCode(entry)); break;
      case 4: key = firstDetectedKey(detectionDate(entry, false)); break;
      default: break;
    }
    return key;
  }
  bool comparesPrefixOnly() const override { return true; }
  bool keepsDisabledBelow() const override { return true; }

 private:
  // The first-detection date, recorded now when the file has none yet.
  std::string detectionDate(int entry, bool record) const {
    std::string file = programFileOfCommand(state_.entries.programPath(entry));
    if (!programFileExists(file)) return "";
    std::string date = firstDetectionDate(file, state_.entries.typeCode(entry));
    if (date.empty() && record) {
      recordFirstDetection(file, detectionCategoryOf(state_.entries.typeCode(entry)));
      date = firstDetectionDate(file, state_.entries.typeCode(entry));
    }
    return date;
  }
};

// Options: its settings come with the options work; the History dialog opens from here.
class OptionsPage : public ListPage {
 public:
  using ListPage::ListPage;

 protected:
  bool onCommand(int id, int code, HWND control) override {
    if (id == IDC_OPT_VIEW_HISTORY) {
      HistoryDialog history(state_);
      history.run(window_);
      return true;
    }
    return ListPage::onCommand(id, code, control);
  }
};

}  // namespace

std::unique_ptr<ListPage> createPage(ExplorerState& state, const PageSpec& definition) {
  if (definition.pageId == CMD_STARTUP_PROGRAMS) return std::make_unique<StartupPage>(state, definition);
  if (definition.pageId == CMD_OPTIONS) return std::make_unique<OptionsPage>(state, definition);
  return std::make_unique<ListPage>(state, definition);
}

}  // namespace tavrin
