// The patrol's cookie categories: the filter, putting a cleaned Mozilla file
// in place, and the question about new cookies.
#include "base/cookie_text.h"
#include "inventory/cookies.h"
#include "inventory/options.h"
#include "inventory/sound_events.h"
#include "inventory/string_loader.h"
#include "monitor_window.h"
#include "patrol.h"
#include "resource.h"
#include "sys/message.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

constexpr int kCookieAlertSound = 2;

// The first listed cookie the user has neither kept nor removed; -1 when none.
int firstNewCookie(const EntryList& entries) {
  for (int i = 0; i < entries.count(); ++i) {
    const std::string name = entries.name(i);
    if (!isCookieKept(name) && !isPendingRemoval(name)) return i;
  }
  return -1;
}

}  // namespace

void filterCookies(MonitorState& state) {
  state.cookieMode = cookieModeOf(browserKind());
  // A Mozilla file is only cleaned when it can be put in place (the next category).
  if (state.cookieMode == kCookieModeMozilla) return;
  trace::line("Filter Cookies", "Internet Explorer");
  listCookies(state.entries, state.cookieMode, CookieRun::Filter);
}

void copyMozillaCookies(MonitorState& state) {
  // A copy the Explorer left waiting settles the mode as well: with the filter
  // patrol off, as it is by default, the user's removals would never reach the browser.
  if (state.cookieMode != kCookieModeMozilla && readOption("UpdateCookieFile", 0) > 0)
    state.cookieMode = cookieModeOf(browserKind());
  std::string profile;
  if (state.cookieMode != kCookieModeMozilla || !findMozillaProfileFolder(profile)) return;
  putCleanedMozillaFileInPlace(profile);
}

void checkNewCookies(MonitorState& state) {
  listCookies(state.entries, state.cookieMode, CookieRun::List);
  if (firstNewCookie(state.entries) < 0) return;
  trayStatus(state, IDI_TRAY_ALERT, IDS_TIP_NEW_COOKIES);
  playSoundEvent(kCookieAlertSound, state.options);
  state.alertShowing = true;
  trace::markDialogShown();
  const int answer = messageBox(nullptr, loadString(IDS_ASK_NEW_COOKIES), state.caption,
                                MB_YESNO | MB_ICONEXCLAMATION, languageId());
  state.alertShowing = false;
  if (answer == IDYES) openExplorer(state, "-COOKIES");
}

}  // namespace tavrin
