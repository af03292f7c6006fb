#pragma once
// The alert dialogs: each shows one new entry with its icon and version
// information and returns 6 (approve) or 7 (refuse); the startup alert may
// also return 11 (stop and disable). Only the service alert changes the
// system itself (it stops and disables the service it refuses).
#include <windows.h>

#include <string>

#include "base/alert_rules.h"
#include "sys/handles.h"

namespace tavrin {

// Created once when the Monitor starts.
struct AlertFonts {
  UniqueFont title;      // name lines
  UniqueFont path;       // program paths and formatted explanations
  UniqueFont extension;  // the file-type alert's extension
  UniqueFont plain;      // the file-change alert
  void create();
};

// What the caller is asking about. The dialog clears it when a button ends it.
struct AlertSubject {
  std::string programPath;  // at most 259
  std::string name;         // at most 259
  int typeCode = 0;
  std::string secondPath;   // file-type alert: the new program
  void set(const std::string& path, const std::string& entryName, int code);
  void clear();
};

struct AlertContext {
  HINSTANCE instance = nullptr;  // the module holding the templates and strings
  HWND owner = nullptr;
  const AlertFonts* fonts = nullptr;
  AlertSubject* subject = nullptr;
};

// `repeats` is the Monitor's repeat-alert memory; `hideAlerts` becomes 2 when
// a repeated alert is refused, so the rest of the pass refuses without asking.
int showNewStartupAlert(const AlertContext& context, RepeatAlerts& repeats, int& hideAlerts);
int showDelayedReturnedAlert(const AlertContext& context);
int showNewIEHelperAlert(const AlertContext& context);
int showNewTaskAlert(const AlertContext& context);
int showNewHiddenFileAlert(const AlertContext& context);
// No or Escape stops the service and sets it to disabled before it returns 7.
int showNewServiceAlert(const AlertContext& context);
int showFileTypeAlert(const AlertContext& context);

// Alert placement under Software\Quennet\Tavrin: xPos<name>, yPos<name>,
// dx<name>, dy<name> ("Alert" for the program alerts).
void saveAlertPlacement(HWND dialog, const std::string& name);
void restoreAlertPlacement(HWND dialog, const std::string& name);

}  // namespace tavrin
