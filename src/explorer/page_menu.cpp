// The list pages' context menu and the commands only the menu offers.
#include "list_page.h"

#include <shellapi.h>

#include "base/commands.h"
#include "inventory/data_folder.h"
#include "inventory/hidden_files.h"
#include "inventory/program_file.h"
#include "inventory/string_loader.h"
#include "sys/handles.h"
#include "sys/message.h"

namespace tavrin {
namespace {

void appendItem(HMENU menu, UINT text, int command) {
  AppendMenuA(menu, MF_STRING, command, loadString(text, 128).c_str());
}

}  // namespace

void ListPage::deleteFileOnReboot(const std::string& file) {
  if (messageBox(window_, loadString(IDS_CONFIRM_DELETE_ON_REBOOT), loadString(IDS_CAPTION, 32),
                 MB_YESNO | MB_ICONSTOP | MB_TOPMOST, languageId()) != IDYES)
    return;
  if (!deleteAtRestart(file)) systemErrorBox(languageId());
  refill();
}

std::string ListPage::entryFile(int entry) const {
  std::string file = programFileOfCommand(state_.entries.programPath(entry));
  programFileExists(file);
  return file;
}

void ListPage::runMenuCommand(int id) {
  const int entry = selectedEntry();
  if (entry < 0) {
    showNoSelection();
    return;
  }
  const std::string file = entryFile(entry);
  switch (id) {
    case IDM_DELETE_ON_REBOOT:
      deleteFileOnReboot(file);
      break;
    case IDM_VIEW_NOTE: {
      const std::string note = existingNoteFile(state_.entries.programPath(entry));
      if (!note.empty()) ShellExecuteA(window_, "open", note.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      break;
    }
    case IDM_EXPLORE_FOLDER: {
      const std::string folder = folderOfProgram(file);
      if (!folder.empty()) ShellExecuteA(window_, "explore", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      break;
    }
    case IDM_PROPERTIES: {
      SHELLEXECUTEINFOA info{};
      info.cbSize = sizeof info;
      info.fMask = SEE_MASK_INVOKEIDLIST;
      info.hwnd = window_;
      info.lpVerb = "properties";
      info.lpFile = file.c_str();
      info.nShow = SW_SHOWNORMAL;
      ShellExecuteExA(&info);
      break;
    }
    default:
      break;
  }
}

bool ListPage::onContextMenu(HWND from, POINT at) {
  if (from != view().handle()) return false;
  const int entry = selectedEntry();
  if (entry < 0) return true;
  UniqueMenu menu(CreatePopupMenu());
  HMENU m = menu.get();
  const bool hasNote = !existingNoteFile(state_.entries.programPath(entry)).empty();
  const int page = definition_.pageId;
  auto standardHead = [&] {
    appendItem(m, IDS_BTN_INFO, IDC_INFO);
    appendItem(m, IDS_MENU_EXPLORE_FOLDER, IDM_EXPLORE_FOLDER);
    appendItem(m, IDS_MENU_PROPERTIES, IDM_PROPERTIES);
    if (hasNote) appendItem(m, IDS_MENU_VIEW_NOTE, IDM_VIEW_NOTE);
  };
  switch (page) {
    case CMD_STARTUP_PROGRAMS:
      standardHead();
      appendItem(m, IDS_BTN_ADD, IDC_ADD);
      if (state_.entries.typeCode(entry) < 250) {
        appendItem(m, IDS_MENU_MOVE_TO_DELAYED, IDM_MOVE_TO_DELAYED);
        AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
        appendItem(m, IDS_BTN_REMOVE, IDC_REMOVE);
        if (state_.entries.disabledState(entry))
          appendItem(m, IDS_BTN_ENABLE, IDM_ENABLE);
        else
          appendItem(m, IDS_BTN_DISABLE, IDM_DISABLE);
        appendItem(m, IDS_MENU_DELETE_ON_REBOOT, IDM_DELETE_ON_REBOOT);
      }
      break;
    case CMD_ACTIVE_TASKS:
      standardHead();
      appendItem(m, IDS_BTN_REFRESH, IDC_REFRESH);
      appendItem(m, IDS_BTN_KILL_TASK, IDC_KILL_TASK);
      appendItem(m, IDS_MENU_DELETE_ON_REBOOT, IDM_DELETE_ON_REBOOT);
      break;
    case CMD_SERVICES:
      standardHead();
      break;
    case CMD_SCHEDULED_TASKS:
    case CMD_IE_HELPERS:
      standardHead();
      appendItem(m, IDS_BTN_REMOVE, IDC_REMOVE);
      appendItem(m, IDS_MENU_DELETE_ON_REBOOT, IDM_DELETE_ON_REBOOT);
      break;
    case CMD_HIDDEN_FILES:
      standardHead();
      appendItem(m, IDS_BTN_REFRESH, IDC_REFRESH);
      appendItem(m, IDS_BTN_DELETE, IDM_DELETE_HIDDEN);
      appendItem(m, IDS_MENU_DELETE_ON_REBOOT, IDM_DELETE_ON_REBOOT);
      appendItem(m, IDS_MENU_VIEW_NOTEPAD, IDM_VIEW_NOTEPAD);
      break;
    case CMD_FILE_TYPES:
      appendItem(m, IDS_BTN_INFO, IDC_INFO);
      if (hasNote) appendItem(m, IDS_MENU_VIEW_NOTE, IDM_VIEW_NOTE);
      appendItem(m, IDS_BTN_ADD, IDC_ADD);
      appendItem(m, IDS_BTN_REMOVE, IDC_REMOVE);
      break;
    case CMD_DELAYED_START:
      appendItem(m, IDS_BTN_INFO, IDC_INFO);
      appendItem(m, IDS_MENU_EXPLORE_FOLDER, IDM_EXPLORE_FOLDER);
      appendItem(m, IDS_MENU_PROPERTIES, IDM_PROPERTIES);
      appendItem(m, IDS_BTN_ADD, IDC_ADD);
      appendItem(m, IDS_MENU_LAUNCH_PROGRAM, IDM_LAUNCH_PROGRAM);
      appendItem(m, IDS_MENU_DELAY_OPTIONS, IDM_DELAY_OPTIONS);
      AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
      appendItem(m, IDS_BTN_REMOVE, IDC_REMOVE);
      appendItem(m, IDS_MENU_RESTORE_TO_STARTUP, IDM_RESTORE_TO_STARTUP);
      if (hasNote) appendItem(m, IDS_MENU_VIEW_NOTE, IDM_VIEW_NOTE);
      break;
    case CMD_COOKIES:
      appendItem(m, IDS_BTN_VIEW, IDC_INFO);
      appendItem(m, IDS_BTN_REMOVE_UNCHECKED, IDM_REMOVE_UNCHECKED);
      appendItem(m, IDS_BTN_REMOVE_CHECKED, IDM_COOKIE_REMOVE_CHECKED);
      break;
    default:
      break;
  }
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  appendItem(m, IDS_BTN_ONLINE_INFO, IDM_ONLINE_INFO);
  if (page != CMD_COOKIES) appendItem(m, IDS_BTN_LOG, IDM_REPORT);
  appendItem(m, IDS_HELP_CAPTION, IDC_HELP_ICON);
  if (at.x == -1 && at.y == -1) GetCursorPos(&at);
  SetForegroundWindow(window_);
  TrackPopupMenu(m, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
  PostMessageA(window_, WM_NULL, 0, 0);
  return true;
}

}  // namespace tavrin
