#include "options.h"

#include "base/text.h"
#include "sys/registry.h"

namespace tavrin {
namespace {

// The option's place in Options, in a nested group or not.
template <int Options::*Field>
int& field(Options& o) {
  return o.*Field;
}
template <int PatrolTimes::*Field>
int& patrolField(Options& o) {
  return o.patrol.*Field;
}
template <int RealtimeOptions::*Field>
int& realtimeField(Options& o) {
  return o.realtime.*Field;
}

struct OptionRow {
  const char* name;
  int& (*field)(Options&);
  int defaultValue;
};

// MaxCookie and TrayIcon are absent: their defaults depend on program and platform.
const OptionRow kOptionRows[] = {
    {"HideBramble", field<&Options::hideBramble>, 0},
    {"HideAlerts", field<&Options::hideAlerts>, 0},
    {"Format", field<&Options::format>, 0},
    {"ConfirmExit", field<&Options::confirmExit>, 0},
    {"Sound", field<&Options::sound>, 1},
    {"History", field<&Options::history>, 1},
    {"HideMicrosoftServices", field<&Options::hideMicrosoftServices>, 0},
    {"LockFileTypes", field<&Options::lockFileTypes>, 0},
    {"ShowAllStartup", field<&Options::showAllStartup>, 0},
    {"NoMicrosoftStartup", field<&Options::noMicrosoftStartup>, 0},
    {"Start", patrolField<&PatrolTimes::start>, 2},
    {"IEHelpers", patrolField<&PatrolTimes::ieHelpers>, 2},
    {"Hidden", patrolField<&PatrolTimes::hidden>, 0},
    {"HostFile", patrolField<&PatrolTimes::hostFile>, 3},
    {"StartPage", patrolField<&PatrolTimes::startPage>, 2},
    {"FileType", patrolField<&PatrolTimes::fileType>, 10},
    {"Tasks", patrolField<&PatrolTimes::tasks>, 11},
    {"WinInit", patrolField<&PatrolTimes::winInit>, 5},
    {"Services", patrolField<&PatrolTimes::services>, 7},
    {"Nuts", patrolField<&PatrolTimes::nuts>, 0},
    {"Cookies", patrolField<&PatrolTimes::cookies>, 0},
    {"RealtimeStartup", realtimeField<&RealtimeOptions::startup>, 1},
    {"RealtimeIEHelper", realtimeField<&RealtimeOptions::ieHelper>, 1},
    {"RealtimeSysFiles", realtimeField<&RealtimeOptions::sysFiles>, 1},
    {"RealtimeFileType", realtimeField<&RealtimeOptions::fileType>, 0},
    {"RealtimeStartPage", realtimeField<&RealtimeOptions::startPage>, 1},
    {"RealtimeHidden", realtimeField<&RealtimeOptions::hidden>, 0},
    {"ViewCookies", field<&Options::viewCookies>, 0},
    {"Update", field<&Options::update>, 0},
    {"Cleanup", field<&Options::cleanup>, 0},
    {"Debug", field<&Options::debug>, 0},
    {"StartTab", field<&Options::startTab>, 6026},
    {"Browser", field<&Options::browser>, 1},
    {"BrowserFailure", field<&Options::browserFailure>, 0},
    {"SortStartup", field<&Options::sortStartup>, 0},
    {"SortPrograms", field<&Options::sortPrograms>, 0},
    {"SortIEHelper", field<&Options::sortIEHelper>, 0},
    {"SortScheduledTask", field<&Options::sortScheduledTask>, 0},
    {"SortService", field<&Options::sortService>, 0},
    {"SortActiveTask", field<&Options::sortActiveTask>, 0},
    {"SortCookie", field<&Options::sortCookie>, 0},
    {"SortFileType", field<&Options::sortFileType>, 0},
    {"SortHidden", field<&Options::sortHidden>, 0},
    {"SortHistory", field<&Options::sortHistory>, 0},
    {"NoteSize", field<&Options::noteSize>, 14},
};

const OptionRow* rowOf(const std::string& name) {
  for (const OptionRow& row : kOptionRows)
    if (equalsNoCase(name, row.name)) return &row;
  return nullptr;
}

}  // namespace

int optionDefault(const std::string& name) {
  const OptionRow* row = rowOf(name);
  return row ? row->defaultValue : 0;
}

int readOption(const std::string& name) { return readOption(name, optionDefault(name)); }

int readOption(const std::string& name, int defaultValue) {
  std::string text;
  if (reg::readString(HKEY_CURRENT_USER, kOptionsKey, name, text) == 0) return defaultValue;
  return static_cast<int>(leadingNumber(text));
}

int writeOption(const std::string& name, int value) {
  reg::writeString(HKEY_CURRENT_USER, kOptionsKey, name, std::to_string(value));
  return reg::writeString(HKEY_CURRENT_USER, kOptionsKey, "Update", "1");
}

void Options::load(Program program, bool ntFamily) {
  for (const OptionRow& row : kOptionRows) row.field(*this) = readOption(row.name, row.defaultValue);
  maxCookie = readOption("MaxCookie", program == Program::Monitor ? 315 : 4096);
  trayIcon = readOption("TrayIcon", (program == Program::Explorer || ntFamily) ? 101 : 159);
  std::string font;
  noteFont = reg::readString(HKEY_CURRENT_USER, kOptionsKey, "NoteFont", font, 32) > 0 ? font : "Arial";
}

int* Options::fieldOf(const std::string& name) {
  if (const OptionRow* row = rowOf(name)) return &row->field(*this);
  if (equalsNoCase(name, "MaxCookie")) return &maxCookie;
  if (equalsNoCase(name, "TrayIcon")) return &trayIcon;
  return nullptr;
}

int Options::set(const std::string& name, int value) {
  if (int* field = fieldOf(name)) *field = value;
  return writeOption(name, value);
}

void Options::writeBulk(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    int* field = fieldOf(name);
    const int value = readOption(name, field ? *field : optionDefault(name));
    if (field) *field = value;
    writeOption(name, value);
  }
}

}  // namespace tavrin
