#include "file_change_alert.h"

#include "inventory/string_loader.h"
#include "resource.h"
#include "sys/dialog.h"
#include "sys/files.h"
#include "sys/message.h"

namespace tavrin {
namespace {

constexpr char kPlacementName[] = "SysFiles";

class FileChangeAlert : public Dialog {
 public:
  FileChangeAlert(const AlertFonts& fonts, const WatchedFile& file) : fonts_(fonts), file_(file) {}

 private:
  BOOL onInit() override {
    HWND w = handle();
    const std::string caption = loadString(IDS_FILE_CHANGE_CAPTION, 260);
    if (!caption.empty()) SetWindowTextA(w, caption.c_str());
    setDialogText(w, IDS_FILE_CHANGE_INTRO, IDC_FILE_CHANGE_INTRO);
    setDialogText(w, IDS_FILE_CHANGE_ACCEPT_HINT, IDC_FILE_CHANGE_ACCEPT_HINT);
    setDialogText(w, IDS_FILE_CHANGE_REJECT_HINT, IDC_FILE_CHANGE_REJECT_HINT);
    setDialogText(w, IDS_LABEL_FILENAME, IDC_FILE_CHANGE_NAME_LABEL);
    setDialogText(w, IDS_LABEL_LOCATION, IDC_FILE_CHANGE_LOCATION_LABEL);
    setDialogText(w, IDS_BTN_VIEW_NEW_FILE, IDC_FILE_CHANGE_VIEW_NEW);
    setDialogText(w, IDS_BTN_VIEW_PREVIOUS_FILE, IDC_FILE_CHANGE_VIEW_PREVIOUS);
    setDialogText(w, IDS_BTN_ACCEPT_CHANGE, IDC_FILE_CHANGE_ACCEPT);
    setDialogText(w, IDS_BTN_REJECT_CHANGE, IDC_FILE_CHANGE_REJECT);
    setDialogText(w, IDS_CHECK_STOP_MONITORING_FILE, IDC_FILE_CHANGE_STOP_WATCHING);
    setItemText(IDC_FILE_CHANGE_NAME, file_.shortName);
    setItemText(IDC_FILE_CHANGE_LOCATION, file_.location);
    setItemText(IDC_FILE_CHANGE_COMMENT, file_.comment);
    if (fonts_.plain)
      for (int id = IDC_FILE_CHANGE_INTRO; id <= IDC_FILE_CHANGE_REJECT; ++id)
        SendDlgItemMessageA(w, id, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.plain.get()), TRUE);
    restoreAlertPlacement(w, kPlacementName);
    return focusDefaultButton();
  }

  bool onCommand(int id, int, HWND) override {
    switch (id) {
      case IDC_FILE_CHANGE_VIEW_NEW:
        view(file_.location);
        return true;
      case IDC_FILE_CHANGE_VIEW_PREVIOUS:
        view(keptCopyPath(file_.shortName));
        return true;
      case IDC_FILE_CHANGE_ACCEPT:
      case IDC_FILE_CHANGE_REJECT: {
        const bool stopWatching = IsDlgButtonChecked(handle(), IDC_FILE_CHANGE_STOP_WATCHING) == BST_CHECKED;
        const int done = id == IDC_FILE_CHANGE_ACCEPT ? acceptFileChange(file_, stopWatching)
                                                      : rejectFileChange(file_, stopWatching);
        if (!done) systemErrorBox(languageId());
        end(done);
        return true;
      }
      default:
        return false;
    }
  }
  void onOk() override {}
  void onCancel() override { end(0); }

  void onDestroy() override { saveAlertPlacement(handle(), kPlacementName); }

  void view(const std::string& path) {
    if (!openInNotepad(path)) systemErrorBox(languageId());
  }

  const AlertFonts& fonts_;
  WatchedFile file_;
};

}  // namespace

int showFileChangeAlert(HINSTANCE instance, HWND owner, const AlertFonts& fonts, const WatchedFile& file) {
  FileChangeAlert dialog(fonts, file);
  const INT_PTR result = dialog.runModal(instance, IDD_FILE_CHANGE_ALERT, owner);
  return result == 1 ? 1 : 0;
}

}  // namespace tavrin
