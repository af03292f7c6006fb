#pragma once
// The File Types page and its Add File Type Extension dialog.
#include <memory>

#include "list_page.h"

namespace tavrin {

std::unique_ptr<ListPage> createFileTypesPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition);

}  // namespace tavrin
