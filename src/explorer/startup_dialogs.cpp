#include "startup_dialogs.h"

#include "inventory/string_loader.h"
#include "placement.h"
#include "resource.h"
#include "sys/dialog.h"
#include "sys/message.h"

namespace tavrin {
namespace {

// Dialog 198: title, parameters, delay and window state of one program.
class DelayOptionsDialog : public Dialog {
 public:
  DelayOptionsDialog(DelayHive hive, std::string programFile) : hive_(hive), programFile_(std::move(programFile)) {}

 protected:
  BOOL onInit() override {
    SetWindowTextA(window_, loadString(IDS_DELAY_OPTIONS_CAPTION, 128).c_str());
    setDialogText(window_, IDS_DELAY_OPTIONS_HEADING, IDC_DELAY_HEADING);
    setDialogText(window_, IDS_LABEL_TITLE, IDC_DELAY_TITLE_LABEL);
    setDialogText(window_, IDS_LABEL_MINUTES, IDC_DELAY_MINUTES_LABEL);
    setDialogText(window_, IDS_LABEL_SECONDS, IDC_DELAY_SECONDS_LABEL);
    setDialogText(window_, IDS_LABEL_OPEN_AS, IDC_DELAY_OPEN_AS_LABEL);
    setDialogText(window_, IDS_BTN_APPLY, IDOK);
    setDialogText(window_, IDS_BTN_CLOSE, IDCANCEL);
    SendMessageA(item(IDC_DELAY_TITLE), EM_LIMITTEXT, 256, 0);
    SendMessageA(item(IDC_DELAY_PARAMETERS), EM_LIMITTEXT, 256, 0);
    for (int minute = 0; minute <= 60; ++minute) addChoice(IDC_DELAY_MINUTES, std::to_string(minute));
    for (int tens = 0; tens < 6; ++tens) addChoice(IDC_DELAY_SECONDS, std::to_string(tens * 10));
    for (UINT state : {IDS_OPEN_NORMAL, IDS_OPEN_MINIMIZED, IDS_OPEN_MAXIMIZED})
      addChoice(IDC_DELAY_OPEN_AS, loadString(state, 64));
    const DelayedOptions options = readDelayedOptions(hive_, programFile_);
    const int seconds = options.seconds < 0 ? 0 : options.seconds;
    choose(IDC_DELAY_MINUTES, seconds / 60 > 60 ? 60 : seconds / 60);
    choose(IDC_DELAY_SECONDS, (seconds % 60) / 10);
    choose(IDC_DELAY_OPEN_AS, options.windowState);
    setItemText(IDC_DELAY_TITLE, options.title);
    setItemText(IDC_DELAY_PARAMETERS, options.parameters);
    centreWindow(window_);
    return TRUE;
  }
  void onCancel() override { end(0); }
  void onOk() override {
    DelayedOptions options;
    options.seconds = chosen(IDC_DELAY_MINUTES) * 60 + chosen(IDC_DELAY_SECONDS) * 10;
    options.windowState = chosen(IDC_DELAY_OPEN_AS);
    options.title = itemText(IDC_DELAY_TITLE);
    options.parameters = itemText(IDC_DELAY_PARAMETERS);
    writeDelayedOptions(hive_, programFile_, options);
    end(1);
  }

 private:
  void addChoice(int id, const std::string& text) {
    SendMessageA(item(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  void choose(int id, int index) { SendMessageA(item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
  int chosen(int id) const {
    const int index = static_cast<int>(SendMessageA(item(id), CB_GETCURSEL, 0, 0));
    return index < 0 ? 0 : index;
  }
  DelayHive hive_;
  std::string programFile_;
};

// Dialog 199: 1 all users, 2 the current user, 0 cancelled.
class StartupTypeDialog : public Dialog {
 protected:
  BOOL onInit() override {
    SetWindowTextA(window_, loadString(IDS_SCOPE_CAPTION, 128).c_str());
    setDialogText(window_, IDS_SCOPE_QUESTION, IDC_TYPE_QUESTION);
    setDialogText(window_, IDS_SCOPE_ALL_USERS, IDC_TYPE_ALL_USERS);
    setDialogText(window_, IDS_SCOPE_CURRENT_USER, IDC_TYPE_CURRENT_USER);
    CheckRadioButton(window_, IDC_TYPE_ALL_USERS, IDC_TYPE_CURRENT_USER, IDC_TYPE_CURRENT_USER);
    centreWindow(window_);
    return TRUE;
  }
  void onCancel() override { end(0); }
  void onOk() override { end(IsDlgButtonChecked(window_, IDC_TYPE_ALL_USERS) == BST_CHECKED ? 1 : 2); }
};

}  // namespace

bool runDelayOptionsDialog(HINSTANCE instance, HWND owner, DelayHive hive, const std::string& programFile) {
  DelayOptionsDialog dialog(hive, programFile);
  return dialog.runModal(instance, IDD_DELAY_OPTIONS, owner) == 1;
}

bool askStartupType(HINSTANCE instance, HWND owner, DelayHive& hive) {
  StartupTypeDialog scope;
  const INT_PTR answer = scope.runModal(instance, IDD_STARTUP_TYPE, owner);
  if (answer != 1 && answer != 2) return false;
  hive = answer == 1 ? DelayHive::AllUsers : DelayHive::CurrentUser;
  return true;
}

}  // namespace tavrin
