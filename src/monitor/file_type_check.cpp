// The File Types category of the patrol.
#include "base/entry_tables.h"
#include "base/file_type_rules.h"
#include "base/text.h"
#include "inventory/detection_store.h"
#include "inventory/file_types.h"
#include "inventory/sound_events.h"
#include "inventory/string_loader.h"
#include "patrol.h"
#include "resource.h"
#include "sys/message.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

constexpr int kFileTypeSound = 5;
constexpr std::size_t kSubjectWidth = 259;

// The snapshot's command when the association differs from it. One without a
// snapshot is snapshotted now and counts as unchanged.
bool changedSinceSnapshot(const Association& association, std::string& snapshot) {
  if (!snapshotCommand(association, snapshot)) {
    snapshotAssociation(association.extension, association.kind);
    return false;
  }
  return !sameAssociationProgram(snapshot, association.command);
}

void undo(MonitorState& state, const Association& association) {
  if (restoreAssociation(association.extension, association.kind)) return;
  messageBox(nullptr, loadString(IDS_FILE_TYPE_NOT_RESTORED), state.caption, MB_OK | MB_ICONEXCLAMATION,
             languageId());
}

void askAboutChange(MonitorState& state, const Association& association, const std::string& snapshot) {
  playSoundEvent(kFileTypeSound, state.options);
  recordFirstDetection(snapshot, "FileTypes");
  recordFirstDetection(association.command, "FileTypes");
  trayStatus(state, IDI_TRAY_ALERT, IDS_TIP_FILE_TYPES);
  state.alertShowing = true;
  trace::markDialogShown();
  const int answer = showFileTypeAlert(alertContextOf(state));
  state.alertShowing = false;
  if (answer == alert::kApprove)
    snapshotAssociation(association.extension, association.kind);
  else if (answer == alert::kRefuse)
    undo(state, association);
}

}  // namespace

void checkFileTypes(MonitorState& state) {
  // One at a time: an answer changes the snapshot the next comparison may share.
  for (const Association& association : monitoredAssociations()) {
    std::string snapshot;
    if (!changedSinceSnapshot(association, snapshot)) continue;
    state.alertSubject.set(snapshot, association.extension, typecode::kFileType);
    state.alertSubject.secondPath = cut(association.command, kSubjectWidth);
    if (state.options.lockFileTypes > 0 && restoreAssociation(association.extension, association.kind)) {
      state.alertSubject.clear();
      continue;
    }
    // A lock that could not put the association back asks, so the change is never kept unseen.
    askAboutChange(state, association, snapshot);
  }
}

}  // namespace tavrin
