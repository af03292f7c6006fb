#pragma once
// Options under HKEY_CURRENT_USER Software\Quennet\Tavrin\Options: one struct
// that both programs load, and single values read and written where one
// control changes one option.
#include <string>
#include <vector>

#include "base/patrol_schedule.h"

namespace tavrin {

constexpr char kSystemKey[] = "Software\\Quennet\\Tavrin";
constexpr char kOptionsKey[] = "Software\\Quennet\\Tavrin\\Options";

enum class Program { Monitor, Explorer };

// Missing or empty: the default; text not starting with a number: 0.
int readOption(const std::string& name, int defaultValue);
// With the default both programs load the option with (0 for one they do not load),
// so a fresh install reads the same everywhere.
int readOption(const std::string& name);
int optionDefault(const std::string& name);
// Writes the decimal text, then Update = "1"; the result of the second write.
// Names compare without regard to case, as registry value names do.
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
  // One option written at once (with Update) and kept in this record; the
  // result of writeOption. A name this record does not hold is only written.
  int set(const std::string& name, int value);
  // Each named option read afresh from the registry into this record, then
  // written back with Update, so the Monitor reloads without any value
  // another page or program wrote meanwhile being reverted. Only the named
  // options are written.
  void writeBulk(const std::vector<std::string>& names);

 private:
  // The field of an option name in any case; null for one not held here.
  int* fieldOf(const std::string& name);
};

}  // namespace tavrin
