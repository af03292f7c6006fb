#pragma once
// The work items of the Task Scheduler (version 1 interface): listing, status,
// comment, next run and deletion, and the approved list the patrol keeps of
// them. Every operation first makes sure the scheduler runs; where it had to
// start the Windows 9x agent itself, it ends that agent again afterwards.
#include <windows.h>

#include <string>

#include "entry_list.h"
#include "sys/handles.h"

namespace tavrin {

constexpr char kApprovedTasksKey[] = "Software\\Quennet\\Tavrin\\Tasks";

// 0 when the scheduler is (now) available, else the system error. `started`
// receives the agent process this call started on Windows 9x (else stays empty).
DWORD ensureSchedulerRunning(UniqueKernelHandle& started);
// Ends an agent that ensureSchedulerRunning started, and only that one.
void stopScheduler(UniqueKernelHandle& started);
// Windows 9x: the agent's window exists; otherwise the "Schedule" service runs.
bool schedulerRunning();

// Clears the list and adds one entry per work item that can be read: name as
// enumerated, program path = application name, key = next run text, detail =
// last run text, type 800. Returns the count; 0 with an empty list when the
// scheduler or its enumerator cannot be had (`reached` then says false).
int enumerateTasks(EntryList& list, bool* reached = nullptr);

// Deletes the first work item whose name equals `name` (ignoring case, with or
// without its ".job" ending). 0 when deleted or when none matches; else the error.
HRESULT deleteTask(const std::string& name);
// Whether a work item of that name exists now.
bool taskExists(const std::string& name);

// String 688-690 for the task's status; empty when the task is not found.
std::string taskStatusText(const std::string& name);
std::string taskComment(const std::string& name);
// Run-time text of the next run; empty when the task is not found.
std::string taskNextRunText(const std::string& name);
// The information dialog's text: status, CR LF when there is one, comment.
std::string taskDetailText(const std::string& name);

// The approved list, named by the task's name as enumerated.
bool isTaskApproved(const std::string& name);
void approveTask(const std::string& name);
// The Explorer's removal: deletes the task, and its approved value once it is
// gone. 0 on success, else the scheduler's error (the value then stays).
HRESULT removeScheduledTask(const std::string& name);
// The Scheduled Tasks page's Remove: string 687 with the task's name asks
// Yes/No (warning icon, topmost), and Yes removes it as above. 1 when the
// task is gone; 0 on No or when the scheduler could not delete it.
int confirmAndRemoveScheduledTask(const std::string& name, HWND owner, const std::string& caption);

}  // namespace tavrin
