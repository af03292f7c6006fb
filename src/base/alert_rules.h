#pragma once
// Decisions of the alert dialogs and of the page comparisons that need no
// platform: which sentence a startup alert shows, the name lines, how a
// startup alert's answer is turned into a result, where an alert opens.
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// Results of the alerts, as the callers read them.
namespace alert {
constexpr int kApprove = 6;
constexpr int kRefuse = 7;
constexpr int kDisable = 11;  // startup alert: stop and disable rather than remove
}  // namespace alert

// String number of the sentence that says how a startup entry runs:
// 766 run-once kinds, 767 win.ini, 768 Startup folder, 765 every other code.
int startupLocationSentence(int typeCode);

// The startup alert's name line: empty without a product name; the place's
// own name for the Winlogon and shell-hook places, whose product name says
// nothing useful; otherwise the product name.
std::string startupNameLine(int typeCode, std::string_view productName);

// The pattern with each "%s" replaced by the next argument, in order; every
// other character (another "%" sequence included) stays as it is. The
// patterns can come from the registry's string overrides, so they are never
// handed to printf.
std::string fillText(std::string_view pattern, const std::vector<std::string>& arguments);

// A task's name line: the task file name without its four-character ending;
// a name of three characters or fewer leaves `fallback` (the caption).
std::string taskNameLine(std::string_view taskName, std::string_view fallback);

// The repeat-alert memory of the startup alert. A program alerted again right
// after itself raises the count; the third alert in a row ends in kDisable.
struct RepeatAlerts {
  int count = 0;
  std::string lastProgram;  // at most 259 characters

  void noteAlert(std::string_view programPath);
  void reset();
};

struct StartupAnswer {
  int result = alert::kApprove;
  bool openHelp = false;       // the help page on repeated alerts
  bool refuseRestOfPass = false;  // HideAlerts = 2 for the rest of the pass
};
// Turns the button pressed (true for Yes or Escape) into the alert's result;
// resets `repeats` where the answer ends a repetition.
StartupAnswer answerStartupAlert(bool yes, int typeCode, RepeatAlerts& repeats);

// One trailing "/" removed: a browser adds or drops it by itself.
std::string withoutTrailingSlash(std::string_view page);
// Start, search and desktop pages: differ when they differ ignoring case and one trailing "/".
bool pagesDiffer(std::string_view current, std::string_view stored);

// Where an alert opens. With a stored position, that position, except that an
// x beyond the virtual screen's width (a y beyond its height) becomes half of
// it. Without one: centred horizontally, its top at a third of the free
// height.
struct AlertPlacement {
  int x = 0, y = 0;
};
AlertPlacement placeAlert(bool hasStored, int storedX, int storedY, int screenWidth, int screenHeight, int width,
                          int height);

// String number of a service's run state (652 Stopped ... 658 Paused); 652
// when the state could not be read (state 0) or is unknown.
int serviceStateText(int state);
// String number of a service start type: 664 Automatic, 665 Manual, 666 Disabled, 616 Unknown.
int serviceStartText(int startType);

}  // namespace tavrin
