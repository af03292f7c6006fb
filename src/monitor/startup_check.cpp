// The Startup Programs category of the patrol.
#include "base/entry_tables.h"
#include "base/startup_text.h"
#include "base/text.h"
#include "inventory/delayed_start.h"
#include "inventory/detection_store.h"
#include "inventory/processes.h"
#include "inventory/program_file.h"
#include "inventory/sound_events.h"
#include "inventory/startup_actions.h"
#include "inventory/startup_enum.h"
#include "inventory/string_loader.h"
#include "patrol.h"
#include "resource.h"
#include "sys/message.h"
#include "sys/registry.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

constexpr int kDelayedMark = 1103;
// The installer leaves this entry behind while it works; alerting past it would
// fight the installation, so the walk stops there for this pass.
constexpr char kInstallerCleanup[] = "McAfee Application Installer Cleanup";

int readApproval(const std::string& valueName) {
  std::string data;
  if (reg::readString(HKEY_CURRENT_USER, kApprovedStartupKey, valueName, data) <= 0) return 0;
  return static_cast<int>(leadingNumber(data));
}

// By the startup key first, then by the entry's name.
int approvalOf(const EntryList& entries, int index) {
  const int byKey = readApproval(startupKeyOf(entries.programPath(index)));
  return byKey != 0 ? byKey : readApproval(entries.name(index));
}

bool startupListChanged(const EntryList& entries) {
  for (int i = 0; i < entries.count(); ++i) {
    const int v = approvalOf(entries, i);
    if (v == 0 || v == kDelayedMark) return true;
  }
  return false;
}

struct StartupEntry {
  std::string name, path, key;
  int typeCode;
  std::string startupKey() const { return startupKeyOf(path); }
};

void approve(const StartupEntry& e) { approveStartup(e.path, e.typeCode); }

void disableUnlessMarked(const StartupEntry& e) {
  if (!hasDisabledMarker(e.name)) toggleStartupEntry({e.name, e.path, e.key, e.typeCode});
}

void refuse(MonitorState& state, const StartupEntry& e) {
  stopProgram(e.path, e.name, false, state.caption);
  // No is the default: Enter must not remove what Windows itself may need.
  removeStartupEntry({e.name, e.path, e.key, e.typeCode}, [&state](const std::string&, const std::string&, int) {
    return messageBox(state.window, loadString(IDS_CONFIRM_REMOVE_KEY_LOCATION), state.caption,
                      MB_YESNO | MB_ICONSTOP | MB_DEFBUTTON2, languageId()) == IDYES;
  });  // which also drops the entry's approvals
}

void askAboutReturnedProgram(MonitorState& state, const StartupEntry& e) {
  state.alertShowing = true;
  trace::markDialogShown();
  state.alertSubject.set(e.path, e.name, e.typeCode);
  const int answer = showDelayedReturnedAlert(alertContextOf(state));
  if (answer == alert::kApprove) {
    approve(e);
    // The lists name a program by its program file, not by its command line.
    deleteDelayValues(e.typeCode > 10 ? DelayHive::CurrentUser : DelayHive::AllUsers,
                      splitCommand(e.path).programFile);
  } else if (answer == alert::kRefuse) {
    approve(e);
    disableUnlessMarked(e);
  }
  state.alertShowing = false;
}

void askAboutNewProgram(MonitorState& state, const StartupEntry& e) {
  if (state.options.hideAlerts > 1) {
    refuse(state, e);
    return;
  }
  playSoundEvent(1, state.options);
  recordFirstDetection(e.path, "Startup");
  trayStatus(state, IDI_TRAY_ALERT, IDS_TIP_STARTUP);
  state.alertShowing = true;
  trace::markDialogShown();
  const int answer = showNewStartupAlert(alertContextOf(state), state.repeats, state.options.hideAlerts);
  state.alertShowing = false;
  switch (answer) {
    case alert::kApprove:
      approve(e);
      break;
    case alert::kRefuse:
      refuse(state, e);
      break;
    case alert::kDisable:
      stopProgram(e.path, e.name, false, state.caption);
      disableUnlessMarked(e);
      break;
    default:
      break;  // asked again on a later pass
  }
}

}  // namespace

void checkStartupPrograms(MonitorState& state) {
  EntryList& entries = state.entries;
  enumerateStartup(entries, false, 0);
  if (!startupListChanged(entries)) {
    trace::timingLine();
    trace::line("VERIFY", "No Startup Change Detected.");
    return;
  }
  // The list is copied entry by entry: an answer may change the startup
  // locations, but never this pass's view of them.
  for (int i = 0; i < entries.count(); ++i) {
    const StartupEntry e{entries.name(i), entries.programPath(i), entries.key(i), entries.typeCode(i)};
    const int v = approvalOf(entries, i);
    if (v == kDelayedMark) {
      askAboutReturnedProgram(state, e);
      continue;
    }
    if (v != 0) continue;
    state.alertSubject.set(e.path, e.name, e.typeCode);
    if (contains(e.name, kInstallerCleanup)) break;
    askAboutNewProgram(state, e);
  }
}

}  // namespace tavrin
