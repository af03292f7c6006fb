#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

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

class Sheet;

// What the Explorer holds for its whole run; each window keeps its own state.
struct ExplorerState {
  HINSTANCE instance = nullptr;
  std::string className;
  std::string caption;
  HWND window = nullptr;
  int startPage = 6026;
  bool ntFamily = true;
  bool viewCookiesAtOnce = false;
  Options options;
  // One page's entries at a time, from its fill until it is left.
  EntryList entries{"Tavrin", 4096};
  // The open tab sheet, null while none is open.
  Sheet* sheet = nullptr;
  ButtonImages images;
  SharedFonts fonts;
  // The information dialog's layout flips on every opening.
  bool infoExpanded = false;
};

}  // namespace tavrin
