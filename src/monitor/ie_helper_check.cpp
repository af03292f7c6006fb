// The IE Helpers category of the patrol.
#include "base/alert_rules.h"
#include "inventory/detection_store.h"
#include "inventory/ie_helpers.h"
#include "inventory/processes.h"
#include "inventory/sound_events.h"
#include "patrol.h"
#include "resource.h"
#include "sys/registry.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

constexpr int kIEHelperSound = 4;

int askAboutAddOn(MonitorState& state, const std::string& path) {
  playSoundEvent(kIEHelperSound, state.options);
  recordFirstDetection(path, "IEHelper");
  trayStatus(state, IDI_TRAY_PASS_FIRST, IDS_TIP_IE_HELPERS);
  state.alertShowing = true;
  trace::markDialogShown();
  const int answer = showNewIEHelperAlert(alertContextOf(state));
  state.alertShowing = false;
  return answer;
}

// Removed by its real path: the approved lists' ":" for "=" belongs to
// value names, and a path written that way names no add-on.
void refuse(MonitorState& state, const std::string& path, const std::string& name, int index) {
  stopProgram(path, name, false, state.caption);
  removeIEHelper(state.entries, path, index);
  reg::deleteValue(HKEY_CURRENT_USER, kApprovedIEHelpersKey, name);
}

}  // namespace

int checkIEHelpers(MonitorState& state) {
  if (state.options.patrol.ieHelpers < 1) return 0;
  EntryList& entries = state.entries;
  enumerateIEHelpers(entries);
  for (int i = 0; i < entries.count(); ++i) {
    const std::string path = entries.programPath(i), name = entries.name(i);
    if (isApproved(kApprovedIEHelpersKey, name)) continue;
    state.alertSubject.set(path, name, entries.typeCode(i));
    const int answer = state.options.hideAlerts > 1 ? alert::kRefuse : askAboutAddOn(state, path);
    if (answer == alert::kRefuse)
      refuse(state, path, name, i);
    else if (answer == alert::kApprove)
      approveIEHelper(name, entries.typeCode(i));
  }
  return entries.count();
}

}  // namespace tavrin
