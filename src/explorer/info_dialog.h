#pragma once
// The program information dialog: everything known locally about an entry's
// file, a personal note, and paging through the list.
#include <string>

#include "sys/dialog.h"
#include "explorer_state.h"
#include "sys/handles.h"

namespace tavrin {

class InfoDialog : public Dialog {
 public:
  InfoDialog(ExplorerState& state, int entry) : state_(state), entry_(entry) {}
  INT_PTR run(HWND owner);
  int entry() const { return entry_; }

 protected:
  BOOL onInit() override;
  bool onCommand(int id, int code, HWND control) override;
  void onOk() override { close(); }
  void onCancel() override { close(); }

 private:
  void fillPanel();
  void applyLayout();
  void close();
  void writeNote();
  void useNoteFont(bool note);
  bool isService() const;
  void showServiceState();
  void stopService();
  void applyStartType();

  ExplorerState& state_;
  int entry_;
  int startType_ = -1;
  std::string file_;
  std::string noteFile_;
  UniqueIcon icon_;
};

}  // namespace tavrin
