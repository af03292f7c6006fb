#include "monitor/strings.h"
#include "strings_test.h"

std::vector<std::pair<const char*, int>> usedMonitorStrings() {
  return {
#include "used_strings_monitor.inc"
  };
}
