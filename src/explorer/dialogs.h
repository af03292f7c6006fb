#pragma once
// The History dialog, the protective warning and the program's message dialog.
#include <string>

#include "explorer_state.h"
#include "list_page.h"
#include "inventory/startup_actions.h"
#include "resource.h"
#include "sys/dialog.h"
#include "sys/list_view.h"

namespace tavrin {

class HistoryDialog : public Dialog {
 public:
  explicit HistoryDialog(ExplorerState& state);
  INT_PTR run(HWND owner) { return runModal(state_.instance, IDD_HISTORY_TEMPLATE, owner); }

 protected:
  BOOL onInit() override;
  bool onCommand(int id, int code, HWND control) override;
  bool onNotify(NMHDR* header, LRESULT& result) override;
  bool onContextMenu(HWND from, POINT at) override;
  void onDestroy() override;

 private:
  static constexpr int IDD_HISTORY_TEMPLATE = 141;
  void reload();
  ListView view() const { return ListView(item(IDC_LIST)); }
  int selectedEntry() const;
  void updateRestoreButton();
  void restoreSelected(bool restorableOnly);

  ExplorerState& state_;
  EntryList rows_;
  FileIcons icons_;
};

// Dialog 194: 6 (Yes) only when OK is pressed with the box checked, else 7 (No).
int showProtectiveWarning(ExplorerState& state, HWND owner, const std::string& name, const std::string& programPath);
// The Explorer's answer before a key startup location is removed.
ConfirmKeyLocationRemoval protectiveWarning(ExplorerState& state, HWND owner);

// Set Patrol Time (dialog 160): the typed minutes (0 or more) on OK, -1 on
// Cancel. Updates the real-time flag itself when `realtimeOption` is given.
int runPatrolTimeDialog(ExplorerState& state, HWND owner, UINT caption, const char* patrolOption,
                        const char* realtimeOption);

}  // namespace tavrin
