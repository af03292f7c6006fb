#pragma once
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>
#include <vector>

#include "inventory/entry_list.h"
#include "inventory/options.h"
#include "sys/handles.h"

namespace tavrin {

// Bitmaps of the image buttons, shared by every page.
struct ButtonImages {
  UniqueGdiObject help, helpPressed, helpHover;
  UniqueGdiObject monitorOn, monitorOnHover, monitorPressed;
  UniqueGdiObject monitorOff, monitorOffHover, monitorOffPressed, monitorRealtime;
};

struct SharedFonts {
  UniqueGdiObject bold, small, note;
};

class ListPage;

struct ExplorerState {
  HINSTANCE instance = nullptr;
  std::string className;
  std::string caption;
  HWND window = nullptr;
  int startPage = 6026;
  int currentPage = 0;  // 0 while no sheet exists, 1 while it is being built
  bool ntFamily = true;
  bool viewCookiesAtOnce = false;
  Options options;
  EntryList entries{"Tavrin", 4096};

  HWND sheet = nullptr;
  // The open sheet's pages in tab order; empty while no sheet is open.
  std::vector<ListPage*> openPages;
  HWND statusBar = nullptr;
  int tabRows = 1;
  SIZE minimumSheet{0, 0};
  bool sheetPlaced = false;
  // Sort direction per column number, shared by every page (0 ascending).
  std::array<int, 16> sortFlags{};
  // Small-icon lists: slot 1 for Active Tasks and Hidden Files, slot 0 for the others.
  std::array<HIMAGELIST, 2> imageLists{};
  ButtonImages images;
  SharedFonts fonts;
  // The information dialog's layout flips on every opening.
  bool infoExpanded = false;
};

}  // namespace tavrin
