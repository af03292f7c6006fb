#pragma once
// Running processes: the walk over every process (and every 16-bit task on
// the NT family), the running-program list, whether a program runs, stopping
// a program or a process.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "entry_list.h"

namespace tavrin {

// Called for each process with its identifier, its 16-bit task handle (0 for
// an ordinary process) and its program's path as the system reports it (empty
// when the process could not be read); false stops the walk.
using ProcessVisitor = std::function<bool(DWORD id, WORD task, const std::string& path)>;

// PSAPI with the 16-bit task walk on the NT family, Toolhelp elsewhere and
// wherever PSAPI is missing; a missing task walk only leaves out the 16-bit
// tasks. 1 when a walk ran, 0 when no method was available.
int walkProcesses(const ProcessVisitor& visit);

// Clears the list and adds one entry per distinct program file (type 600,
// flag = the identifier of its first process, name = its file description).
// Returns the entry count.
int listRunningPrograms(EntryList& list);

// The distinct program files of the running processes, without reading
// their version resources: the light count of the task-change check.
std::vector<std::string> runningProgramFiles();

// The path of every running process (and 16-bit task) as the system reports
// it, in walk order, one per process; processes that could not be read are
// left out. The hijack-style log's list of running processes.
std::vector<std::string> runningProcessPaths();

// Stores a first-detection date under Detected\ActiveTasks for every running
// program that has none.
void recordRunningProgramDates();

// The process running the program file of `program` (a command line may be
// given). 0 when none runs.
DWORD findProcessOfProgram(const std::string& program);
bool programRunning(const std::string& program);

// Stops the process running the program. With `ask`, string 707 asks first.
// The process is opened before it is checked again, so an identifier reused
// since the walk is never stopped; it ends with exit code 1. A TASK_Kill
// record is written only when the termination was accepted. Returns the
// identifier of the process stopped; 0 when none ran, the user said No or it
// could not be stopped.
DWORD stopProgram(const std::string& programPath, const std::string& displayName, bool ask,
                  const std::string& caption);

// Terminates a process by identifier (the Active Tasks page's Kill Task);
// non-zero when the termination was accepted, 0 when the process cannot be
// opened or refused it.
int stopProcessById(DWORD id);

// The Active Tasks page's Kill Task for the entry of one selected row (rows
// carry their entry; two programs may share a file name): its process is
// ended by identifier without asking, unless that identifier runs another
// program by now; a TASK_Kill record (name, program file, detail) follows
// when the termination was accepted. 1 when it was.
int killListedTask(const EntryList& list, int entry);

}  // namespace tavrin
