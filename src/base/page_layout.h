#pragma once
// Where the tab sheet and a list page put their controls as the user sizes
// the sheet: arithmetic on pixel sizes, the same for every page. The sizes
// come from the sheet's outer rectangle; one row of tabs leaves the page more
// room than two.
#include <vector>

namespace tavrin {

struct Size {
  int width = 0;
  int height = 0;
};
struct Point {
  int x = 0;
  int y = 0;
};
struct Box {
  int x = 0, y = 0, width = 0, height = 0;
};
// A rectangle in dialog units, mapped to pixels by the page's font.
struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The smallest the sheet may be made: its client area at creation less a margin.
Size minimumSheetSize(Size clientAtCreation);

struct SheetLayout {
  Size tabControl;
  Size statusBar;
  Point closeButton;  // the sheet's own Close, kept hidden
  Size page;
};
SheetLayout sheetLayout(Size sheet, int tabRows);

// A page's measuring sticks, in dialog units (the page maps them to pixels).
constexpr Margins kListMarginUnits{7, 44, 14, 90};
constexpr Margins kButtonMarginUnits{7, 25, 14, 35};

// Horizontal place of each button slot of a page's button row.
struct SlotPlace {
  int x = 0;
  int width = 0;
};
// `slots` buttons of width `buttonWidth` spread over the list's width from
// `left`; the last slot is moved 25 pixels right and made that much narrower.
// A single slot is centred on the sheet width.
std::vector<SlotPlace> buttonRow(int slots, int left, int listWidth, int buttonWidth, int sheetWidth);

struct PageMeasures {
  Size sheet;
  int tabRows = 1;
  Margins listMargin;    // kListMarginUnits in pixels
  Margins buttonMargin;  // kButtonMarginUnits in pixels
  int helpWidth = 0, helpLabelWidth = 0, monitorWidth = 0, monitorLabelWidth = 0;
  Size button;  // the first slot's button
  int slots = 0;
};
struct PageLayout {
  Point help, helpLabel, monitor, monitorLabel;  // the image buttons and their captions
  Box list;
  int buttonTop = 0;
  std::vector<SlotPlace> buttons;
};
PageLayout listPageLayout(const PageMeasures& measures);

}  // namespace tavrin
