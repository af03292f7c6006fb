#pragma once
// The Scheduled Tasks and Services pages.
#include <memory>

#include "list_page.h"

namespace tavrin {

std::unique_ptr<ListPage> createScheduledTasksPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition);
std::unique_ptr<ListPage> createServicesPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition);

}  // namespace tavrin
