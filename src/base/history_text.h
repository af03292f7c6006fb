#pragma once
// Records of the history log: the action table, the line layout and its reading.
#include <string>
#include <string_view>
#include <vector>

#include "datetime.h"

namespace tavrin {

constexpr std::size_t kHistoryLineWidth = 1023;
// Only the newest part of the log is read.
constexpr std::size_t kHistoryReadBytes = 131072;
constexpr int kLogUnknownAction = 31;

struct HistoryAction {
  int code;
  const char* name;
  bool restorable;
};
// The 32 rows in their search order (codes 12 and 23 have two names each).
const std::vector<HistoryAction>& historyActions();
// "LOG_UNKNOWN" for a code not in the table.
std::string historyActionName(int code);
// Any case; kLogUnknownAction for a name not in the table.
int historyActionCode(std::string_view name);
bool isRestorableHistoryAction(int code);

// "MM/DD/YYYY  h:mm AM" on the 12-hour clock (0 and 12 written as 12);
// `never` when the time is all zero.
std::string historyDateText(const CalendarTime& t, std::string_view never);

// date, action, type, name, program, key joined by TAB, at most 1023
// characters, CR LF added. A TAB or line break inside a field would shift the
// fields of the record, so each becomes a blank.
std::string historyLine(const std::string& date, const std::string& action, const std::string& type,
                        const std::string& name, const std::string& program, const std::string& key);

struct HistoryFields {
  std::string date, action, type, name, program, key;
};
// Splits at TAB; missing fields are empty, a field over its limit (date 31,
// name 127, the others 259 characters) is empty.
HistoryFields parseHistoryLine(std::string_view line);

// The lines of the newest part of a log. `tail` is the end of the file; when
// `startsMidFile`, its first (partial) line is dropped. A CR before LF is no
// part of the line; empty lines are skipped.
std::vector<std::string> historyLines(std::string_view tail, bool startsMidFile);

}  // namespace tavrin
