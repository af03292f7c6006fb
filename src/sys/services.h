#pragma once
// The service control manager, by key name. Each call opens the manager and
// the service with only the access it needs and closes them again.
#include <windows.h>

#include <string>

#include "handles.h"

namespace tavrin::scm {

// The manager with connect access, for a run of look-ups; empty when unreachable.
UniqueService openManager();

// The key name of a display name (GetServiceKeyNameA); false when unknown.
bool keyNameOf(const std::string& displayName, std::string& keyName);
// The display name of a key name (GetServiceDisplayNameA); false when unknown.
bool displayNameOf(const std::string& keyName, std::string& displayName);
bool displayNameOf(SC_HANDLE manager, const std::string& keyName, std::string& displayName);
// Whether a service of that key name is installed.
bool exists(const std::string& keyName);

// QueryServiceStatus: the state without interrogating (a pending service answers too).
bool queryStatus(const std::string& keyName, SERVICE_STATUS& status);
// QueryServiceConfigA's start type (2 automatic, 3 manual, 4 disabled, ...).
bool queryStartType(const std::string& keyName, DWORD& startType);

// Sends a control with the access that control needs; 0 on success, else the system error.
DWORD control(const std::string& keyName, DWORD controlCode);
// ChangeServiceConfigA with the start type alone; 0 on success, else the system error.
DWORD changeStartType(const std::string& keyName, DWORD startType);
// StartServiceA without arguments; 0 on success (also when it already runs), else the system error.
DWORD start(const std::string& keyName);

}  // namespace tavrin::scm
