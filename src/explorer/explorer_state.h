#pragma once
#include <windows.h>

#include <string>

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
};

}  // namespace tavrin
