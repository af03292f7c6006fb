// The Services category of the patrol.
#include "base/alert_rules.h"
#include "inventory/detection_store.h"
#include "inventory/service_control.h"
#include "inventory/services.h"
#include "inventory/sound_events.h"
#include "patrol.h"
#include "resource.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

constexpr int kStartupAlertSound = 1;

}  // namespace

void checkServices(MonitorState& state) {
  EntryList& entries = state.entries;
  // Every service: a program that claims to be Microsoft's is asked about too.
  enumerateServices(entries, false);
  for (int i = 0; i < entries.count(); ++i) {
    const std::string name = entries.name(i);
    const std::string path = entries.programPath(i);
    const int typeCode = entries.typeCode(i);
    if (isServiceApproved(name)) continue;
    state.alertSubject.set(path, name, typeCode);
    if (state.options.hideAlerts > 1) {
      refuseService(name, path, typeCode);
      approveService(name, typeCode);
      continue;
    }
    playSoundEvent(kStartupAlertSound, state.options);
    recordFirstDetection(path, "Services");
    trayStatus(state, IDI_TRAY_ALERT, IDS_TIP_STARTUP);
    state.alertShowing = true;
    trace::markDialogShown();
    // A refusal is carried out by the alert itself (stop and disable, recorded).
    const int answer = showNewServiceAlert(alertContextOf(state));
    state.alertShowing = false;
    if (answer == alert::kApprove || answer == alert::kRefuse) approveService(name, typeCode);
  }
}

}  // namespace tavrin
