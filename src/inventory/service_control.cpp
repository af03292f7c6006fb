#include "service_control.h"

#include <windows.h>

#include "base/alert_rules.h"
#include "base/task_service_text.h"
#include "history.h"
#include "string_loader.h"
#include "sys/services.h"

namespace tavrin {
namespace {

bool statusOf(const std::string& displayName, SERVICE_STATUS& status) {
  const std::string key = serviceKeyName(displayName);
  return !key.empty() && scm::queryStatus(key, status);
}

void record(const std::string& name, const std::string& program, int typeCode, int actionCode) {
  if (actionCode >= 0) writeHistory(name, program, "", typeCode, actionCode);
}

// The start type change with its two records; the former start type is read first.
int changeStartRecorded(const std::string& name, const std::string& program, int typeCode, int startType,
                        int actionCode) {
  const int before = serviceStartType(name);
  if (!setServiceStartType(name, startType)) return 0;
  record(name, program, typeCode, previousStartTypeAction(before));
  record(name, program, typeCode, actionCode);
  return 1;
}

}  // namespace

std::string serviceKeyName(const std::string& displayName) {
  std::string key;
  if (scm::keyNameOf(displayName, key)) return key;
  return scm::exists(displayName) ? displayName : std::string();
}

unsigned serviceRunState(const std::string& displayName) {
  SERVICE_STATUS status{};
  if (!statusOf(displayName, status)) return 0;
  return packServiceState(status.dwCurrentState, status.dwServiceType);
}

unsigned serviceAcceptedControls(const std::string& displayName) {
  SERVICE_STATUS status{};
  return statusOf(displayName, status) ? status.dwControlsAccepted : 0;
}

unsigned serviceRunStateText(const std::string& displayName, std::string& text) {
  const unsigned state = serviceRunState(displayName);
  text = loadString(static_cast<UINT>(serviceStateText(static_cast<int>(stateOfPacked(state)))), 256);
  return state;
}

int serviceStartType(const std::string& displayName) {
  const std::string key = serviceKeyName(displayName);
  DWORD startType = 0;
  return !key.empty() && scm::queryStartType(key, startType) ? static_cast<int>(startType) : 0;
}

int controlService(const std::string& displayName, unsigned controlCode) {
  const std::string key = serviceKeyName(displayName);
  return !key.empty() && scm::control(key, controlCode) == 0 ? 1 : 0;
}

int setServiceStartType(const std::string& displayName, int startType) {
  const std::string key = serviceKeyName(displayName);
  return !key.empty() && scm::changeStartType(key, static_cast<DWORD>(startType)) == 0 ? 1 : 0;
}

int stopServiceRecorded(const std::string& name, const std::string& program, int typeCode) {
  if (!controlService(name, SERVICE_CONTROL_STOP)) return 0;
  record(name, program, typeCode, action::kServiceStop);
  return 1;
}

int applyServiceStartChoice(const std::string& name, const std::string& program, int typeCode, int choice) {
  if (choice < 0 || choice > 2) return 0;
  return changeStartRecorded(name, program, typeCode, startTypeOfChoice(choice), startTypeChoiceAction(choice));
}

int refuseService(const std::string& name, const std::string& program, int typeCode) {
  const int before = serviceStartType(name);
  const bool stopped = controlService(name, SERVICE_CONTROL_STOP) != 0;
  const bool disabled = setServiceStartType(name, SERVICE_DISABLED) != 0;
  if (disabled) record(name, program, typeCode, previousStartTypeAction(before));
  if (stopped) record(name, program, typeCode, action::kServiceStop);
  if (disabled) record(name, program, typeCode, action::kServiceDisabled);
  return disabled ? 1 : 0;
}

}  // namespace tavrin
