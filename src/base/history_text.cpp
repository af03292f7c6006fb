#include "history_text.h"

#include "text.h"

namespace tavrin {

const std::vector<HistoryAction>& historyActions() {
  static const std::vector<HistoryAction> kActions = {
      {0, "*START_Remove", true},
      {1, "START_Disable", false},
      {2, "START_Enable", false},
      {3, "IEHELPER_Remove", false},
      {4, "TASK_Remove", false},
      {5, "TASK_Kill", false},
      {6, "START_Alert", false},
      {7, "TASK_Alert", false},
      {8, "IEHELPER_Alert", false},
      {9, "SERVICE_Stop", false},
      {10, "SERVICE_Automatic", false},
      {11, "SERVICE_Manual", false},
      {12, "SERVICE_Disabled", false},
      {12, "START_Restore", false},
      {13, "TASK_Restore", false},
      {14, "IEHELPER_Restore", false},
      {15, "ScheduledTask_Remove", false},
      {17, "SERVICE_from_Automatic", false},
      {18, "SERVICE_from_Manual", false},
      {19, "SERVICE_from_Disabled", false},
      {20, "SERVICE__from_Disabled", false},
      {21, "RESET_USERINIT", false},
      {22, "RESET_SHELL", false},
      {23, "REMOVE_TaskScheduler", false},
      {24, "REMOVE_DELAYLOAD", false},
      {23, "REMOVE_TASKSCHEDULER", false},
      {25, "REMOVE_SHELLEXECUTEHOOK", false},
      {26, "REMOVE_APPINIT", false},
      {28, "HIDDEN_Alert", false},
      {29, "*HIDDEN_DeleteFile", true},
      {30, "REMOVE_WinLogonNotify", false},
      {31, "LOG_UNKNOWN", false},
  };
  return kActions;
}

std::string historyActionName(int code) {
  for (const HistoryAction& a : historyActions())
    if (a.code == code) return a.name;
  return "LOG_UNKNOWN";
}

int historyActionCode(std::string_view name) {
  for (const HistoryAction& a : historyActions())
    if (equalsNoCase(name, a.name)) return a.code;
  return kLogUnknownAction;
}

bool isRestorableHistoryAction(int code) {
  for (const HistoryAction& a : historyActions())
    if (a.code == code) return a.restorable;
  return false;
}

std::string historyDateText(const CalendarTime& t, std::string_view never) {
  if (t.year == 0 && t.month == 0 && t.day == 0 && t.hour == 0 && t.minute == 0) return std::string(never);
  const int hour = t.hour % 12 == 0 ? 12 : t.hour % 12;
  return format("%02u/%02u/%04u  %u:%02u %s", static_cast<unsigned>(t.month), static_cast<unsigned>(t.day),
                static_cast<unsigned>(t.year), static_cast<unsigned>(hour), static_cast<unsigned>(t.minute),
                t.hour >= 12 ? "PM" : "AM");
}

namespace {
std::string flat(const std::string& field) {
  std::string out = field;
  for (char& c : out)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return out;
}

std::string limited(std::string_view field, std::size_t below) {
  return field.size() < below ? std::string(field) : std::string();
}
}  // namespace

std::string historyLine(const std::string& date, const std::string& action, const std::string& type,
                        const std::string& name, const std::string& program, const std::string& key) {
  const std::string line = flat(date) + "\t" + flat(action) + "\t" + flat(type) + "\t" + flat(name) + "\t" +
                           flat(program) + "\t" + flat(key);
  return cut(line, kHistoryLineWidth) + "\r\n";
}

HistoryFields parseHistoryLine(std::string_view line) {
  std::vector<std::string> fields(6);
  std::size_t start = 0;
  for (std::size_t field = 0; field < fields.size(); ++field) {
    const std::size_t tab = line.find('\t', start);
    fields[field] = std::string(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  HistoryFields out;
  out.date = limited(fields[0], 32);
  out.action = limited(fields[1], 260);
  out.type = limited(fields[2], 260);
  out.name = limited(fields[3], 128);
  out.program = limited(fields[4], 260);
  out.key = limited(fields[5], 260);
  return out;
}

std::vector<std::string> historyLines(std::string_view tail, bool startsMidFile) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  if (startsMidFile) {
    std::size_t firstBreak = tail.find('\n');
    if (firstBreak == std::string_view::npos) return lines;
    start = firstBreak + 1;
  }
  while (start < tail.size()) {
    std::size_t end = tail.find('\n', start);
    if (end == std::string_view::npos) end = tail.size();
    std::string_view line = tail.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace tavrin
