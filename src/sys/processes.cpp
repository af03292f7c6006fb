#include "processes.h"

#include <tlhelp32.h>
#include <vdmdbg.h>

#include "paths.h"

namespace tavrin::proc {
namespace {

constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;  // 0x0410
constexpr DWORD kQueryLimited = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION, Vista and later
constexpr DWORD kPathCapacity = 1024;

using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
using QueryFullProcessImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, DWORD*);

template <typename Fn>
Fn entryPoint(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Bound once per process: the task-change check walks often and the library stays loaded anyway.
struct Psapi {
  HMODULE module = loadSystemLibrary("PSAPI.DLL");
  EnumProcessesFn enumProcesses = entryPoint<EnumProcessesFn>(module, "EnumProcesses");
  EnumProcessModulesFn enumModules = entryPoint<EnumProcessModulesFn>(module, "EnumProcessModules");
  GetModuleFileNameExFn moduleFileName = entryPoint<GetModuleFileNameExFn>(module, "GetModuleFileNameExA");
  QueryFullProcessImageNameFn queryImage =
      entryPoint<QueryFullProcessImageNameFn>(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA");
};

const Psapi& psapi() {
  static const Psapi bound;
  return bound;
}

std::string firstModulePath(HANDLE process) {
  const Psapi& api = psapi();
  if (!api.enumModules || !api.moduleFileName) return std::string();
  HMODULE first = nullptr;
  DWORD needed = 0;
  if (!api.enumModules(process, &first, sizeof first, &needed) || !first) return std::string();
  char path[kPathCapacity];
  const DWORD length = api.moduleFileName(process, first, path, sizeof path);
  return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

std::string limitedQueryPath(HANDLE process) {
  char path[kPathCapacity];
  DWORD length = sizeof path;
  if (!psapi().queryImage(process, 0, path, &length) || length >= sizeof path) return std::string();
  return std::string(path, length);
}

std::string firstModuleOfSnapshot(DWORD id) {
  HANDLE raw = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, id);
  if (raw == INVALID_HANDLE_VALUE) return std::string();
  UniqueKernelHandle snapshot(raw);
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  return Module32First(raw, &module) ? std::string(module.szExePath) : std::string();
}

// The walk stops when the callback answers TRUE.
BOOL WINAPI visitTask(DWORD, WORD, WORD task, PSZ, PSZ file, LPARAM data) {
  const TaskVisitor& visit = *reinterpret_cast<const TaskVisitor*>(data);
  return visit(task, file ? std::string(file) : std::string()) ? FALSE : TRUE;
}

}  // namespace

bool enumerateIds(std::vector<DWORD>& ids) {
  ids.clear();
  const EnumProcessesFn enumProcesses = psapi().enumProcesses;
  if (!enumProcesses) return false;
  // A full buffer may have cut the list: ask again with twice the room.
  for (DWORD bytes = 1024; bytes <= 4 * 1024 * 1024; bytes *= 2) {
    ids.resize(bytes / sizeof(DWORD));
    DWORD returned = 0;
    if (!enumProcesses(ids.data(), bytes, &returned)) {
      ids.clear();
      return false;
    }
    if (returned < bytes) {
      ids.resize(returned / sizeof(DWORD));
      return true;
    }
  }
  ids.clear();
  return false;
}

std::string imagePath(DWORD id) {
  if (psapi().queryImage) {
    UniqueKernelHandle process(OpenProcess(kQueryLimited, FALSE, id));
    if (process) return limitedQueryPath(process.get());
  }
  UniqueKernelHandle process(OpenProcess(kQueryAndRead, FALSE, id));
  return process ? firstModulePath(process.get()) : std::string();
}

std::string imagePath(HANDLE process) {
  const std::string path = psapi().queryImage ? limitedQueryPath(process) : std::string();
  return path.empty() ? firstModulePath(process) : path;
}

bool toolhelpProcesses(std::vector<ProcessRecord>& processes) {
  processes.clear();
  HANDLE raw = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (raw == INVALID_HANDLE_VALUE) return false;
  UniqueKernelHandle snapshot(raw);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(raw, &entry); more; more = Process32Next(raw, &entry)) {
    ProcessRecord record;
    record.id = entry.th32ProcessID;
    record.path = entry.szExeFile;
    if (record.path.find('\\') == std::string::npos && record.id != 0) {
      const std::string full = firstModuleOfSnapshot(record.id);
      if (!full.empty()) record.path = full;
    }
    processes.push_back(record);
  }
  return true;
}

bool enumerate16BitTasks(DWORD vdmId, const TaskVisitor& visit) {
  UniqueModule library(loadSystemLibrary("VDMDBG.DLL"));
  const auto enumTasks = entryPoint<VDMENUMTASKWOWEXPROC>(library.get(), "VDMEnumTaskWOWEx");
  if (!enumTasks) return false;
  enumTasks(vdmId, visitTask, reinterpret_cast<LPARAM>(&visit));
  return true;
}

UniqueKernelHandle openForTermination(DWORD id) {
  return UniqueKernelHandle(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | kQueryAndRead, FALSE, id));
}

bool isRunning(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

bool terminate(HANDLE process, UINT exitCode, DWORD waitMs) {
  if (!TerminateProcess(process, exitCode)) return false;
  WaitForSingleObject(process, waitMs);
  return true;
}

bool startProgram(const std::string& program, const std::string& arguments, int show) {
  // The program's own name leads the command line, quoted, as its argument parser expects.
  std::string commandLine = "\"" + program + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION created{};
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &created))
    return false;
  CloseHandle(created.hThread);
  CloseHandle(created.hProcess);
  return true;
}

}  // namespace tavrin::proc
