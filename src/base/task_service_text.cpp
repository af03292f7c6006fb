#include "task_service_text.h"

#include <cstdio>

#include "history_text.h"
#include "text.h"

namespace tavrin {

std::string taskRunTimeText(const CalendarTime& t, std::string_view never) {
  if (t.year == 0 && t.month == 0 && t.day == 0) return std::string(never);
  return historyDateText(t, never);  // the same layout; never all zero here
}

std::string taskRunTimeKey(std::string_view text) {
  const std::string run(text);
  int month = 0, day = 0, year = 0, hour = 0, minute = 0;
  char half[3] = {};
  if (std::sscanf(run.c_str(), "%2d/%2d/%4d %2d:%2d %2s", &month, &day, &year, &hour, &minute, half) != 6) return "";
  const bool pm = half[0] == 'P' || half[0] == 'p';
  return format("%04d%02d%02d%02d%02d", year, month, day, hour % 12 + (pm ? 12 : 0), minute);
}

int taskStatusTextId(long status) {
  if (status == 0x00041301) return 689;
  if (status == 0x00041305) return 690;
  return 688;
}

std::string taskNameWithoutJob(std::string_view name) {
  constexpr std::string_view kEnding = ".job";
  if (name.size() > kEnding.size() && equalsNoCase(name.substr(name.size() - kEnding.size()), kEnding))
    name.remove_suffix(kEnding.size());
  return std::string(name);
}

bool isProgramService(std::string_view imagePath) {
  return contains(imagePath, ".exe") || contains(imagePath, "svchost");
}

int serviceTypeCode(std::string_view imagePath) { return contains(imagePath, "svchost") ? 701 : 700; }

int serviceListStartText(int startType) {
  if (startType >= 2 && startType <= 4) return 662 + startType;
  return 0;
}

unsigned packServiceState(unsigned state, unsigned serviceType) { return (state << 16) | (serviceType & 0xFFFF); }

unsigned stateOfPacked(unsigned packed) { return packed >> 16; }

int previousStartTypeAction(int startType) {
  if (startType >= 2 && startType <= 4) return 15 + startType;
  return -1;
}

int startTypeOfChoice(int choice) { return choice + 2; }

int startTypeChoiceAction(int choice) { return 10 + choice; }

}  // namespace tavrin
