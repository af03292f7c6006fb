#include "base/page_layout.h"

namespace tavrin {
namespace {

// Room the sheet's frame, tabs, own buttons and status bar take from its outer size.
constexpr Size kMinimumMargin{10, 32};
constexpr Size kTabControlMargin{20, 67};
constexpr Size kStatusBarMargin{28, 131};
constexpr Point kCloseButtonFromCorner{92, 66};
constexpr Size kPageMargin{28, 112};
// What a second row of tabs takes from the page, the list and the button row.
constexpr int kSecondTabRowPage = 10;
constexpr int kSecondTabRowList = 21;
constexpr int kSecondTabRowButtonGap = 6;

constexpr int kHelpTop = 3, kHelpLabelTop = 25, kMonitorTop = 38, kMonitorLabelTop = 60;
constexpr int kListTopGap = 5, kListRightGap = 20, kButtonTopGap = 8;
constexpr int kLastSlotShift = 25;

int times(double factor, int value) { return static_cast<int>(factor * value); }

}  // namespace

Size minimumSheetSize(Size client) {
  return {client.width - kMinimumMargin.width, client.height - kMinimumMargin.height};
}

SheetLayout sheetLayout(Size sheet, int tabRows) {
  SheetLayout layout;
  layout.tabControl = {sheet.width - kTabControlMargin.width, sheet.height - kTabControlMargin.height};
  layout.statusBar = {sheet.width - kStatusBarMargin.width, sheet.height - kStatusBarMargin.height};
  layout.closeButton = {sheet.width - kCloseButtonFromCorner.x, sheet.height - kCloseButtonFromCorner.y};
  layout.page = {sheet.width - kPageMargin.width,
                 sheet.height - kPageMargin.height + (tabRows == 1 ? kSecondTabRowPage : 0)};
  return layout;
}

std::vector<SlotPlace> buttonRow(int slots, int left, int listWidth, int buttonWidth, int sheetWidth) {
  std::vector<SlotPlace> places;
  if (slots <= 0) return places;
  if (slots < 2) {
    places.push_back({sheetWidth / 2 - buttonWidth / 2, buttonWidth});
    return places;
  }
  const int step = buttonWidth + (listWidth - slots * buttonWidth) / (slots - 1);
  for (int i = 0; i < slots - 1; ++i) places.push_back({left + i * step, buttonWidth});
  places.push_back({left + (slots - 1) * step + kLastSlotShift, buttonWidth - kLastSlotShift});
  return places;
}

PageLayout listPageLayout(const PageMeasures& m) {
  const int width = m.sheet.width, height = m.sheet.height;
  const bool oneRow = m.tabRows == 1;
  PageLayout layout;
  // The image buttons keep to the right edge, each caption under its button.
  layout.help = {width - 3 * m.helpWidth, kHelpTop};
  layout.helpLabel = {width - times(1.75, m.helpLabelWidth), kHelpLabelTop};
  layout.monitor = {width - 3 * m.monitorWidth, kMonitorTop};
  layout.monitorLabel = {width - times(1.5, m.monitorLabelWidth), kMonitorLabelTop};

  const int listWidth = width - times(1.5, m.listMargin.right) - kListRightGap;
  const int listHeight = height - times(1.5, m.listMargin.bottom) + kListTopGap - (oneRow ? 0 : kSecondTabRowList);
  layout.list = {m.listMargin.left, m.listMargin.top + kListTopGap, listWidth, listHeight};

  layout.buttonTop = height - times(2.75, m.buttonMargin.bottom) + kButtonTopGap;
  if (oneRow) layout.buttonTop += m.button.height / 2 + kSecondTabRowButtonGap;
  layout.buttons = buttonRow(m.slots, m.buttonMargin.left, listWidth, m.button.width, width);
  return layout;
}

}  // namespace tavrin
