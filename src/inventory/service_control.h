#pragma once
// The few service-manager operations the Monitor's service alert needs.
#include <string>

namespace tavrin {

// The service's current state (SERVICE_STOPPED 1 ... SERVICE_PAUSED 7); 0 when it cannot be interrogated.
int serviceRunState(const std::string& serviceName);
// Sends the stop control; true when the manager accepted it.
bool stopService(const std::string& serviceName);
// 2 automatic, 3 manual, 4 disabled; true when changed.
bool setServiceStartType(const std::string& serviceName, int startType);

}  // namespace tavrin
