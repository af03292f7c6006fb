#include "pages.h"

#include "active_tasks_page.h"
#include "base/commands.h"
#include "cookie_pages.h"
#include "file_types_page.h"
#include "hidden_files_page.h"
#include "ie_helpers_page.h"
#include "options_page.h"
#include "startup_pages.h"
#include "resource.h"
#include "task_service_pages.h"

namespace tavrin {

std::unique_ptr<ListPage> createPage(ExplorerState& state, Sheet& sheet, const PageDefinition& definition) {
  if (definition.pageId == CMD_STARTUP_PROGRAMS) return createStartupPage(state, sheet, definition);
  if (definition.pageId == CMD_DELAYED_START) return createDelayedPage(state, sheet, definition);
  if (definition.pageId == CMD_COOKIES) return createCookiesPage(state, sheet, definition);
  if (definition.pageId == CMD_SCHEDULED_TASKS) return createScheduledTasksPage(state, sheet, definition);
  if (definition.pageId == CMD_SERVICES) return createServicesPage(state, sheet, definition);
  if (definition.pageId == CMD_FILE_TYPES) return createFileTypesPage(state, sheet, definition);
  if (definition.pageId == CMD_IE_HELPERS) return createIEHelpersPage(state, sheet, definition);
  if (definition.pageId == CMD_ACTIVE_TASKS) return createActiveTasksPage(state, sheet, definition);
  if (definition.pageId == CMD_HIDDEN_FILES) return createHiddenFilesPage(state, sheet, definition);
  if (definition.pageId == CMD_OPTIONS) return createOptionsPage(state, sheet, definition);
  return std::make_unique<ListPage>(state, sheet, definition);
}

}  // namespace tavrin
