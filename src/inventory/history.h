#pragma once
// The history log: history.txt in the program folder, one record per line,
// written by both programs, read by the Explorer's History dialog.
#include <string>

#include "entry_list.h"

namespace tavrin {

namespace action {
constexpr int kStartRemove = 0;  // "*START_Remove", restorable
constexpr int kStartDisable = 1;
constexpr int kStartEnable = 2;
constexpr int kIeHelperRemove = 3;
constexpr int kTaskRemove = 4;
constexpr int kTaskKill = 5;
constexpr int kStartAlert = 6;
constexpr int kTaskAlert = 7;
constexpr int kIeHelperAlert = 8;
constexpr int kServiceStop = 9;
constexpr int kServiceAutomatic = 10;
constexpr int kServiceManual = 11;
constexpr int kServiceDisabled = 12;
constexpr int kTaskRestore = 13;
constexpr int kIeHelperRestore = 14;
constexpr int kScheduledTaskRemove = 15;
constexpr int kServiceFromAutomatic = 17;
constexpr int kServiceFromManual = 18;
constexpr int kServiceFromDisabled = 19;
constexpr int kServiceFromDisabled2 = 20;
constexpr int kResetUserinit = 21;
constexpr int kResetShell = 22;
constexpr int kRemoveTaskScheduler = 23;
constexpr int kRemoveDelayLoad = 24;
constexpr int kRemoveShellExecuteHook = 25;
constexpr int kRemoveAppInit = 26;
constexpr int kHiddenAlert = 28;
constexpr int kHiddenDeleteFile = 29;  // "*HIDDEN_DeleteFile", restorable
constexpr int kRemoveWinlogonNotify = 30;
constexpr int kLogUnknown = 31;
}  // namespace action

// Appends one record unless option History is 0 or below; 1 when written.
// A record is written whole or not at all; a log held by the other program
// is retried for about a quarter second.
int writeHistory(const std::string& name, const std::string& program, const std::string& key, int typeCode,
                 int actionCode);

std::string historyPath();

// Fills the list from the newest 128 KB of the log, one entry per line: name,
// program path, key, detail = date, type code, flag = action code. Returns
// the entry count.
int readHistory(EntryList& list);

// Undoes the row's action where it can be undone; 1 when something was done.
int restoreHistoryRow(const EntryList& list, int index);
// Whether the History dialog's Restore button serves this action.
bool isRestorableAction(int actionCode);

// Deletes the log (read-only or not); true when it is gone.
bool clearHistoryFile();

}  // namespace tavrin
