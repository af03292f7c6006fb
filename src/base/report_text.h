#pragma once
// Texts of the inventory report in its three forms (HTML, tab-separated text,
// comma-separated spreadsheet): escaping and field cleaning, the header
// block, and one entry of a section. Everything inserted comes from the
// machine (value names, version resources, paths) and is treated as hostile.
#include <string>
#include <string_view>
#include <vector>

#include "datetime.h"

namespace tavrin {

// "&", "<", ">", '"' and "'" as character references: text placed into HTML,
// attribute values included, can open no element.
std::string htmlText(std::string_view text);

// One spreadsheet field: a text beginning with "=", "+", "-" or "@" gets an
// apostrophe before it so that a spreadsheet does not run it as a formula;
// a field holding a comma, a double quote, CR or LF is quoted with its
// quotes doubled (RFC 4180).
std::string csvField(std::string_view text);

// A field of the tab-separated form: TAB, CR and LF become blanks.
std::string textField(std::string_view text);

// Every character below 32 becomes a blank, so a value cannot break a line.
std::string oneLine(std::string_view text);

// " 1:05:00 PM" ("%2d:%02d:%02d", hours 0 to 12 with "AM", 13 to 23 less 12
// with "PM") and " 9/03/2007" ("%2d/%02d/%4d", month, day, year).
std::string reportClockText(const CalendarTime& t);
std::string reportDateText(const CalendarTime& t);

// What the report header shows; empty texts are left out as the layout says.
struct ReportHeaderFacts {
  std::string caption, build;
  CalendarTime now;
  std::string platform;
  bool browserFound = false;
  std::string browserProduct, browserDescription, browserVersion;
  unsigned memoryLoad = 0;
  bool ieFound = false;
  std::string ieDescription, ieVersion, ieCookieFolder;
  std::vector<std::string> otherBrowsers;  // whole lines without their line end
  // (label, value) pairs, written as "label = value" and "label=value".
  std::vector<std::pair<std::string, std::string>> browserPages, winlogon;
};
// The header block; in HTML every inserted text is escaped.
std::string reportHeader(const ReportHeaderFacts& facts, bool html);

// One entry of the inventory report as the platform layer gathered it.
struct ReportEntry {
  std::string name;      // empty: "No Description available"
  std::string fileName;  // of the program path
  std::string description, version, copyright, location, programPath, firstDetected, detail;
  // Section lines after the details ("Startup Type: Automatic" ...), each
  // written as its own line.
  std::vector<std::string> extras;
  std::string link;  // online-information address, not yet escaped for HTML
  std::string signer;  // who signed the program file; empty when there is no file
};

// The link's text inside each HTML entry.
constexpr char kReportLinkText[] = "More information online";

// "<li>" head: with `fileOnly` (hidden files) the file name alone.
std::string htmlEntryHead(const ReportEntry& entry, bool fileOnly);
// The detail lines, section lines, online link and the entry's end.
std::string htmlEntryBody(const ReportEntry& entry);
// A row of the tab-separated form: name, file, description, version,
// copyright, location, path and signer.
std::string textReportRow(const ReportEntry& entry);

// The spreadsheet's column header line, and one row; the signer is the
// last column so that every older column keeps its place. File name, company,
// description and version have each comma turned into a blank and are cut
// to 260, 128, 1024 and 128 characters; every field is then made safe by
// csvField.
std::string csvHeaderLine();
struct CsvRow {
  std::string type, subType, name, fileName, company, firstDetected, programPath, description, version, signer;
};
std::string csvRowText(const CsvRow& row);

// Type and sub-type columns of a startup Run-key entry by its type code.
void spreadsheetRunNames(int typeCode, std::string& type, std::string& subType);

}  // namespace tavrin
