#pragma once
// Task Scheduler 1.0 through COM, and the scheduler agent of Windows 9x.
// COM must be initialised on the calling thread (see ComScope).
#include <windows.h>

#include <string>
#include <vector>

#include "base/datetime.h"
#include "handles.h"

namespace tavrin::tasks {

// CoInitialize for one operation, CoUninitialize at its end.
class ComScope {
 public:
  ComScope();
  ~ComScope();
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  // S_OK or S_FALSE when COM can be used; else the error.
  HRESULT result() const { return result_; }

 private:
  HRESULT result_;
};

// The work items' names as the scheduler enumerates them, fetched 5 at a time
// and each batch visited from its last name to its first. A failing
// enumeration ends the list; the result says why (S_OK when it simply ended).
HRESULT workItemNames(std::vector<std::wstring>& names);

struct TaskRecord {
  std::string applicationName;
  std::string comment;
  CalendarTime nextRun;    // all zero when the call failed or there is none
  CalendarTime lastRun;
  HRESULT status = S_OK;   // the work item's status (SCHED_S_TASK_READY ...)
};
// Reads one work item by the name the scheduler wants (under Wine: without ".job").
HRESULT readTask(const std::wstring& name, TaskRecord& record);
// Deletes a work item; its file goes with it.
HRESULT deleteWorkItem(const std::wstring& name);

// Wide names from the scheduler in the system code page, and back.
std::string narrow(const std::wstring& text);
std::wstring widen(const std::string& text);

// Windows 9x: the agent's window, the program that makes it, and ending it.
HWND findAgentWindow();
// Starts a program found on the search path as a new process (new console,
// new process group); the process handle, or an empty one with the error.
UniqueKernelHandle startAgent(const char* programName, DWORD& error);
// Waits until the agent's window exists, polling; false when the process
// ended first or the time passed. The scheduler answers only once it is there.
bool waitForAgentWindow(HANDLE process, DWORD timeoutMs);
// Ends the process and waits for it briefly; true when it has ended.
bool endProcess(HANDLE process);

}  // namespace tavrin::tasks
