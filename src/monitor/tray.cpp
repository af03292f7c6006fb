#include "tray.h"

#include <shellapi.h>

#include "base/commands.h"
#include "base/text.h"
#include "inventory/monitor_registration.h"
#include "inventory/string_loader.h"
#include "resource.h"
#include "sys/handles.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

constexpr std::size_t kTooltipWidth = 63;

HICON loadTrayIcon(HINSTANCE instance, int iconId) {
  const int cx = GetSystemMetrics(SM_CXSMICON);
  const int cy = GetSystemMetrics(SM_CYSMICON);
  auto load = [&](int id) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, cx, cy, LR_SHARED));
  };
  HICON icon = load(iconId);
  // A TrayIcon option naming no icon of ours must not leave an invisible icon.
  return icon ? icon : load(IDI_TRAY_IDLE);
}

}  // namespace

bool trayIcon(MonitorState& state, TrayOperation operation, int iconId, UINT tooltipId) {
  if (state.options.hideBramble == 1) return false;
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = state.window;
  data.uID = kTrayIconId;
  data.uCallbackMessage = kTrayCallbackMessage;
  const std::string tip = loadString(tooltipId, kTooltipWidth + 1);
  lstrcpynA(data.szTip, tip.c_str(), static_cast<int>(kTooltipWidth + 1));
  DWORD message = NIM_DELETE;
  switch (operation) {
    case TrayOperation::Add:
      trace::line("Tray Message", "ADD");
      data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
      data.hIcon = loadTrayIcon(state.instance, state.options.trayIcon);
      message = NIM_ADD;
      break;
    case TrayOperation::Modify:
      data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
      data.hIcon = loadTrayIcon(state.instance, iconId);
      message = NIM_MODIFY;
      break;
    case TrayOperation::Delete:
      data.uFlags = 0;
      break;
  }
  return Shell_NotifyIconA(message, &data) != FALSE;
}

HMENU buildTrayMenu(bool ntFamily) {
  enum class Shown { Always, NtOnly, NotNt, Separator };
  static const struct {
    UINT text;
    UINT command;
    Shown shown;
  } kItems[] = {
      {IDS_MENU_OPTIONS, CMD_OPTIONS, Shown::Always},
      {0, 0, Shown::Separator},
      {IDS_MENU_STARTUP, CMD_STARTUP_PROGRAMS, Shown::Always},
      {IDS_MENU_DELAYED, CMD_DELAYED_START, Shown::Always},
      {IDS_MENU_IE_HELPERS, CMD_IE_HELPERS, Shown::Always},
      {IDS_MENU_SERVICES, CMD_SERVICES, Shown::NtOnly},
      {IDS_MENU_SCHEDULED, CMD_SCHEDULED_TASKS, Shown::Always},
      {0, 0, Shown::Separator},
      {IDS_MENU_ACTIVE_TASKS, CMD_ACTIVE_TASKS, Shown::Always},
      {IDS_MENU_COOKIES, CMD_COOKIES, Shown::Always},
      {IDS_MENU_FILE_TYPES, CMD_FILE_TYPES, Shown::Always},
      {IDS_MENU_HIDDEN, CMD_HIDDEN_FILES, Shown::Always},
      {IDS_MENU_RESTART_COMMANDS, CMD_RESTART_COMMANDS, Shown::NotNt},
      {0, 0, Shown::Separator},
      {IDS_MENU_EXIT, CMD_QUIT, Shown::Always},
  };
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  for (const auto& item : kItems) {
    if (item.shown == Shown::Separator) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    if ((item.shown == Shown::NtOnly && !ntFamily) || (item.shown == Shown::NotNt && ntFamily)) continue;
    AppendMenuA(menu, MF_STRING, item.command, loadString(item.text, 256).c_str());
  }
  return menu;
}

void onTrayCallback(MonitorState& state, WPARAM iconId, LPARAM mouseMessage) {
  if (state.trayBusy) return;
  state.trayBusy = true;
  POINT cursor{};
  GetCursorPos(&cursor);
  state.runRegistered = isMonitorRegistered();
  if (mouseMessage == WM_LBUTTONDBLCLK) {
    trace::line("Tray Action", "Double Click");
    SetForegroundWindow(state.window);
    PostMessageA(state.window, WM_COMMAND, CMD_STARTUP_PROGRAMS, 0);
  } else if (mouseMessage == WM_RBUTTONUP && iconId == kTrayIconId) {
    UniqueMenu menu(buildTrayMenu(state.ntFamily));
    if (menu) {
      SetForegroundWindow(state.window);
      TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, state.window, nullptr);
      PostMessageA(state.window, WM_NULL, 0, 0);
    }
  }
  state.trayBusy = false;
}

}  // namespace tavrin
