#include "processes.h"

#include <tlhelp32.h>

#include "base/alert_rules.h"
#include "base/entry_tables.h"
#include "base/text.h"
#include "history.h"
#include "program_file.h"
#include "string_ids.h"
#include "string_loader.h"
#include "sys/handles.h"
#include "sys/message.h"

namespace tavrin {
namespace {

constexpr DWORD kStillActive = 259;

std::string moduleOfProcess(DWORD id, const char* exeName) {
  UniqueKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, id));
  if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) {
    snapshot.release();
    return exeName;
  }
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  if (!Module32First(snapshot.get(), &module)) return exeName;
  return module.szExePath;
}

std::string bareName(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<RunningProcess> runningProcesses() {
  std::vector<RunningProcess> processes;
  HANDLE raw = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (raw == INVALID_HANDLE_VALUE) return processes;
  UniqueKernelHandle snapshot(raw);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(raw, &entry); more; more = Process32Next(raw, &entry)) {
    RunningProcess process;
    process.id = entry.th32ProcessID;
    process.path = entry.th32ProcessID == 0 ? std::string(entry.szExeFile)
                                            : moduleOfProcess(entry.th32ProcessID, entry.szExeFile);
    processes.push_back(process);
  }
  return processes;
}

DWORD findProcessOfProgram(const std::string& program) {
  // A startup entry's path is its whole command: compare its program file.
  const std::string file = programFileOfCommand(program);
  if (file.empty()) return 0;
  const std::string wanted = longPathForm(file);
  for (const RunningProcess& process : runningProcesses()) {
    if (process.path.empty()) continue;
    if (equalsNoCase(longPathForm(process.path), wanted) || equalsNoCase(bareName(process.path), file))
      return process.id;
  }
  return 0;
}

DWORD stopProgram(const std::string& programPath, const std::string& displayName, bool ask,
                  const std::string& caption) {
  const DWORD id = findProcessOfProgram(programPath);
  if (id == 0 || id == GetCurrentProcessId()) return 0;
  if (ask) {
    const std::string text =
        fillText(loadString(IDS_CONFIRM_STOP_PROGRAM), {displayName.empty() ? programPath : displayName});
    if (messageBox(nullptr, text, caption, MB_YESNO | MB_ICONQUESTION, languageId()) != IDYES) return 0;
  }
  UniqueKernelHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, id));
  if (!process) return 0;
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  TerminateProcess(process.get(), code);
  for (int i = 0; i < 5 && GetExitCodeProcess(process.get(), &code) && code == kStillActive; ++i) Sleep(10);
  writeHistory(displayName, programPath, "", typecode::kRunningProgram, action::kTaskKill);
  // Icons of the stopped program would stay in the notification area until the mouse passes.
  if (HWND tray = FindWindowA("Shell_TrayWnd", "")) InvalidateRect(tray, nullptr, TRUE);
  return id;
}

}  // namespace tavrin
