// The browser's start, search and desktop pages.
#include "base/alert_rules.h"
#include "base/text.h"
#include "inventory/options.h"
#include "inventory/string_loader.h"
#include "patrol.h"
#include "resource.h"
#include "sys/message.h"
#include "sys/registry.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

constexpr std::size_t kPageCapacity = 512;  // 511 characters
constexpr std::size_t kMessageWidth = 1023;

struct WatchedPage {
  UINT keyString;
  UINT valueString;  // 0: the value "Source"
  const char* storedName;
  UINT message;
};

void checkPage(MonitorState& state, const WatchedPage& page) {
  const std::string key = loadString(page.keyString, 260);
  const std::string value = page.valueString ? loadString(page.valueString, 260) : std::string("Source");
  if (key.empty() || value.empty()) return;
  std::string current, stored;
  reg::readString(HKEY_CURRENT_USER, key, value, current, kPageCapacity);
  if (!reg::valueExists(HKEY_CURRENT_USER, kSystemKey, page.storedName)) {
    reg::writeString(HKEY_CURRENT_USER, kSystemKey, page.storedName, current);
    return;
  }
  reg::readString(HKEY_CURRENT_USER, kSystemKey, page.storedName, stored, kPageCapacity);
  current = withoutTrailingSlash(current);
  stored = withoutTrailingSlash(stored);
  if (equalsNoCase(current, stored)) return;
  trayStatus(state, IDI_TRAY_ALERT, IDS_TIP_PAGES);
  const std::string message = cut(fillText(loadString(page.message), {current, stored}), kMessageWidth);
  trace::markDialogShown();
  if (messageBox(nullptr, message, state.caption, MB_YESNO | MB_ICONEXCLAMATION, languageId()) == IDYES)
    reg::writeString(HKEY_CURRENT_USER, kSystemKey, page.storedName, current);
  else
    reg::writeString(HKEY_CURRENT_USER, key, value, stored);
}

}  // namespace

void checkBrowserPages(MonitorState& state) {
  static const WatchedPage kPages[] = {
      {IDS_KEY_IE_MAIN, IDS_VALUE_START_PAGE, "StartPage", IDS_START_PAGE_CHANGED},
      {IDS_KEY_IE_MAIN, IDS_VALUE_SEARCH_PAGE, "SearchPage", IDS_SEARCH_PAGE_CHANGED},
      {IDS_KEY_DESKTOP_COMPONENT, 0, "SourcePage", IDS_DESKTOP_PAGE_CHANGED},
  };
  for (const WatchedPage& page : kPages) checkPage(state, page);
}

}  // namespace tavrin
