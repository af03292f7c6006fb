#include "alert_rules.h"

#include "entry_tables.h"
#include "text.h"

namespace tavrin {

int startupLocationSentence(int typeCode) {
  switch (typeCode) {
    case 2: case 3: case 5: case 6: case 12: case 13: case 15: case 16: case 22: case 23: case 25: case 26:
      return 766;
    case typecode::kWinIniLoad:
    case typecode::kWinIniRun:
      return 767;
    case typecode::kStartupFolder:
      return 768;
    default:
      return 765;
  }
}

std::string startupNameLine(int typeCode, std::string_view productName) {
  if (productName.empty()) return std::string();
  switch (typeCode) {
    case typecode::kWinlogonUserinit:
      return "WinLogon:UserInit";
    case typecode::kWinlogonShell:
      return "WinLogon:Shell";
    case typecode::kDelayLoad:
      return "ObjectDelayLoad";
    case typecode::kSharedTaskScheduler:
      return "SharedTaskScheduler";
    case typecode::kAppInitDlls:
      return "AppInit_DLLs";
    default:
      return std::string(productName);
  }
}

std::string fillText(std::string_view pattern, const std::vector<std::string>& arguments) {
  std::string out;
  std::size_t next = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
      if (next < arguments.size()) out += arguments[next++];
      ++i;
      continue;
    }
    out += pattern[i];
  }
  return out;
}

std::string taskNameLine(std::string_view taskName, std::string_view fallback) {
  if (taskName.size() <= 3) return std::string(fallback);
  return std::string(taskName.substr(0, taskName.size() - 4));
}

void RepeatAlerts::noteAlert(std::string_view programPath) {
  if (!lastProgram.empty() && equalsNoCase(programPath, lastProgram)) ++count;
  lastProgram = cut(programPath, 259);
}

void RepeatAlerts::reset() {
  count = 0;
  lastProgram.clear();
}

StartupAnswer answerStartupAlert(bool yes, int typeCode, RepeatAlerts& repeats) {
  StartupAnswer answer;
  const bool repeated = repeats.count >= 2;
  if (repeated) {
    repeats.reset();
    answer.result = alert::kDisable;
    answer.openHelp = true;
    answer.refuseRestOfPass = !yes;
    return answer;
  }
  if (yes)
    answer.result = alert::kApprove;
  else
    answer.result = typeCode == typecode::kWinlogonNotify ? alert::kDisable : alert::kRefuse;
  return answer;
}

std::string withoutTrailingSlash(std::string_view page) {
  if (!page.empty() && page.back() == '/') page.remove_suffix(1);
  return std::string(page);
}

bool pagesDiffer(std::string_view current, std::string_view stored) {
  return !equalsNoCase(withoutTrailingSlash(current), withoutTrailingSlash(stored));
}

AlertPlacement placeAlert(bool hasStored, int storedX, int storedY, int screenWidth, int screenHeight, int width,
                          int height) {
  AlertPlacement p;
  if (hasStored) {
    p.x = storedX > screenWidth ? screenWidth / 2 : storedX;
    p.y = storedY > screenHeight ? screenHeight / 2 : storedY;
    return p;
  }
  p.x = (screenWidth - width) / 2;
  p.y = (screenHeight - height) / 3;
  return p;
}

int serviceStateText(int state) {
  if (state >= 2 && state <= 7) return 651 + state;
  return 652;
}

int serviceStartText(int startType) {
  switch (startType) {
    case 2:
      return 664;
    case 3:
      return 665;
    case 4:
      return 666;
    default:
      return 616;
  }
}

}  // namespace tavrin
