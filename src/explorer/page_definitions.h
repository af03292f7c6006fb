#pragma once
// What sets the sheet's pages apart, one row a page in tab order: template,
// tab, intro texts, columns, button slots and the options it keeps. A new
// page is a row here and, when it acts on its rows, a ListPage subclass.
#include <windows.h>

#include <array>
#include <utility>
#include <vector>

namespace tavrin {

struct PageDefinition {
  int pageId;
  int dialogId;
  UINT title;
  int icon;
  std::vector<std::pair<UINT, int>> intros;  // string -> control
  std::vector<UINT> columns;                 // column titles; none: the page has no list of its own
  int slotCount;
  std::array<int, 5> slots;       // button of each slot, 0 for an empty slot
  std::array<int, 5> alternates;  // shown instead of the slot's button, in its place
  const char* patrolOption;       // the Monitor icon's patrol time; none: no icon
  const char* realtimeOption;
  const char* sortOption;
};

// The pages of the sheet in tab order (Services included).
const std::vector<PageDefinition>& pageDefinitions();

}  // namespace tavrin
