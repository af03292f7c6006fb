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
  UniqueBitmap help, helpPressed, helpHover;
  UniqueBitmap monitorOn, monitorOnHover, monitorPressed;
  UniqueBitmap monitorOff, monitorOffHover, monitorOffPressed, monitorRealtime;
};

struct SharedFonts {
  UniqueFont bold, small, note;
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
  ButtonImages images;
  SharedFonts fonts;
  // The information dialog's layout flips on every opening.
  bool infoExpanded = false;
};

}  // namespace tavrin
