#include "file_checks.h"

#include "base/alert_rules.h"
#include "base/entry_tables.h"
#include "file_change_alert.h"
#include "inventory/detection_store.h"
#include "inventory/hidden_files.h"
#include "inventory/restart_commands.h"
#include "inventory/sound_events.h"
#include "inventory/system_files.h"
#include "patrol.h"
#include "resource.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

constexpr int kHiddenFileSound = 4;  // the "IE Helper" event
constexpr int kSystemFileSound = 6;

int askAboutHiddenFile(MonitorState& state, const std::string& path, const std::string& name) {
  state.alertSubject.set(path, name, typecode::kHiddenFile);
  state.alertShowing = true;
  trace::markDialogShown();
  const int answer = showNewHiddenFileAlert(alertContextOf(state));
  state.alertShowing = false;
  return answer;
}

}  // namespace

void checkHiddenFiles(MonitorState& state) {
  trayStatus(state, IDI_TRAY_PASS_SECOND, IDS_TIP_ON_PATROL);
  enumerateHiddenFiles(state.entries);
  for (int i = 0; i < state.entries.count(); ++i) {
    const std::string path = state.entries.programPath(i), name = state.entries.name(i);
    if (isHiddenFileApproved(path) || state.options.hideAlerts > 1) continue;
    playSoundEvent(kHiddenFileSound, state.options);
    recordFirstDetection(path, "Hidden");
    trayStatus(state, IDI_TRAY_ALERT, IDS_TIP_ON_PATROL);
    if (askAboutHiddenFile(state, path, name) == alert::kRefuse)
      quarantineFile(name, path);
    else
      approveHiddenFile(path);
  }
}

void checkSystemFiles(MonitorState& state) {
  for (const WatchedFile& file : watchedFiles()) {
    if (!watchedFileChangedNow(file)) continue;
    playSoundEvent(kSystemFileSound, state.options);
    trayStatus(state, IDI_TRAY_ALERT, IDS_TIP_SYSTEM_FILES);
    state.alertShowing = true;
    trace::markDialogShown();
    showFileChangeAlert(state.instance, state.window, state.fonts, file);
    state.alertShowing = false;
  }
}

bool restartCommandsPending(MonitorState& state) {
  return !state.ntFamily && showRestartCommands(state.instance, state.window, true) != 0;
}

void showRestartCommands(MonitorState& state) { showRestartCommands(state.instance, state.window, false); }

}  // namespace tavrin
