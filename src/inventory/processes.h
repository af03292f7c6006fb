#pragma once
// Running processes through the Toolhelp snapshot: listing, finding the
// process of a program, stopping it.
#include <windows.h>

#include <string>
#include <vector>

namespace tavrin {

struct RunningProcess {
  DWORD id = 0;
  std::string path;  // full path of its program as the system reports it; may be empty
};

// Every process of the machine, the system's own included; empty when no snapshot could be taken.
std::vector<RunningProcess> runningProcesses();

// The process running the program file of `program` (a command line may be
// given): its long path equals the program file's, or its bare file name
// equals the program file (both ignoring case). 0 when none runs.
DWORD findProcessOfProgram(const std::string& program);

// Stops the process running the program. With `ask`, string 707 asks first.
// Writes a TASK_Kill record whether or not the termination worked. Returns
// the identifier of the process found, 0 when none ran or the user said No.
DWORD stopProgram(const std::string& programPath, const std::string& displayName, bool ask,
                  const std::string& caption);

}  // namespace tavrin
