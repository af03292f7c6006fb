// The task-change check's count of running programs against the bare process
// walk it needs, against the full listing (version resources read) and
// against a walk that takes a module snapshot of every process, the cost the
// count must not pay on each check-now request. Starts copies of itself as
// the machine's programs; prints figures, asserts nothing.
// usage: processes.exe [programs (12)]
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "inventory/processes.h"
#include "sys/processes.h"
#include "timing.h"

using namespace tavrin;

using bench::median;
using bench::nowMs;
using bench::timed;

namespace {

constexpr int kRounds = 11;
constexpr int kCopiesPerProgram = 2;

volatile std::size_t sink = 0;

// The platform reads of the count alone: identifiers and each image path.
void bareWalk() {
  std::vector<DWORD> ids;
  proc::enumerateIds(ids);
  for (DWORD id : ids) sink += proc::imagePath(id).size();
}

// A process snapshot with a module snapshot of every process.
void moduleSnapshotWalk() {
  HANDLE processes = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (processes == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(processes, &entry); more; more = Process32Next(processes, &entry)) {
    HANDLE modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, entry.th32ProcessID);
    if (modules == INVALID_HANDLE_VALUE) continue;
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    if (Module32First(modules, &module)) sink += std::string(module.szExePath).size();
    CloseHandle(modules);
  }
  CloseHandle(processes);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "-wait") {
    Sleep(600000);
    return 0;
  }
  const int programs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 12;
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string folder = "C:\\bench-processes";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::vector<PROCESS_INFORMATION> started;
  for (int p = 0; p < programs; ++p) {
    const std::string copy = folder + "\\program" + std::to_string(p) + ".exe";
    CopyFileA(self, copy.c_str(), FALSE);
    for (int c = 0; c < kCopiesPerProgram; ++c) {
      std::string line = "\"" + copy + "\" -wait";
      STARTUPINFOA startup{};
      startup.cb = sizeof startup;
      PROCESS_INFORMATION process{};
      if (CreateProcessA(copy.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        started.push_back(process);
    }
  }
  Sleep(1000);

  std::vector<double> count, bare, full, modules, countToBare, fullToCount, modulesToCount;
  std::size_t counted = 0;
  EntryList list("Tavrin", 4096);
  for (int round = 0; round < kRounds; ++round) {
    count.push_back(timed([&] { counted = runningProgramFiles().size(); }));
    bare.push_back(timed(bareWalk));
    full.push_back(timed([&] { listRunningPrograms(list); }));
    modules.push_back(timed(moduleSnapshotWalk));
    countToBare.push_back(count.back() / bare.back());
    fullToCount.push_back(full.back() / count.back());
    modulesToCount.push_back(modules.back() / count.back());
  }
  std::printf("%zu processes started, %zu running programs counted, %d listed\n", started.size(), counted,
              list.count());
  std::printf("task-change count: %.2f ms, bare walk: %.2f ms, ratio %.2f (target: close to 1)\n", median(count),
              median(bare), median(countToBare));
  std::printf("full listing: %.2f ms, ratio to the count %.2f\n", median(full), median(fullToCount));
  std::printf("module snapshot of every process: %.2f ms, ratio to the count %.2f\n", median(modules),
              median(modulesToCount));
  std::printf("(medians of %d rounds; each ratio is the median of the rounds' own ratios)\n", kRounds);

  for (PROCESS_INFORMATION& process : started) {
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  for (int p = 0; p < programs; ++p) DeleteFileA((folder + "\\program" + std::to_string(p) + ".exe").c_str());
  RemoveDirectoryA(folder.c_str());
  return 0;
}
