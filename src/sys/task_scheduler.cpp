#include "task_scheduler.h"

#include <mstask.h>
#include <wrl/client.h>

namespace tavrin::tasks {
namespace {

using Microsoft::WRL::ComPtr;

// Written out: the import library does not carry them everywhere.
constexpr CLSID kTaskSchedulerClass = {0x148BD52A, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
constexpr IID kTaskSchedulerInterface = {0x148BD527, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
constexpr IID kTaskInterface = {0x148BD524, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
constexpr ULONG kBatch = 5;

HRESULT openScheduler(ComPtr<ITaskScheduler>& scheduler) {
  return CoCreateInstance(kTaskSchedulerClass, nullptr, CLSCTX_INPROC_SERVER, kTaskSchedulerInterface,
                          reinterpret_cast<void**>(scheduler.GetAddressOf()));
}

// A string the scheduler allocated, narrowed and freed.
std::string takeText(LPWSTR text) {
  if (!text) return std::string();
  std::string out = narrow(text);
  CoTaskMemFree(text);
  return out;
}

// A run time; all zero when the call fails or reports no time.
CalendarTime runTime(HRESULT (STDMETHODCALLTYPE ITask::*read)(SYSTEMTIME*), ITask* task) {
  SYSTEMTIME time{};
  CalendarTime out;
  if (FAILED((task->*read)(&time))) return out;
  out.year = time.wYear;
  out.month = time.wMonth;
  out.day = time.wDay;
  out.hour = time.wHour;
  out.minute = time.wMinute;
  out.second = time.wSecond;
  return out;
}

}  // namespace

ComScope::ComScope() : result_(CoInitialize(nullptr)) {}

ComScope::~ComScope() {
  if (SUCCEEDED(result_)) CoUninitialize();
}

HRESULT workItemNames(std::vector<std::wstring>& names) {
  names.clear();
  ComPtr<ITaskScheduler> scheduler;
  HRESULT hr = openScheduler(scheduler);
  if (FAILED(hr)) return hr;
  ComPtr<IEnumWorkItems> items;
  hr = scheduler->Enum(items.GetAddressOf());
  if (FAILED(hr)) return hr;
  for (;;) {
    LPWSTR* batch = nullptr;
    ULONG fetched = 0;
    // S_FALSE only says the batch is short; a failure or no names ends it.
    hr = items->Next(kBatch, &batch, &fetched);
    if (FAILED(hr) || fetched == 0 || !batch) {
      if (batch) CoTaskMemFree(batch);
      return FAILED(hr) ? hr : S_OK;
    }
    for (ULONG i = fetched; i-- > 0;) {
      if (batch[i]) names.emplace_back(batch[i]);
      CoTaskMemFree(batch[i]);
    }
    CoTaskMemFree(batch);
  }
}

HRESULT readTask(const std::wstring& name, TaskRecord& record) {
  record = TaskRecord{};
  ComPtr<ITaskScheduler> scheduler;
  HRESULT hr = openScheduler(scheduler);
  if (FAILED(hr)) return hr;
  ComPtr<ITask> task;
  hr = scheduler->Activate(name.c_str(), kTaskInterface, reinterpret_cast<IUnknown**>(task.GetAddressOf()));
  if (FAILED(hr)) return hr;
  LPWSTR text = nullptr;
  if (SUCCEEDED(task->GetApplicationName(&text))) record.applicationName = takeText(text);
  text = nullptr;
  if (SUCCEEDED(task->GetComment(&text))) record.comment = takeText(text);
  record.nextRun = runTime(&ITask::GetNextRunTime, task.Get());
  record.lastRun = runTime(&ITask::GetMostRecentRunTime, task.Get());
  HRESULT status = S_OK;
  if (SUCCEEDED(task->GetStatus(&status))) record.status = status;
  return S_OK;
}

HRESULT deleteWorkItem(const std::wstring& name) {
  ComPtr<ITaskScheduler> scheduler;
  HRESULT hr = openScheduler(scheduler);
  if (FAILED(hr)) return hr;
  return scheduler->Delete(name.c_str());
}

std::string narrow(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int needed = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
  if (needed <= 0) return std::string();
  std::string out(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), needed, nullptr, nullptr);
  return out;
}

std::wstring widen(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int needed = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  if (needed <= 0) return std::wstring();
  std::wstring out(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), needed);
  return out;
}

HWND findAgentWindow() { return FindWindowA("SAGEWINDOWCLASS", "SYSTEM AGENT COM WINDOW"); }

UniqueKernelHandle startAgent(const char* programName, DWORD& error) {
  error = 0;
  char path[MAX_PATH + 1] = {};
  const DWORD found = SearchPathA(nullptr, programName, nullptr, MAX_PATH, path, nullptr);
  if (found == 0 || found > MAX_PATH) {
    error = found == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
    return UniqueKernelHandle();
  }
  std::string commandLine = std::string("\"") + path + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(path, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP,
                      nullptr, nullptr, &startup, &process)) {
    error = GetLastError();
    return UniqueKernelHandle();
  }
  CloseHandle(process.hThread);
  return UniqueKernelHandle(process.hProcess);
}

bool waitForAgentWindow(HANDLE process, DWORD timeoutMs) {
  const DWORD begin = GetTickCount();
  for (;;) {
    if (findAgentWindow()) return true;
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return false;
    if (GetTickCount() - begin >= timeoutMs) return false;
    Sleep(20);
  }
}

bool endProcess(HANDLE process) {
  if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return true;
  TerminateProcess(process, 1);
  return WaitForSingleObject(process, 2000) == WAIT_OBJECT_0;
}

}  // namespace tavrin::tasks
