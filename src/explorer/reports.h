#pragma once
// The Explorer's reports: the inventory report (HTML, tab-separated or
// sectioned text), the spreadsheet report, the hijack-style log and the
// settings export. Each writer refills the inventories itself into the list
// it is given, so the caller's page must refill its own list afterwards.
#include <windows.h>

#include <string>

#include "explorer_state.h"

namespace tavrin {

enum class ReportForm {
  Html,            // TavrinLog.html
  Text,            // tab-separated, one row per entry (option Format = 1)
  SectionedText,   // name and file, then the HTML entry lines (any other Format)
  Spreadsheet,     // TavrinLog.csv
};

// The writers: the file is created anew; 0 when all was written, else the
// system error (nothing is opened).
DWORD writeInventoryReport(const std::string& path, ReportForm form, EntryList& list);
DWORD writeHijackLog(const std::string& path, EntryList& list);

// The form a file name's extension asks for (.html/.htm, .txt, .csv); false
// for any other.
bool reportFormOfPath(const std::string& path, ReportForm& form);

// The commands behind the menus and the Options page's buttons. Each writes
// its file, then opens it with the shell, or shows the system's error with
// the file's path and opens nothing. The page that called refills its list.
// Report (command 9, button 1108): option Format chooses TavrinLog.html or
// TavrinLog.txt in the current directory.
void reportCommand(ExplorerState& state, HWND owner);
// Button 1110: TavrinLog.csv in the program folder.
void spreadsheetReportCommand(ExplorerState& state, HWND owner);
// Button 1109 and the start of an Explorer whose file name holds "hijack":
// HijackTavrin.log in the program folder.
void hijackLogCommand(ExplorerState& state, HWND owner);
// Button 1106: the settings export, then message 854 with the file's long path.
void exportSettingsCommand(HWND owner);

// -REPORT <file>: writes the report in the form of the file's extension
// without a window; the process's exit code (0 on success), with a message
// on the error stream otherwise.
int reportFromCommandLine(const std::string& path, EntryList& list);

}  // namespace tavrin
