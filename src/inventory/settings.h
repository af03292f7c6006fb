#pragma once
// Options under HKEY_CURRENT_USER Software\Quennet\Tavrin\Options, the string
// loader with its registry overrides, sound events, the Monitor's startup
// registration, the start-up initialisation both programs run, and help pages.
#include <windows.h>

#include <string>

#include "base/patrol_schedule.h"
#include "entry_list.h"

namespace tavrin {

constexpr char kSystemKey[] = "Software\\Quennet\\Tavrin";
constexpr char kOptionsKey[] = "Software\\Quennet\\Tavrin\\Options";
constexpr char kMachineRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kProductVersion[] = "12.0.2007.5";

enum class Program { Monitor, Explorer };

// Missing or empty: the default; text not starting with a number: 0.
int readOption(const std::string& name, int defaultValue);
// Writes the decimal text, then Update = "1"; the result of the second write.
int writeOption(const std::string& name, int value);

// Every option of both programs, one decimal value each in the registry.
struct Options {
  int hideBramble = 0, hideAlerts = 0, format = 0, confirmExit = 0, sound = 1, history = 1;
  int hideMicrosoftServices = 0, lockFileTypes = 0, showAllStartup = 0, noMicrosoftStartup = 0;
  int maxCookie = 315;
  // Patrol times, in passes, and the real-time switches, as the patrol schedule takes them.
  PatrolTimes patrol;
  RealtimeOptions realtime;
  int viewCookies = 0, trayIcon = 101, update = 0, cleanup = 0, debug = 0, startTab = 6026;
  int browser = 1, browserFailure = 0;
  int sortStartup = 0, sortPrograms = 0, sortIEHelper = 0, sortScheduledTask = 0, sortService = 0,
      sortActiveTask = 0, sortCookie = 0, sortFileType = 0, sortHidden = 0, sortHistory = 0;
  int noteSize = 14;
  std::string noteFont = "Arial";

  // Reads every option; defaults differ by program (MaxCookie, TrayIcon) and platform (TrayIcon).
  void load(Program program, bool ntFamily);
  // Writes every option back (each write also marks Update).
  void save();
};

// Primary language id passed to every message box; set by the start-up initialisation.
WORD languageId();
void setLanguageFromStrings();

// A string of the program's table, or its LString<id> override (machine-wide,
// consulted unless the language is 9), at most `capacity` - 1 characters.
std::string loadString(UINT id, std::size_t capacity = 1024);
// Sets the control's text when the string is not empty.
void setDialogText(HWND dialog, UINT stringId, int control);

bool isWindowsNtFamily();

// Sound events 0 to 6 (Open, Startup Alert, Cookie Alert, Task Alert, IE
// Helper, FileType Alert, SystemFile Alert); an index above 6 is Open.
// The sound file chosen for the event, empty for the program's own sound.
std::string soundFileOfEvent(int index);
// Plays it synchronously unless option Sound is 0 or below.
void playSoundEvent(int index, const Options& options);

// Whether the machine-wide Run key holds the Monitor's value (string 2, else 622).
bool isMonitorRegistered();
// On: the machine's Run key gets the Monitor's quoted path and the path is
// approved; off: the Monitor's values under both its names go, with the
// approval. The result of the Run-key write, or whether anything was removed.
bool registerMonitor(bool on);
void createInitialValues(EntryList& list);

struct StartupState {
  bool runRegistered = false;
  int delayedTotal = 0;
};
// Run at every start of either program (and by the Explorer when its Options
// page opens): language, trace switch, first-run store, version upgrade,
// baselines, options. Leaves the entry list empty.
StartupState firstRunInitialisation(Program program, Options& options, EntryList& list);

// Help page of a page id: from the program folder when present, else from the help web location.
void openHelpPage(int pageId);
std::string helpPageName(int pageId);
// Base web location of the help pages (ends in "/").
std::string helpWebLocation();

}  // namespace tavrin
