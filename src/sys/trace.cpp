#include "trace.h"

#include <windows.h>

#include <mutex>

#include "base/text.h"
#include "base/trace_text.h"
#include "clock.h"
#include "handles.h"

namespace tavrin::trace {
namespace {

struct State {
  std::string file;
  int counter = kTraceOff;
  std::string lastText;
  DWORD stepStart = 0;
  bool dialogShown = false;
  bool sectionChecked = false;
};

State& state() {
  static State s;
  return s;
}

// The Monitor writes from its window's thread and its start-up worker at once.
std::mutex& lock() {
  static std::mutex m;
  return m;
}

std::string oneLine(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

// True when the last section header of the file is "[Trace]".
bool endsInTraceSection(HANDLE file, DWORD size) {
  std::string content(size, '\0');
  DWORD read = 0;
  if (!ReadFile(file, &content[0], size, &read, nullptr)) return false;
  content.resize(read);
  std::size_t header = content.rfind("\n[");
  header = header == std::string::npos ? 0 : header + 1;
  return content.compare(header, 7, "[Trace]") == 0;
}

// Entries are appended: keys are unique within a run, and appending keeps a
// long trace cheap where rewriting the whole file per line would not be.
void writeEntry(const std::string& key, const std::string& value) {
  State& s = state();
  if (s.file.empty()) return;
  UniqueFile file(CreateFileA(s.file.c_str(), GENERIC_READ | FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  std::string text;
  if (!s.sectionChecked) {
    DWORD high = 0;
    DWORD size = GetFileSize(file.get(), &high);
    if (size == 0 && high == 0)
      text = "[Trace]\r\n";
    else if (size == INVALID_FILE_SIZE || high != 0 || !endsInTraceSection(file.get(), size))
      text = "\r\n[Trace]\r\n";
    s.sectionChecked = true;
  }
  text += oneLine(key) + "=" + oneLine(value) + "\r\n";
  SetFilePointer(file.get(), 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

int write(std::string_view label, std::string_view text, bool timed) {
  std::lock_guard<std::mutex> held(lock());
  State& s = state();
  if (s.counter > kTraceLimit) return 0;
  const DWORD tick = GetTickCount();
  s.lastText = cut(text, kTraceLastTextWidth);
  ++s.counter;
  if (timed) s.stepStart = tick;
  writeEntry(traceKey(tick, s.counter), traceValue(localNow(), label, text));
  return 1;
}

}  // namespace

void setFile(const std::string& path) {
  state().file = path;
  state().sectionChecked = false;
}
const std::string& file() { return state().file; }
void switchOn() { state().counter = 0; }
void switchOff() { state().counter = kTraceOff; }
bool isOn() { return state().counter <= kTraceLimit; }

int line(std::string_view label, std::string_view text) { return write(label, text, false); }
int timedLine(std::string_view label, std::string_view text) { return write(label, text, true); }

void timingLine() {
  std::lock_guard<std::mutex> held(lock());
  State& s = state();
  if (s.counter > kTraceLimit) return;
  const DWORD tick = GetTickCount();
  long elapsed = static_cast<long>((tick - s.stepStart) / 2);
  if (s.dialogShown) {
    elapsed = 1;
    s.dialogShown = false;
  }
  ++s.counter;
  writeEntry(traceKey(tick, s.counter), nanoCyclesValue(s.lastText, elapsed));
}

void markDialogShown() { state().dialogShown = true; }

int memoryLine(std::string_view label) {
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return line(label, format("%ld %%", static_cast<long>(status.dwMemoryLoad)));
}

}  // namespace tavrin::trace
