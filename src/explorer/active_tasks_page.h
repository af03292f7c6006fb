#pragma once
// The Active Tasks page: the running programs and Kill Task.
#include <memory>

#include "list_page.h"

namespace tavrin {

std::unique_ptr<ListPage> createActiveTasksPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition);

}  // namespace tavrin
