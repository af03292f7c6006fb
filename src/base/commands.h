#pragma once
// Command ids shared by both programs: posted as WM_COMMAND between them, and
// used as page ids by the Explorer.
namespace tavrin {

enum Command : int {
  CMD_START_PATROL = 6025,
  CMD_STARTUP_PROGRAMS = 6026,
  CMD_COOKIES = 6028,
  CMD_ACTIVE_TASKS = 6029,
  CMD_QUIT = 6030,
  CMD_TOGGLE_MONITOR_STARTUP = 6031,
  CMD_OPTIONS = 6033,
  CMD_RESTART_COMMANDS = 6034,
  CMD_SERVICES = 6038,
  CMD_SCHEDULED_TASKS = 6039,
  CMD_IE_HELPERS = 6040,
  CMD_HISTORY = 6041,
  CMD_FILE_TYPES = 6042,
  CMD_COOKIE_LIST = 6044,
  CMD_COOKIES_WITH_LIST = 6045,
  CMD_MONITOR = 6046,
  CMD_BLACKLIST = 6047,
  CMD_EXIT_HANDLING = 6048,
  // Page id only: the help page for repeated alerts.
  CMD_HELP_ME = 6051,
  CMD_HIDDEN_FILES = 6052,
  CMD_TRAY_VISIBILITY = 6053,
  CMD_DELAYED_START = 6055,
};

// Private window messages.
constexpr unsigned kTrayCallbackMessage = 6035;
constexpr unsigned kTrayIconId = 6036;
constexpr unsigned kLayoutMessage = 6049;
// A page's signer verdict from its worker thread: WPARAM the entry, LPARAM the fill it belongs to.
constexpr unsigned kSignerMessage = 6060;
constexpr unsigned kCheckNowMessage = 9024;

}  // namespace tavrin

namespace tavrin {
// Window classes the programs look for across processes.
constexpr char kMonitorClassName[] = "Tavrin";
constexpr char kExplorerClassName[] = "TavrinEx";
}  // namespace tavrin
