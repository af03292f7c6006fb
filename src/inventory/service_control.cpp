#include "service_control.h"

#include <windows.h>

#include "sys/handles.h"

namespace tavrin {
namespace {

UniqueService openService(const std::string& name, DWORD access) {
  UniqueService manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return UniqueService();
  return UniqueService(OpenServiceA(manager.get(), name.c_str(), access));
}

}  // namespace

int serviceRunState(const std::string& serviceName) {
  UniqueService service = openService(serviceName, SERVICE_QUERY_STATUS);
  SERVICE_STATUS status{};
  if (!service || !QueryServiceStatus(service.get(), &status)) return 0;
  return static_cast<int>(status.dwCurrentState);
}

bool stopService(const std::string& serviceName) {
  UniqueService service = openService(serviceName, SERVICE_STOP);
  SERVICE_STATUS status{};
  return service && ControlService(service.get(), SERVICE_CONTROL_STOP, &status);
}

bool setServiceStartType(const std::string& serviceName, int startType) {
  UniqueService service = openService(serviceName, SERVICE_CHANGE_CONFIG);
  return service && ChangeServiceConfigA(service.get(), SERVICE_NO_CHANGE, static_cast<DWORD>(startType),
                                         SERVICE_NO_CHANGE, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                         nullptr);
}

}  // namespace tavrin
