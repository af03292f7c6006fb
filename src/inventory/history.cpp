#include "history.h"

#include <windows.h>

#include "base/entry_tables.h"
#include "base/history_text.h"
#include "hidden_files.h"
#include "ie_helpers.h"
#include "options.h"
#include "startup_actions.h"
#include "string_ids.h"
#include "string_loader.h"
#include "sys/clock.h"
#include "sys/handles.h"
#include "sys/paths.h"

namespace tavrin {
namespace {

// The other program may hold the log for a moment; a quarter second covers one append.
constexpr int kOpenAttempts = 25;
constexpr DWORD kOpenRetryMs = 10;

UniqueFile openForAppend(const std::string& path) {
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return file;
    const DWORD error = GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION && error != ERROR_ACCESS_DENIED) break;
    Sleep(kOpenRetryMs);
  }
  return UniqueFile();
}

}  // namespace

std::string historyPath() { return programFolder() + "\\history.txt"; }

int writeHistory(const std::string& name, const std::string& program, const std::string& key, int typeCode,
                 int actionCode) {
  if (readOption("History") <= 0) return 0;
  const std::string line = historyLine(historyDateText(localNow(), loadString(IDS_TIME_NEVER, 64)),
                                       historyActionName(actionCode), typeName(typeCode), name, program, key);
  UniqueFile file = openForAppend(historyPath());
  if (!file) return 0;
  LARGE_INTEGER end{};
  if (!SetFilePointerEx(file.get(), LARGE_INTEGER{}, &end, FILE_END)) return 0;
  DWORD written = 0;
  if (WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
      written == line.size())
    return 1;
  // Whole or not at all: a half record would merge with the next one.
  SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN);
  SetEndOfFile(file.get());
  return 0;
}

int readHistory(EntryList& list) {
  list.clear();
  UniqueFile file(CreateFileA(historyPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return 0;
  // The newest events are the ones worth undoing: read the end of a long log.
  const LONGLONG start = size.QuadPart > static_cast<LONGLONG>(kHistoryReadBytes)
                             ? size.QuadPart - static_cast<LONGLONG>(kHistoryReadBytes)
                             : 0;
  LARGE_INTEGER offset{};
  offset.QuadPart = start;
  SetFilePointerEx(file.get(), offset, nullptr, FILE_BEGIN);
  std::string tail(static_cast<std::size_t>(size.QuadPart - start), '\0');
  DWORD read = 0;
  if (!tail.empty() && !ReadFile(file.get(), &tail[0], static_cast<DWORD>(tail.size()), &read, nullptr)) return 0;
  tail.resize(read);
  for (const std::string& line : historyLines(tail, start > 0)) {
    const HistoryFields fields = parseHistoryLine(line);
    // A row the list refuses (a cookie row past the cookie limit) is skipped;
    // the newer rows after it still count.
    list.add(fields.name, fields.program, fields.key, fields.date, typeCodeOfName(fields.type),
             historyActionCode(fields.action));
  }
  return list.count();
}

bool isRestorableAction(int actionCode) { return isRestorableHistoryAction(actionCode); }

int restoreHistoryRow(const EntryList& list, int index) {
  if (index < 0 || index >= list.count()) return 0;
  const std::string name = list.name(index), program = list.programPath(index), key = list.key(index);
  const int type = list.typeCode(index);
  switch (list.flag(index)) {
    case action::kStartRemove:
      return readdStartupEntry({name, program, key, type});
    case action::kStartDisable:
    case action::kStartEnable:
      return toggleStartupEntry({name, program, key, type});
    case action::kIeHelperRemove:
      return restoreRemovedIEHelper(program, key);
    case action::kHiddenDeleteFile:
      return restoreFromVault(program);
    default:
      return 0;
  }
}

bool clearHistoryFile() {
  const std::string path = historyPath();
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  return DeleteFileA(path.c_str()) != FALSE;
}

}  // namespace tavrin
