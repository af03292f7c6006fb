#pragma once
// Programs taken out of the Windows startup list and started by the Monitor
// some time after logon. The lists live under Software\Quennet\Tavrin\Delay of
// HKEY_LOCAL_MACHINE (all users) and HKEY_CURRENT_USER; each program is a
// value named after its program file.
#include <functional>
#include <set>
#include <string>

#include "entry_list.h"

namespace tavrin {

constexpr char kDelayKey[] = "Software\\Quennet\\Tavrin\\Delay";
constexpr int kDelayedApproval = 1103;
constexpr int kDefaultDelaySeconds = 30;

enum class DelayHive { AllUsers = 0, CurrentUser = 1 };

// The hive a startup entry of this type belongs to: HKEY_LOCAL_MACHINE Run-type
// codes 1 to 7 go to all users, everything else to the current user.
DelayHive delayHiveOfType(int typeCode);

struct DelayedOptions {
  std::string title;
  std::string parameters;
  int seconds = 0;
  int windowState = 0;  // 0 normal, 1 minimized, 2 maximized
};

// Fills the list (name = title, program path = program file, key = shortcut or
// title, detail = file description, type = stored code, flag = hive); returns the count.
int enumerateDelayed(EntryList& list);
int countDelayedPrograms();

// What the user is asked while entries move; the Explorer shows its dialogs.
struct DelayQuestions {
  // String 1130: the program must stay a normal startup program.
  std::function<void(const std::string& name)> cannotDelay;
  // String 1120: true when an all-users program may move.
  std::function<bool(const std::string& name)> allowAllUsers;
};
// Moves one startup entry to the list (and removes it from startup).
// 1 when moved; 0 when refused or skipped; -1 when the rest of a selection
// should not be processed (the Monitor itself).
int moveToDelayed(const std::string& name, const std::string& programPath, const std::string& key, int typeCode,
                  int flag, const DelayQuestions& ask);

void addToDelayed(const std::string& programFile, DelayHive hive);

// The command that goes back to startup: quoted program file, parameters
// (joined without a blank when they start with "," or a blank), behind the
// applet if any.
std::string rebuildDelayedCommand(const std::string& programFile, const std::string& parameters,
                                  const std::string& applet);

// Puts one program back into Windows startup and takes it off the list.
int restoreDelayed(const EntryList& list, int index);
// Every program of both lists back to startup; returns how many.
int restoreAllDelayed();
// Takes a program off the list; with `putBack` it returns to startup first.
int removeFromDelayed(const EntryList& list, int index, bool putBack);
// Deletes the program's values from every Delay key of the hive but OpenAs.
void deleteDelayValues(DelayHive hive, const std::string& programFile);

DelayedOptions readDelayedOptions(DelayHive hive, const std::string& programFile);
void writeDelayedOptions(DelayHive hive, const std::string& programFile, const DelayedOptions& options);

// Starts the program now, with its stored parameters and window state, through
// its applet when it has one. 1 when started.
int launchDelayedNow(DelayHive hive, const std::string& programFile);

// The Monitor's launcher: starts each program once, at the first call whose
// elapsed seconds reach its delay (all users first), or counts it when it
// already runs. Returns the launched count so far.
class DelayedLauncher {
 public:
  int launchDue(int elapsedSeconds);
  int launched() const { return static_cast<int>(done_.size()); }

 private:
  std::set<std::string> done_;
};

}  // namespace tavrin
