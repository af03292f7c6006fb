#include "services.h"

#include <vector>

#include "handles.h"

namespace tavrin::scm {

UniqueService openManager() { return UniqueService(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT)); }

namespace {

UniqueService openService(const std::string& keyName, DWORD access, DWORD& error) {
  error = 0;
  UniqueService manager = openManager();
  if (!manager) {
    error = GetLastError();
    return UniqueService();
  }
  UniqueService service(OpenServiceA(manager.get(), keyName.c_str(), access));
  if (!service) error = GetLastError();
  return service;
}

DWORD accessForControl(DWORD controlCode) {
  switch (controlCode) {
    case SERVICE_CONTROL_STOP:
      return SERVICE_STOP;
    case SERVICE_CONTROL_PAUSE:
    case SERVICE_CONTROL_CONTINUE:
    case SERVICE_CONTROL_PARAMCHANGE:
      return SERVICE_PAUSE_CONTINUE;
    case SERVICE_CONTROL_INTERROGATE:
      return SERVICE_INTERROGATE;
    default:
      return SERVICE_USER_DEFINED_CONTROL;
  }
}

// Asks a name function for its size first; the answer counts characters
// without the terminator.
template <typename NameFunction>
bool askName(SC_HANDLE manager, NameFunction name, const std::string& in, std::string& out) {
  out.clear();
  if (!manager) return false;
  char probe[1] = {};
  DWORD length = sizeof probe;
  if (name(manager, in.c_str(), probe, &length)) return true;  // an empty name
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
  std::vector<char> buffer(length + 2);
  length = static_cast<DWORD>(buffer.size());
  if (!name(manager, in.c_str(), buffer.data(), &length)) return false;
  out.assign(buffer.data());
  return true;
}

}  // namespace

bool keyNameOf(const std::string& displayName, std::string& keyName) {
  return askName(openManager().get(), GetServiceKeyNameA, displayName, keyName) && !keyName.empty();
}

bool displayNameOf(const std::string& keyName, std::string& displayName) {
  return displayNameOf(openManager().get(), keyName, displayName);
}

bool displayNameOf(SC_HANDLE manager, const std::string& keyName, std::string& displayName) {
  return askName(manager, GetServiceDisplayNameA, keyName, displayName) && !displayName.empty();
}

bool exists(const std::string& keyName) {
  DWORD error = 0;
  return static_cast<bool>(openService(keyName, SERVICE_QUERY_STATUS, error));
}

bool queryStatus(const std::string& keyName, SERVICE_STATUS& status) {
  status = SERVICE_STATUS{};
  DWORD error = 0;
  UniqueService service = openService(keyName, SERVICE_QUERY_STATUS, error);
  return service && QueryServiceStatus(service.get(), &status);
}

bool queryStartType(const std::string& keyName, DWORD& startType) {
  DWORD error = 0;
  UniqueService service = openService(keyName, SERVICE_QUERY_CONFIG, error);
  if (!service) return false;
  DWORD needed = 0;
  QueryServiceConfigA(service.get(), nullptr, 0, &needed);
  if (needed < sizeof(QUERY_SERVICE_CONFIGA)) needed = sizeof(QUERY_SERVICE_CONFIGA);
  // DWORD elements keep the record aligned.
  std::vector<DWORD> buffer((needed + sizeof(DWORD) - 1) / sizeof(DWORD));
  auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
  if (!QueryServiceConfigA(service.get(), config, static_cast<DWORD>(buffer.size() * sizeof(DWORD)), &needed))
    return false;
  startType = config->dwStartType;
  return true;
}

DWORD control(const std::string& keyName, DWORD controlCode) {
  DWORD error = 0;
  UniqueService service = openService(keyName, accessForControl(controlCode), error);
  if (!service) return error;
  SERVICE_STATUS status{};
  return ControlService(service.get(), controlCode, &status) ? 0 : GetLastError();
}

DWORD changeStartType(const std::string& keyName, DWORD startType) {
  DWORD error = 0;
  UniqueService service = openService(keyName, SERVICE_CHANGE_CONFIG, error);
  if (!service) return error;
  return ChangeServiceConfigA(service.get(), SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr)
             ? 0
             : GetLastError();
}

DWORD start(const std::string& keyName) {
  DWORD error = 0;
  UniqueService service = openService(keyName, SERVICE_START, error);
  if (!service) return error;
  if (StartServiceA(service.get(), 0, nullptr)) return 0;
  error = GetLastError();
  return error == ERROR_SERVICE_ALREADY_RUNNING ? 0 : error;
}

}  // namespace tavrin::scm
