#pragma once
// Rules of the Explorer's list pages that need no platform: column widths,
// sort keys and comparison, location texts, note file names,
// and paging.
#include <string>
#include <vector>

namespace tavrin {

// Column fractions of a page (or layout id); empty for a page without a list.
const std::vector<double>& columnFractions(int pageId);
// Width of a column: fraction x (list width - scroll bar width); the Scheduled
// Tasks and IE Helpers pages do not subtract the scroll bar. 0 for a column
// the page does not have.
int columnWidth(int pageId, int column, int listWidth, int scrollBarWidth);

// "month/day/year hour:minute" date text -> "yyyymmddhhmm"; " " for a text of
// 11 characters or fewer (nothing to sort by).
std::string firstDetectedKey(const std::string& dateText);

// Case-insensitive comparison of two sort keys, reversed when descending;
// with `commonPrefixOnly` only the first min(length) characters count.
int compareSortKeys(std::string a, std::string b, bool descending, bool commonPrefixOnly);
// Startup page: a disabled entry's key sorts below the others either way.
std::string startupSortKey(const std::string& key, bool disabled, bool descending);

// Registry location of a startup type code (1-5, 11-15, 21-25, 100, 101,
// 200, 250-256); empty for any other code.
std::string startupLocationText(int typeCode);

// "note_<file name without its last four characters>.txt" for a resolved
// program path ("=" read as ":").
std::string noteFileName(const std::string& programFile);

// Next and previous entry with wrap-around; 0 for an empty list.
int nextIndex(int index, int count);
int previousIndex(int index, int count);

}  // namespace tavrin
