#include "monitor_first_run.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "base/commands.h"
#include "inventory/file_types.h"
#include "inventory/first_run.h"
#include "inventory/hidden_files.h"
#include "inventory/ie_helpers.h"
#include "inventory/options.h"
#include "inventory/processes.h"
#include "inventory/program_file.h"
#include "inventory/scheduled_tasks.h"
#include "inventory/services.h"
#include "inventory/startup_enum.h"
#include "sys/registry.h"
#include "timing.h"

using namespace tavrin;

namespace bench {
namespace {

constexpr char kStore[] = "Software\\Quennet";
constexpr char kSysfiles[] = "Software\\Quennet\\Tavrin\\Sysfiles";
constexpr char kScratch[] = "Software\\TavrinBench\\Floor";
constexpr char kMonitor[] = "C:\\Program Files\\Tavrin\\Tavrin.exe";

// Every inventory the first run lists, as a bare listing.
const struct {
  const char* name;
  int (*list)(EntryList&);
} kListings[] = {
    {"startup programs", [](EntryList& l) { return enumerateStartup(l, false, 0); }},
    {"browser add-ons", [](EntryList& l) { return enumerateIEHelpers(l); }},
    {"scheduled tasks", [](EntryList& l) { return enumerateTasks(l); }},
    {"services", [](EntryList& l) { return enumerateServices(l, false); }},
    {"file types", [](EntryList& l) { return enumerateFileTypes(l); }},
    {"running programs", [](EntryList& l) { return listRunningPrograms(l); }},
    {"hidden files", [](EntryList& l) { return enumerateHiddenFiles(l); }},
};

void forgetStore() {
  reg::deleteTree(HKEY_CURRENT_USER, kStore);
  reg::deleteTree(HKEY_LOCAL_MACHINE, kSysfiles);
}

// The values of every key below `path`, by key.
void collect(const std::string& path, std::vector<std::pair<std::string, std::vector<reg::Value>>>& keys) {
  std::vector<reg::Value> values;
  reg::readValues(HKEY_CURRENT_USER, path, values);
  if (!values.empty()) keys.emplace_back(path.substr(std::string(kStore).size()), std::move(values));
  std::vector<std::string> names;
  reg::readSubKeyNames(HKEY_CURRENT_USER, path, names);
  for (const std::string& name : names) collect(path + "\\" + name, keys);
}

// The same values written to a scratch copy of their keys, each key opened once.
double bareWrites(const std::vector<std::pair<std::string, std::vector<reg::Value>>>& keys) {
  const double start = nowMs();
  for (const auto& [path, values] : keys) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, (kScratch + path).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
      continue;
    for (const reg::Value& value : values)
      RegSetValueExA(key, value.name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.c_str()),
                     static_cast<DWORD>(value.data.size() + 1));
    RegCloseKey(key);
  }
  const double took = nowMs() - start;
  reg::deleteTree(HKEY_CURRENT_USER, "Software\\TavrinBench\\Floor");
  return took;
}

void line(const char* what, double ms, const char* unit, int count) {
  std::printf("  %-52s %8.1f ms  (%d %s)\n", what, ms, count, unit);
}

// The tray's icon of the Monitor's window: a modify without flags succeeds
// only while it is there.
bool trayIconThere(HWND window) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = window;
  data.uID = 6036;
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// The last baseline of a first run writes the watched system files' marker.
bool storeComplete() {
  std::string marker;
  return reg::readString(HKEY_LOCAL_MACHINE, kSysfiles, "", marker) > 0;
}

// The Monitor started on a machine without a store: from the process start,
// when its window is there, when its tray icon is and when its first run is
// complete, and the longest a message sent to its window waited for an answer
// in between (tracing off: with it, every entry would cost a line).
void monitorProcess() {
  if (GetFileAttributesA(kMonitor) == INVALID_FILE_ATTRIBUTES) return;
  forgetStore();
  std::string command = std::string("\"") + kMonitor + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const double started = nowMs();
  if (!CreateProcessA(kMonitor, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return;
  HWND window = nullptr;
  double shown = -1, tray = -1, complete = -1, longest = 0;
  int answered = 0;
  while (nowMs() - started < 120000 && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
    if (!window) {
      window = FindWindowA("Tavrin", nullptr);
      if (window) shown = nowMs() - started;
    }
    if (window) {
      const double asked = nowMs();
      DWORD_PTR result = 0;
      SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
      const double waited = nowMs() - asked;
      if (waited > longest) longest = waited;
      ++answered;
      if (tray < 0 && trayIconThere(window)) tray = nowMs() - started;
      if (storeComplete()) {
        complete = nowMs() - started;
        break;
      }
    }
    Sleep(20);
  }
  if (window) PostMessageA(window, WM_COMMAND, CMD_QUIT, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::printf("\nTavrin.exe started without a store, after the start: window there %.0f ms, tray icon %.0f ms,\n"
              "  first run complete %.0f ms; the longest a message to its window waited for an answer\n"
              "  in between: %.0f ms (%d messages sent)\n",
              shown, tray, complete, longest, answered);
}

}  // namespace

void firstRun(int rounds) {
  std::vector<double> total, files, writes, floor, ratio;
  std::vector<std::vector<double>> listed(std::size(kListings));
  std::vector<int> counts(std::size(kListings));
  int valueCount = 0;
  for (int round = 0; round < rounds; ++round) {
    double listingsTotal = 0;
    EntryList list("Tavrin", 4096);
    for (std::size_t i = 0; i < std::size(kListings); ++i) {
      const double took = timed([&] { counts[i] = kListings[i].list(list); });
      listed[i].push_back(took);
      listingsTotal += took;
    }
    // The per-entry work the dates need: each program file looked up.
    kListings[0].list(list);
    files.push_back(timed([&] {
      FolderListings folders;
      ProgramFiles programs;
      for (int i = 0; i < list.count(); ++i) programs.of(list.programPath(i));
    }));

    forgetStore();
    Options options;
    EntryList monitorList("Tavrin", 315);
    total.push_back(timed([&] { firstRunInitialisation(Program::Monitor, options, monitorList); }));

    std::vector<std::pair<std::string, std::vector<reg::Value>>> keys;
    collect(kStore, keys);
    valueCount = 0;
    for (const auto& key : keys) valueCount += static_cast<int>(key.second.size());
    writes.push_back(bareWrites(keys));
    floor.push_back(listingsTotal + writes.back());
    ratio.push_back(total.back() / floor.back());
  }

  std::printf("\nthe Monitor's first run (median of %d):\n", rounds);
  std::printf("its steps, each alone:\n");
  for (std::size_t i = 0; i < std::size(kListings); ++i) {
    const std::string what = std::string("listing: ") + kListings[i].name;
    line(what.c_str(), median(listed[i]), "entries", counts[i]);
  }
  line("program files of the startup entries looked up", median(files), "rows", counts[0]);
  line("what it writes, written bare (one open key per key)", median(writes), "values", valueCount);
  std::printf("first run (lists, approves and dates every entry):\n");
  line("total", median(total), "startup entries", counts[0]);
  line("floor: the listings + the same values written bare", median(floor), "values", valueCount);
  // Each round times both back to back: other work on the machine moves them together.
  std::printf("ratio first run / floor (median of the rounds' ratios): %.2f; first run %.2f s (target under 2 s)\n",
              median(ratio), median(total) / 1000.0);
  monitorProcess();
}

}  // namespace bench
