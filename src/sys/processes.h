#pragma once
// Processes as the platform reports them: the process-status library (PSAPI)
// and the 16-bit task walk of VDMDBG, both bound at run time from the system
// folder, the Toolhelp snapshot, termination, and starting a program by its
// full path.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "handles.h"

namespace tavrin::proc {

struct ProcessRecord {
  DWORD id = 0;
  std::string path;  // full path of its program; empty when it could not be read
};

// Identifiers of every process through PSAPI; false when the library or the
// call is missing or fails (nothing was listed then).
bool enumerateIds(std::vector<DWORD>& ids);

// Full path of a process's program; empty when the process cannot be opened
// or its image cannot be read. Vista's limited query right is used where the
// system has it (it also reaches processes of other users); elsewhere the
// first module through PSAPI.
std::string imagePath(DWORD id);
// The same through a handle already open with query and read rights.
std::string imagePath(HANDLE process);

// Every process of a Toolhelp snapshot with its program path. Where the
// snapshot names only the file (Windows NT, Wine), the first module of the
// process supplies the folder. False when no snapshot could be taken.
bool toolhelpProcesses(std::vector<ProcessRecord>& processes);

// Calls `task` for each 16-bit task of the virtual DOS machine `vdmId` with
// its task handle and file name until it returns false; false when VDMDBG is
// missing. Call it only for a process whose image is NTVDM.EXE: Wine's walk
// ends the caller for any other process.
using TaskVisitor = std::function<bool(WORD task, const std::string& file)>;
bool enumerate16BitTasks(DWORD vdmId, const TaskVisitor& visit);

// A handle with every right termination and the image check need; empty when
// the process cannot be opened.
UniqueKernelHandle openForTermination(DWORD id);
bool isRunning(HANDLE process);
// Terminates with `exitCode`, then waits up to `waitMs` for the end; true
// when the termination was accepted.
bool terminate(HANDLE process, UINT exitCode, DWORD waitMs);

// Starts `program` (a full path, never searched for) with the arguments;
// true when the process was created. Not waited for.
bool startProgram(const std::string& program, const std::string& arguments, int show);

}  // namespace tavrin::proc
