#pragma once
// Run state, controls and start type of one service, named by its display
// name as the lists show it; the manager is asked for its key name.
#include <string>

namespace tavrin {

// The key name of a listed service: the manager's translation of the display
// name, else the name itself when it is a key name; empty when neither.
std::string serviceKeyName(const std::string& displayName);

// The state in the high 16 bits and the service type in the low 16, read
// without interrogating the service; 0 when it cannot be read.
unsigned serviceRunState(const std::string& displayName);
// The controls the service accepts now; 0 when unknown. Non-zero enables Stop.
unsigned serviceAcceptedControls(const std::string& displayName);
// The run-state text (string 652-658) and the run-state value.
unsigned serviceRunStateText(const std::string& displayName, std::string& text);
// The start type the manager holds (2, 3, 4 ...); 0 when unknown.
int serviceStartType(const std::string& displayName);

// 1 when the manager accepted the control, else 0.
int controlService(const std::string& displayName, unsigned controlCode);
// Changes the start type at the manager (2 automatic, 3 manual, 4 disabled);
// 1 on success, else 0.
int setServiceStartType(const std::string& displayName, int startType);

// The recorded actions. Each writes its history records (name, program,
// empty key, type code) only for what succeeded, and returns 1 then.
// Stop: action 9.
int stopServiceRecorded(const std::string& name, const std::string& program, int typeCode);
// The information dialog's choice (0 Automatic, 1 Manual, 2 Disabled): the
// former start type (17-19) and the new one (10-12).
int applyServiceStartChoice(const std::string& name, const std::string& program, int typeCode, int choice);
// A refused service: stopped and set to disabled, with the former start type,
// the stop and the new start type recorded. 1 when it ends up disabled.
int refuseService(const std::string& name, const std::string& program, int typeCode);

}  // namespace tavrin
