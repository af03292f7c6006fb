#include "explorer/strings.h"
#include "strings_test.h"

std::vector<std::pair<const char*, int>> usedExplorerStrings() {
  return {
#include "used_strings_explorer.inc"
  };
}
