#pragma once
// The Hidden Files page: hidden files of the key folders, Unhide, Delete to
// the vault, deletion at restart and a look with Notepad.
#include <memory>

#include "list_page.h"

namespace tavrin {

std::unique_ptr<ListPage> createHiddenFilesPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition);

}  // namespace tavrin
