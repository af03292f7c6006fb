#include "scheduled_tasks.h"

#include <cwctype>
#include <vector>

#include "base/alert_rules.h"
#include "base/task_service_text.h"
#include "base/text.h"
#include "detection_store.h"
#include "string_ids.h"
#include "string_loader.h"
#include "sys/message.h"
#include "sys/registry.h"
#include "sys/services.h"
#include "sys/task_scheduler.h"
#include "sys/version.h"

namespace tavrin {
namespace {

constexpr char kSchedulerService[] = "Schedule";
constexpr char kAgentProgram[] = "mstask.exe";
constexpr DWORD kListPause = 10;
constexpr DWORD kItemPause = 1000;
constexpr DWORD kAgentStartLimit = 10000;

// The frame every operation runs in: scheduler running, a pause, COM for this
// operation only, and the agent ended again when this call started it.
template <typename Operation>
HRESULT inSchedulerFrame(DWORD pause, Operation operation) {
  UniqueKernelHandle started;
  if (ensureSchedulerRunning(started) != 0) return E_FAIL;
  Sleep(pause);
  HRESULT hr;
  {
    tasks::ComScope com;
    hr = com.result();
    if (SUCCEEDED(hr)) hr = operation();
  }
  stopScheduler(started);
  return hr;
}

bool sameTask(const std::wstring& enumerated, const std::string& name) {
  const std::string listed = tasks::narrow(enumerated);
  return equalsNoCase(listed, name) || equalsNoCase(taskNameWithoutJob(listed), name);
}

// The enumerated name without its ".job" ending, kept wide: a name the code
// page cannot hold would not survive a trip through it.
std::wstring withoutJobEnding(const std::wstring& name) {
  constexpr std::size_t kEnding = 4;
  if (name.size() <= kEnding) return name;
  std::wstring ending = name.substr(name.size() - kEnding);
  for (wchar_t& c : ending) c = static_cast<wchar_t>(towlower(c));
  return ending == L".job" ? name.substr(0, name.size() - kEnding) : name;
}

// The scheduler wants the name without ".job" (Wine refuses it with the
// ending); the enumerated name itself is the second try.
template <typename Call>
HRESULT byTaskName(const std::wstring& enumerated, Call call) {
  const std::wstring shortName = withoutJobEnding(enumerated);
  HRESULT hr = call(shortName);
  if (FAILED(hr) && shortName != enumerated) hr = call(enumerated);
  return hr;
}

// The first work item of that name, read; false when none could be.
bool readNamedTask(const std::string& name, tasks::TaskRecord& record) {
  bool found = false;
  inSchedulerFrame(kItemPause, [&] {
    std::vector<std::wstring> names;
    const HRESULT hr = tasks::workItemNames(names);
    for (const std::wstring& item : names) {
      if (!sameTask(item, name)) continue;
      found = SUCCEEDED(byTaskName(item, [&](const std::wstring& n) { return tasks::readTask(n, record); }));
      break;
    }
    return hr;
  });
  return found;
}

std::string statusTextOf(const tasks::TaskRecord& record) {
  return loadString(static_cast<UINT>(taskStatusTextId(record.status)), 256);
}

std::string runTimeText(const CalendarTime& time) { return taskRunTimeText(time, loadString(IDS_TIME_NEVER, 64)); }

}  // namespace

DWORD ensureSchedulerRunning(UniqueKernelHandle& started) {
  started.reset();
  if (!isWindowsNtFamily()) {
    if (tasks::findAgentWindow()) return 0;
    DWORD error = 0;
    started = tasks::startAgent(kAgentProgram, error);
    if (!started) return error;
    // A process just created has not made its window yet; ending it before
    // then would end an agent that never served the operation.
    if (tasks::waitForAgentWindow(started.get(), kAgentStartLimit)) return 0;
    stopScheduler(started);
    return ERROR_SERVICE_REQUEST_TIMEOUT;
  }
  SERVICE_STATUS status{};
  if (!scm::queryStatus(kSchedulerService, status)) return ERROR_SERVICE_DOES_NOT_EXIST;
  if (status.dwCurrentState == SERVICE_RUNNING) return 0;
  return scm::start(kSchedulerService);
}

void stopScheduler(UniqueKernelHandle& started) {
  if (!started) return;
  tasks::endProcess(started.get());
  started.reset();
  if (!isWindowsNtFamily())
    if (HWND tray = FindWindowA("Shell_TrayWnd", nullptr)) InvalidateRect(tray, nullptr, TRUE);
}

bool schedulerRunning() {
  if (!isWindowsNtFamily()) return tasks::findAgentWindow() != nullptr;
  SERVICE_STATUS status{};
  return scm::queryStatus(kSchedulerService, status) && status.dwCurrentState == SERVICE_RUNNING;
}

int enumerateTasks(EntryList& list, bool* reached) {
  list.clear();
  if (reached) *reached = false;
  const HRESULT hr = inSchedulerFrame(kListPause, [&] {
    std::vector<std::wstring> names;
    const HRESULT listed = tasks::workItemNames(names);
    if (FAILED(listed) && names.empty()) return listed;
    for (const std::wstring& item : names) {
      tasks::TaskRecord record;
      if (FAILED(byTaskName(item, [&](const std::wstring& n) { return tasks::readTask(n, record); }))) continue;
      list.add(tasks::narrow(item), record.applicationName, runTimeText(record.nextRun), runTimeText(record.lastRun),
               typecode::kScheduledTask, 0);
    }
    return S_OK;
  });
  if (reached) *reached = SUCCEEDED(hr);
  return list.count();
}

HRESULT deleteTask(const std::string& name) {
  HRESULT result = S_OK;
  const HRESULT hr = inSchedulerFrame(kItemPause, [&] {
    std::vector<std::wstring> names;
    const HRESULT listed = tasks::workItemNames(names);
    for (const std::wstring& item : names) {
      if (!sameTask(item, name)) continue;
      result = byTaskName(item, tasks::deleteWorkItem);
      return S_OK;
    }
    return listed;
  });
  return FAILED(hr) ? hr : result;
}

bool taskExists(const std::string& name) {
  bool found = false;
  inSchedulerFrame(kListPause, [&] {
    std::vector<std::wstring> names;
    const HRESULT hr = tasks::workItemNames(names);
    for (const std::wstring& item : names) found = found || sameTask(item, name);
    return hr;
  });
  return found;
}

std::string taskStatusText(const std::string& name) {
  tasks::TaskRecord record;
  return readNamedTask(name, record) ? statusTextOf(record) : std::string();
}

std::string taskComment(const std::string& name) {
  tasks::TaskRecord record;
  return readNamedTask(name, record) ? record.comment : std::string();
}

std::string taskNextRunText(const std::string& name) {
  tasks::TaskRecord record;
  return readNamedTask(name, record) ? runTimeText(record.nextRun) : std::string();
}

std::string taskDetailText(const std::string& name) {
  tasks::TaskRecord record;
  if (!readNamedTask(name, record)) return std::string();
  const std::string status = statusTextOf(record);
  return status.empty() ? record.comment : status + "\r\n" + record.comment;
}

bool isTaskApproved(const std::string& name) { return isApproved(kApprovedTasksKey, name); }

void approveTask(const std::string& name) {
  reg::writeString(HKEY_CURRENT_USER, kApprovedTasksKey, name, std::to_string(typecode::kScheduledTask));
}

HRESULT removeScheduledTask(const std::string& name) {
  const HRESULT hr = deleteTask(name);
  if (FAILED(hr) || taskExists(name)) return FAILED(hr) ? hr : E_FAIL;
  reg::deleteValue(HKEY_CURRENT_USER, kApprovedTasksKey, name);
  return S_OK;
}

int confirmAndRemoveScheduledTask(const std::string& name, HWND owner, const std::string& caption) {
  const std::string question = fillText(loadString(IDS_CONFIRM_REMOVE_TASK), {name});
  if (messageBox(owner, question, caption, MB_YESNO | MB_ICONWARNING | MB_TOPMOST, languageId()) != IDYES) return 0;
  return SUCCEEDED(removeScheduledTask(name)) ? 1 : 0;
}

}  // namespace tavrin
