#include "processes.h"

#include <set>

#include "base/alert_rules.h"
#include "base/command_text.h"
#include "base/entry_tables.h"
#include "base/process_rules.h"
#include "base/text.h"
#include "detection_store.h"
#include "history.h"
#include "program_file.h"
#include "string_ids.h"
#include "string_loader.h"
#include "sys/message.h"
#include "sys/processes.h"
#include "sys/version.h"

namespace tavrin {
namespace {

// Not 259: that code reads as "still active" to anyone who asks afterwards.
constexpr UINT kStoppedExitCode = 1;
constexpr DWORD kStopWaitMs = 500;

int walkWithPsapi(const ProcessVisitor& visit) {
  std::vector<DWORD> ids;
  if (!proc::enumerateIds(ids)) return 0;
  for (DWORD id : ids) {
    const std::string path = proc::imagePath(id);
    if (!visit(id, 0, path)) return 1;
    if (!isVirtualDosMachine(path)) continue;
    bool stopped = false;
    proc::enumerate16BitTasks(id, [&](WORD task, const std::string& file) {
      stopped = !visit(id, task, file);
      return !stopped;
    });
    if (stopped) return 1;
  }
  return 1;
}

int walkWithToolhelp(const ProcessVisitor& visit) {
  std::vector<proc::ProcessRecord> processes;
  if (!proc::toolhelpProcesses(processes)) return 0;
  for (const proc::ProcessRecord& process : processes)
    if (!visit(process.id, 0, process.path)) break;
  return 1;
}

bool runsProgram(const std::string& reportedPath, const std::string& file, const std::string& wantedLong) {
  if (reportedPath.empty()) return false;
  if (processRunsProgram(reportedPath, "", file)) return true;
  const std::string processFile = programFileOfCommand(reportedPath);
  return !processFile.empty() && processRunsProgram(reportedPath, longPathForm(processFile), wantedLong);
}

// The first process running the program other than `skip`.
DWORD findProcess(const std::string& program, DWORD skip) {
  const std::string file = programFileOfCommand(program);
  if (file.empty()) return 0;
  const std::string wanted = longPathForm(file);
  DWORD found = 0;
  walkProcesses([&](DWORD id, WORD, const std::string& path) {
    if (id != skip && runsProgram(path, file, wanted)) found = id;
    return found == 0;
  });
  return found;
}

// What runs under an open process now; the handle keeps its identifier from
// being reused while it is asked.
std::string currentImage(HANDLE process, DWORD id) {
  std::string path = proc::imagePath(process);
  if (!path.empty()) return path;
  walkWithToolhelp([&](DWORD other, WORD, const std::string& reported) {
    if (other == id) path = reported;
    return other != id;
  });
  return path;
}

// Ends the process only while it still runs the program: it is opened
// first, and the handle keeps its identifier from being reused meanwhile.
bool stopIfRunning(DWORD id, const std::string& programPath) {
  UniqueKernelHandle process = proc::openForTermination(id);
  if (!process) return false;
  const std::string file = programFileOfCommand(programPath);
  return runsProgram(currentImage(process.get(), id), file, longPathForm(file)) &&
         proc::terminate(process.get(), kStoppedExitCode, kStopWaitMs);
}

}  // namespace

int walkProcesses(const ProcessVisitor& visit) {
  if (isWindowsNtFamily() && walkWithPsapi(visit)) return 1;
  return walkWithToolhelp(visit);
}

int listRunningPrograms(EntryList& list) {
  list.clear();
  std::set<std::string> listed;
  walkProcesses([&](DWORD id, WORD, const std::string& path) {
    const std::string file = path.empty() ? std::string() : programFileOfCommand(path);
    if (file.empty() || !listed.insert(file).second) return true;
    VersionRecord version;
    readVersionRecord(file, version);
    return list.add(version.fileDescription, file, "", "", typecode::kRunningProgram, static_cast<int>(id)) != 0;
  });
  return list.count();
}

std::vector<std::string> runningProgramFiles() {
  std::set<std::string> files;
  walkProcesses([&](DWORD, WORD, const std::string& path) {
    const std::string file = path.empty() ? std::string() : programFileOfCommand(path);
    if (!file.empty()) files.insert(file);
    return true;
  });
  return std::vector<std::string>(files.begin(), files.end());
}

std::vector<std::string> runningProcessPaths() {
  std::vector<std::string> paths;
  walkProcesses([&](DWORD, WORD, const std::string& path) {
    if (!path.empty()) paths.push_back(path);
    return true;
  });
  return paths;
}

void recordRunningProgramDates() {
  for (const std::string& file : runningProgramFiles()) recordFirstDetection(file, "ActiveTasks");
}

DWORD findProcessOfProgram(const std::string& program) { return findProcess(program, 0); }

bool programRunning(const std::string& program) { return findProcess(program, 0) != 0; }

DWORD stopProgram(const std::string& programPath, const std::string& displayName, bool ask,
                  const std::string& caption) {
  const DWORD id = findProcess(programPath, GetCurrentProcessId());
  if (id == 0) return 0;
  if (ask) {
    const std::string text =
        fillText(loadString(IDS_CONFIRM_STOP_PROGRAM), {displayName.empty() ? programPath : displayName});
    if (messageBox(nullptr, text, caption, MB_YESNO | MB_ICONQUESTION, languageId()) != IDYES) return 0;
  }
  if (!stopIfRunning(id, programPath)) return 0;
  writeHistory(displayName, programPath, "", typecode::kRunningProgram, action::kTaskKill);
  // Icons of the stopped program would stay in the notification area until the mouse passes.
  if (HWND tray = FindWindowA("Shell_TrayWnd", "")) InvalidateRect(tray, nullptr, TRUE);
  return id;
}

int stopProcessById(DWORD id) {
  if (id == 0 || id == GetCurrentProcessId()) return 0;
  UniqueKernelHandle process = proc::openForTermination(id);
  if (!process) return 0;
  return proc::terminate(process.get(), kStoppedExitCode, kStopWaitMs) ? 1 : 0;
}

int killListedTask(const EntryList& list, int entry) {
  if (entry < 0 || entry >= list.count() || list.typeCode(entry) != typecode::kRunningProgram) return 0;
  // The list may be minutes old: the identifier must still be that program's.
  const DWORD id = static_cast<DWORD>(list.flag(entry));
  if (id == 0 || id == GetCurrentProcessId() || !stopIfRunning(id, list.programPath(entry))) return 0;
  writeHistory(list.name(entry), programFileOfCommand(list.programPath(entry)), list.detail(entry),
               typecode::kRunningProgram, action::kTaskKill);
  return 1;
}

}  // namespace tavrin
