#pragma once
// The two pages of the startup inventory: Startup Programs and Delayed Start,
// with the file chooser and the two dialogs they open.
#include <memory>
#include <string>

#include "list_page.h"

namespace tavrin {

std::unique_ptr<ListPage> createStartupPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition);
std::unique_ptr<ListPage> createDelayedPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition);

// The "Add AutoStart Program" chooser; empty when cancelled.
std::string chooseProgramFile(HWND owner);

// Status-bar description of a startup location (empty for codes without one).
std::string startupLocationDescription(int typeCode, bool disabled);

// "30 Sec.", "2 Min. : 30 Sec."
std::string delayTimeText(int seconds);

}  // namespace tavrin
