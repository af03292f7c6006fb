#include "delayed_start.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "base/command_text.h"
#include "base/entry_tables.h"
#include "base/startup_text.h"
#include "base/text.h"
#include "detection_store.h"
#include "processes.h"
#include "program_file.h"
#include "startup_actions.h"
#include "sys/registry.h"
#include "sys/version.h"

namespace tavrin {
namespace {

const char* const kValueKeys[] = {"Time", "Parameters", "Shortcuts", "Applet", "Title"};

HKEY rootOf(DelayHive hive) { return hive == DelayHive::AllUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
std::string sub(const char* key) { return std::string(kDelayKey) + "\\" + key; }

std::string readValue(DelayHive hive, const char* key, const std::string& program) {
  std::string text;
  reg::readString(rootOf(hive), sub(key), program, text);
  return text;
}

std::vector<std::string> programsOf(DelayHive hive, const char* key = nullptr) {
  std::vector<reg::Value> values;
  reg::readValues(rootOf(hive), key ? sub(key) : std::string(kDelayKey), values);
  std::vector<std::string> names;
  for (const reg::Value& v : values)
    if (!v.name.empty()) names.push_back(v.name);
  return names;
}

int showCommandOf(int state) {
  switch (state) {
    case 1:
      return SW_MINIMIZE;
    case 2:
      return SW_SHOWMAXIMIZED;
    default:
      return SW_SHOWNORMAL;
  }
}

int startProgram(const std::string& file, const std::string& parameters, DelayHive hive, const std::string& stateOf) {
  const int show = showCommandOf(static_cast<int>(leadingNumber(readValue(hive, "OpenAs", stateOf))));
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.lpVerb = "open";
  info.lpFile = file.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.nShow = show;
  if (ShellExecuteExA(&info)) return 1;
  const std::string command = "\"" + file + "\"";
  return WinExec(command.c_str(), static_cast<UINT>(show)) > 31 ? 1 : 0;
}

// Starts a listed program as the Monitor does: through its applet (the DLL
// and its entry point joined, as RUNDLL32 wants them) or directly.
int startListed(DelayHive hive, const std::string& program) {
  const std::string parameters = readValue(hive, "Parameters", program);
  const std::string applet = readValue(hive, "Applet", program);
  if (!applet.empty()) return startProgram(applet, "\"" + program + "\"" + parameters, hive, program);
  return startProgram(program, parameters, hive, program);
}

// The command a listed program goes back to startup with. A Startup-folder
// shortcut takes the bare program file as its target.
std::string commandOf(DelayHive hive, const std::string& program, int typeCode) {
  if (typeCode == 200) return program;
  return rebuildDelayedCommand(program, readValue(hive, "Parameters", program), readValue(hive, "Applet", program));
}

int readdFromList(DelayHive hive, const std::string& program, const std::string& name, const std::string& key,
                  int typeCode) {
  return readdStartupEntry({name, commandOf(hive, program, typeCode), key, typeCode});
}

}  // namespace

DelayHive delayHiveOfType(int typeCode) {
  return (typeCode >= 1 && typeCode <= 7) ? DelayHive::AllUsers : DelayHive::CurrentUser;
}

int enumerateDelayed(EntryList& list) {
  list.clear();
  for (DelayHive hive : {DelayHive::AllUsers, DelayHive::CurrentUser}) {
    std::vector<reg::Value> values;
    if (!reg::readValues(rootOf(hive), kDelayKey, values)) continue;
    for (const reg::Value& value : values) {
      if (value.name.empty()) continue;
      VersionRecord version;
      readVersionRecord(value.name, version);
      std::string title = readValue(hive, "Title", value.name);
      if (title.empty()) {
        title = version.productName;
        if (contains(title, "Microsoft\xAE Windows\xAE")) title = version.fileDescription;
      }
      if (title.empty()) title = fileNamePart(value.name);
      const int type = static_cast<int>(leadingNumber(value.data));
      const std::string key = type == 200 ? readValue(hive, "Shortcuts", value.name) : title;
      list.add(title, value.name, key, version.fileDescription, type, static_cast<int>(hive));
    }
  }
  return list.count();
}

int countDelayedPrograms() {
  return static_cast<int>(programsOf(DelayHive::AllUsers).size() + programsOf(DelayHive::CurrentUser).size());
}

int moveToDelayed(const std::string& name, const std::string& programPath, const std::string& key, int typeCode,
                  int flag, const DelayQuestions& ask) {
  if (typeCode >= 250) {
    if (ask.cannotDelay) ask.cannotDelay(name);
    return 0;
  }
  if (contains(programPath, "tavrin.exe")) {
    if (ask.cannotDelay) ask.cannotDelay(name);
    return -1;
  }
  DelayHive hive = DelayHive::CurrentUser;
  if (typeCode <= 9) {
    if (ask.allowAllUsers && !ask.allowAllUsers(name)) return 0;
    hive = DelayHive::AllUsers;
  }
  // A program that is itself the Startup-folder item leaves the folder for
  // the Disabled folder, and the list starts it from there.
  const std::string item = typeCode == typecode::kStartupFolder ? startupFolderItem(programPath, key) : "";
  const bool parks = !item.empty() && !isShortcutFile(item);
  if (parks && !removeStartupEntry({name, programPath, key, typeCode}, nullptr)) return 0;
  const CommandParts parts = splitCommand(parks ? parkedPathOf(item) : programPath);
  const HKEY root = rootOf(hive);
  const std::string& program = parts.programFile;
  reg::writeString(root, sub("Title"), program, name);
  reg::writeString(root, sub("Time"), program, std::to_string(kDefaultDelaySeconds));
  if (!parts.parameters.empty()) reg::writeString(root, sub("Parameters"), program, parts.parameters);
  reg::writeString(root, sub("Shortcuts"), program, parks ? item : key);
  if (flag) reg::writeString(root, sub("Applet"), program, "RunDLL32.exe");
  // Written last: it is what puts the program on the list.
  if (!reg::writeString(root, kDelayKey, program, std::to_string(typeCode))) return 0;
  if (!parks) removeStartupEntry({name, programPath, key, typeCode}, nullptr);
  approveStartup(programPath, kDelayedApproval);
  return 1;
}

void addToDelayed(const std::string& programFile, DelayHive hive) {
  const HKEY root = rootOf(hive);
  reg::writeString(root, sub("Time"), programFile, std::to_string(kDefaultDelaySeconds));
  reg::writeString(root, kDelayKey, programFile, hive == DelayHive::AllUsers ? "1" : "11");
}

std::string rebuildDelayedCommand(const std::string& programFile, const std::string& parameters,
                                  const std::string& applet) {
  std::string command = "\"" + programFile + "\"";
  // Parameters keep the blank they were split with; adding another would grow
  // the command by one blank on every trip through the list.
  if (!parameters.empty()) command += (parameters[0] == ',' || parameters[0] == ' ' ? "" : " ") + parameters;
  return applet.empty() ? command : applet + " " + command;
}

void deleteDelayValues(DelayHive hive, const std::string& programFile) {
  for (const char* key : kValueKeys) reg::deleteValue(rootOf(hive), sub(key), programFile);
  reg::deleteValue(rootOf(hive), kDelayKey, programFile);
}

int restoreDelayed(const EntryList& list, int index) {
  if (index < 0 || index >= list.count()) return 0;
  const DelayHive hive = static_cast<DelayHive>(list.flag(index));
  const std::string program = list.programPath(index);
  // Back in startup first: a failure there must not lose the program.
  if (!readdFromList(hive, program, list.name(index), list.key(index), list.typeCode(index))) return 0;
  deleteDelayValues(hive, program);
  return 1;
}

int restoreAllDelayed() {
  EntryList list("Tavrin", 4096);
  enumerateDelayed(list);
  int restored = 0;
  for (int i = 0; i < list.count(); ++i) {
    const DelayHive hive = delayHiveOfType(list.typeCode(i));
    const std::string program = list.programPath(i);
    if (!readdFromList(hive, program, list.name(i), list.key(i), list.typeCode(i))) continue;
    deleteDelayValues(hive, program);
    ++restored;
  }
  return restored;
}

int removeFromDelayed(const EntryList& list, int index, bool putBack) {
  if (index < 0 || index >= list.count()) return 0;
  const DelayHive hive = static_cast<DelayHive>(list.flag(index));
  const std::string program = list.programPath(index);
  if (putBack && !readdFromList(hive, program, list.name(index), list.key(index), list.typeCode(index))) return 0;
  deleteDelayValues(hive, program);
  return 1;
}

DelayedOptions readDelayedOptions(DelayHive hive, const std::string& programFile) {
  DelayedOptions options;
  options.title = readValue(hive, "Title", programFile);
  options.parameters = readValue(hive, "Parameters", programFile);
  options.seconds = static_cast<int>(leadingNumber(readValue(hive, "Time", programFile)));
  const int state = static_cast<int>(leadingNumber(readValue(hive, "OpenAs", programFile)));
  options.windowState = (state >= 0 && state <= 2) ? state : 0;
  return options;
}

void writeDelayedOptions(DelayHive hive, const std::string& programFile, const DelayedOptions& options) {
  const HKEY root = rootOf(hive);
  reg::writeString(root, sub("Time"), programFile, std::to_string(options.seconds));
  reg::writeString(root, sub("OpenAs"), programFile, std::to_string(options.windowState));
  reg::writeString(root, sub("Parameters"), programFile, cut(options.parameters, 256));
  reg::writeString(root, sub("Title"), programFile, cut(options.title, 256));
}

int launchDelayedNow(DelayHive hive, const std::string& programFile) { return startListed(hive, programFile); }

int DelayedLauncher::launchDue(int elapsedSeconds) {
  for (DelayHive hive : {DelayHive::AllUsers, DelayHive::CurrentUser}) {
    // Every program of the list, so one without a stored time still starts once.
    for (const std::string& program : programsOf(hive)) {
      const std::string id = std::to_string(static_cast<int>(hive)) + "|" + lower(program);
      if (done_.count(id)) continue;
      const long delay = leadingNumber(readValue(hive, "Time", program));
      if (delay > elapsedSeconds) continue;
      if (!findProcessOfProgram(programFileOfCommand(program))) startListed(hive, program);
      done_.insert(id);  // started or already running: never again
    }
  }
  return launched();
}

}  // namespace tavrin
