#include "restart_commands.h"

#include <string>

#include "base/file_watch_rules.h"
#include "string_loader.h"
#include "string_ids.h"
#include "sys/dialog.h"
#include "sys/files.h"
#include "sys/message.h"
#include "sys/paths.h"

namespace tavrin {
namespace {

class RestartCommandsDialog : public Dialog {
 public:
  RestartCommandsDialog(std::string path, std::string text) : path_(std::move(path)), text_(std::move(text)) {}

 private:
  BOOL onInit() override {
    const std::string caption = loadString(IDS_RESTART_COMMANDS_CAPTION, 260);
    if (!caption.empty()) SetWindowTextA(handle(), caption.c_str());
    setItemText(IDC_RESTART_FILE, path_);
    setItemText(IDC_RESTART_TEXT, restartCommandsDisplay(text_));
    setItemText(IDC_RESTART_LEGEND,
                "NUL=   Indicates the file will be deleted on restart\r\nREN=   Indicates the file will be renamed.");
    setDialogText(handle(), IDS_BTN_CLOSE, IDCANCEL);
    return focusDefaultButton();
  }

  std::string path_, text_;
};

}  // namespace

int showRestartCommands(HINSTANCE instance, HWND owner, bool quiet) {
  const std::string windows = windowsFolder();
  if (!fileExists(windows + "\\wininit.exe")) return 0;
  const std::string path = windows + "\\wininit.ini";
  std::string text;
  if (readFileText(path, kRestartTextLimit, text) && !text.empty()) {
    if (!quiet) {
      RestartCommandsDialog dialog(path, text);
      dialog.runModal(instance, IDD_RESTART_COMMANDS, owner);
    }
    return 1;
  }
  if (!quiet)
    messageBox(owner, loadString(IDS_NO_RESTART_COMMANDS), loadString(IDS_RESTART_COMMANDS_CAPTION, 260),
               MB_OK | MB_ICONINFORMATION, languageId());
  return 0;
}

}  // namespace tavrin
