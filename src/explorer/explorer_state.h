#pragma once
#include <windows.h>

#include <string>

#include "inventory/entry_list.h"
#include "inventory/settings.h"

namespace tavrin {

struct ExplorerState {
  HINSTANCE instance = nullptr;
  std::string className;
  std::string caption;
  HWND window = nullptr;
  int startPage = 6026;
  int currentPage = 0;  // 0 while no sheet exists
  bool ntFamily = true;
  Options options;
  EntryList entries{"Tavrin", 4096};
};

}  // namespace tavrin
