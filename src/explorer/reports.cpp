#include "reports.h"

#include <shellapi.h>

#include <functional>

#include "base/alert_rules.h"
#include "base/command_text.h"
#include "base/page_rules.h"
#include "base/report_text.h"
#include "base/text.h"
#include "inventory/date_text.h"
#include "inventory/delayed_start.h"
#include "inventory/detection_store.h"
#include "inventory/file_types.h"
#include "inventory/help_pages.h"
#include "inventory/hidden_files.h"
#include "inventory/ie_helpers.h"
#include "inventory/options.h"
#include "inventory/processes.h"
#include "inventory/program_file.h"
#include "inventory/scheduled_tasks.h"
#include "inventory/service_control.h"
#include "inventory/services.h"
#include "inventory/signer.h"
#include "inventory/startup_enum.h"
#include "inventory/string_ids.h"
#include "inventory/string_loader.h"
#include "inventory/version_text.h"
#include "report_sources.h"
#include "resource.h"
#include "settings_export.h"
#include "startup_pages.h"
#include "sys/clock.h"
#include "sys/files.h"
#include "sys/message.h"
#include "sys/paths.h"
#include "sys/version.h"

namespace tavrin {
namespace {

constexpr char kReportTitle[] = "Tavrin Report Log";
constexpr char kReportLookupPath[] = "cgi-bin/extrainfo.pl?";

struct Section {
  UINT title;
  std::function<int(EntryList&)> fill;
};

const std::vector<Section>& sections() {
  static const std::vector<Section> table = {
      {IDS_TAB_STARTUP, [](EntryList& l) { return enumerateStartup(l, false, 0); }},
      {IDS_TAB_DELAYED, enumerateDelayed},
      {IDS_TAB_ACTIVE_TASKS, listRunningPrograms},
      {IDS_TAB_SCHEDULED, [](EntryList& l) { return enumerateTasks(l); }},
      {IDS_TAB_IE_HELPERS, enumerateIEHelpers},
      {IDS_TAB_FILE_TYPES, enumerateFileTypes},
      {IDS_TAB_SERVICES, [](EntryList& l) { return enumerateServices(l, false); }},
      {IDS_TAB_HIDDEN, enumerateHiddenFiles},
  };
  return table;
}
constexpr std::size_t kHiddenSection = 7;

const char* helperKeyOf(int type) {
  switch (type) {
    case 900: return "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects";
    case 901: return "SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar";
    case 902: return "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions";
    default: return nullptr;
  }
}

// Everything the report says about one list entry.
ReportEntry reportEntryOf(const EntryList& list, int entry, std::size_t section) {
  ReportEntry e;
  const int type = list.typeCode(entry);
  e.name = list.name(entry);
  e.programPath = list.programPath(entry);
  e.fileName = fileNamePart(e.programPath);
  std::string file = programFileOfCommand(e.programPath);
  const bool exists = programFileExists(file);
  VersionRecord version;
  if (exists) readVersionRecord(file, version);
  e.description = version.fileDescription;
  e.version = version.productVersion;
  e.copyright = version.legalCopyright;
  e.location = startupLocationDescription(list.typeCode(entry), list.disabledState(entry) != 0);
  if (exists) e.firstDetected = firstDetectionDate(file, type);
  if (exists) e.signer = signerOfFile(file).text;
  e.detail = list.detail(entry);
  if (type == 700 || type == 701) {
    e.extras.push_back("Startup Type: " + list.key(entry));
    std::string status;
    serviceRunStateText(list.name(entry), status);
    if (!status.empty()) e.extras.push_back("Service Status: " + status);
  } else if (section == kHiddenSection) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExA(e.programPath.c_str(), GetFileExInfoStandard, &data)) {
      e.extras.push_back("Created: " + fileTimeText(data.ftCreationTime));
      e.extras.push_back("Accessed: " + fileTimeText(data.ftLastAccessTime));
      e.extras.push_back("Written: " + fileTimeText(data.ftLastWriteTime));
      const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
      e.extras.push_back("File Size: " + thousandsText(static_cast<long long>(size)) + " Bytes");
    }
  } else if (const char* key = helperKeyOf(type)) {
    e.extras.push_back(loadString(IDS_LOCATION, 64) + ": \"HKLM\\" + key + "\"");
  }
  std::string language = loadString(IDS_LANGUAGE, 8);
  if (language.empty()) language = "en";
  e.link = makerWebHost() + kReportLookupPath + "program=" + webText(exists ? fileNamePart(file) : e.name) +
           "&vendor=" + webText(version.companyName) + "&version=" + webText(version.productVersion) +
           "&build=" + webText(versionText()) + "&Type=" + std::to_string(type) + "&Loc=" + webText(language);
  return e;
}

void writeHtmlReport(FileWriter& out, EntryList& list) {
  out << "<html><head><title>\r\n" << kReportTitle << "</title></head>\r\n<body bgcolor=FloralWhite>\r\n"
      << "<H2 align='center'> " << kReportTitle << " </H2>\r\n";
  out << reportHeader(gatherHeaderFacts(), true);
  const auto& table = sections();
  for (std::size_t i = 0; i < kHiddenSection; ++i)
    out << "<A href='TavrinLog.html#A" << std::to_string(i) << "'>" << htmlText(loadString(table[i].title, 64))
        << "</A><br>\r\n";
  for (std::size_t i = 0; i < table.size(); ++i) {
    out << "<A NAME=\"A" << std::to_string(i) << "\">\r\n<center><b><BIG><BIG> \x95 "
        << htmlText(loadString(table[i].title, 64)) << " \x95 </BIG></BIG></b></center>\r\n";
    table[i].fill(list);
    for (int entry = 0; entry < list.count(); ++entry) {
      if (list.name(entry).empty() && list.programPath(entry).empty()) continue;
      const ReportEntry e = reportEntryOf(list, entry, i);
      out << htmlEntryHead(e, i == kHiddenSection) << htmlEntryBody(e);
    }
  }
  out << "</body></html>\r\n";
}

void writeTextReport(FileWriter& out, EntryList& list, bool rows) {
  out << "Title\tProgram\tDescription\tVersion\tCopyright\tLocation\tPath\tSigner\r\n";
  const auto& table = sections();
  for (std::size_t i = 0; i < table.size(); ++i) {
    // Section lines carry the header's column count, so that a reader of
    // the columns sees no short row.
    out << textField(loadString(table[i].title, 64)) << "\t\t\t\t\t\t\t\r\n";
    table[i].fill(list);
    for (int entry = 0; entry < list.count(); ++entry) {
      if (list.name(entry).empty() && list.programPath(entry).empty()) continue;
      const ReportEntry e = reportEntryOf(list, entry, i);
      if (rows)
        out << textReportRow(e);
      else
        out << textField(e.name) << "\t" << textField(e.fileName) << "\t" << htmlEntryBody(e);
    }
  }
}

void spreadsheetRows(FileWriter& out, EntryList& list, const std::function<int(EntryList&)>& fill,
                     const std::function<bool(const EntryList&, int, CsvRow&)>& name) {
  fill(list);
  for (int entry = 0; entry < list.count(); ++entry) {
    CsvRow row;
    if (!name(list, entry, row)) continue;
    row.name = list.name(entry);
    row.programPath = list.programPath(entry);
    row.fileName = fileNamePart(row.programPath);
    std::string file = programFileOfCommand(row.programPath);
    if (programFileExists(file)) {
      VersionRecord version;
      readVersionRecord(file, version);
      row.company = version.companyName;
      row.description = version.fileDescription;
      row.version = version.productVersion;
      row.firstDetected = firstDetectionDate(file, list.typeCode(entry));
      row.signer = signerOfFile(file).text;
    }
    out << csvRowText(row);
  }
}

void writeSpreadsheet(FileWriter& out, EntryList& list) {
  const CalendarTime now = localNow();
  // The two lines above the column header carry its field count too.
  const std::string padding = ",,,,,,,,,\r\n";
  out << csvField("Log created by " + loadString(IDS_CAPTION, 32) + " version " + versionText()) << padding;
  out << csvField("Scan saved at " + reportClockText(now) + ", on " + reportDateText(now)) << padding;
  out << csvHeaderLine();
  auto startup = [](EntryList& l) { return enumerateStartup(l, false, 0); };
  spreadsheetRows(out, list, startup, [](const EntryList& l, int i, CsvRow& r) {
    if (l.typeCode(i) >= 100) return false;
    spreadsheetRunNames(l.typeCode(i), r.type, r.subType);
    return true;
  });
  spreadsheetRows(out, list, startup, [](const EntryList& l, int i, CsvRow& r) {
    r.type = "Startup", r.subType = "Folder";
    return l.typeCode(i) == 200;
  });
  auto fixed = [](const char* type, const char* subType, int only = 0) {
    return [=](const EntryList& l, int i, CsvRow& r) {
      r.type = type, r.subType = subType;
      return only == 0 || l.typeCode(i) == only;
    };
  };
  spreadsheetRows(out, list, enumerateDelayed, fixed("Delayed Start", ""));
  spreadsheetRows(out, list, listRunningPrograms, fixed("Active Tasks", ""));
  spreadsheetRows(out, list, enumerateIEHelpers, fixed("IE Helpers", "BHO", 900));
  spreadsheetRows(out, list, enumerateIEHelpers, fixed("IE Helpers", "Toolbar", 901));
  spreadsheetRows(out, list, [](EntryList& l) { return enumerateServices(l, false); },
                  [](const EntryList& l, int i, CsvRow& r) {
                    r.type = "Services";
                    serviceRunStateText(l.name(i), r.subType);
                    return true;
                  });
  spreadsheetRows(out, list, [](EntryList& l) { return enumerateTasks(l); }, fixed("Scheduled Tasks", ""));
}

std::string systemErrorText(DWORD code) {
  char* message = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, 0, reinterpret_cast<char*>(&message), 0, nullptr);
  std::string text = message ? message : "";
  if (message) LocalFree(message);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text.empty() ? "Error " + std::to_string(code) : text;
}

std::string absolutePath(const std::string& path) {
  char full[MAX_PATH * 4];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length && length < sizeof full ? std::string(full, length) : path;
}

// Opens what was written, or tells why nothing was: an old file of the same
// name is never shown as if it were the new one.
void finishReport(HWND owner, const std::string& path, DWORD error) {
  SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // the arrow
  if (error) {
    messageBox(owner, absolutePath(path) + "\n\n" + systemErrorText(error), loadString(IDS_CAPTION, 32),
               MB_OK | MB_ICONSTOP, languageId());
    return;
  }
  ShellExecuteA(owner, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

bool reportFormOfPath(const std::string& path, ReportForm& form) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  const std::string extension = lower(path.substr(dot));
  if (extension == ".html" || extension == ".htm")
    form = ReportForm::Html;
  else if (extension == ".txt")
    form = ReportForm::Text;
  else if (extension == ".csv")
    form = ReportForm::Spreadsheet;
  else
    return false;
  return true;
}

DWORD writeInventoryReport(const std::string& path, ReportForm form, EntryList& list) {
  FileWriter out(path);
  if (out.error()) return out.error();
  switch (form) {
    case ReportForm::Html: writeHtmlReport(out, list); break;
    case ReportForm::Text: writeTextReport(out, list, true); break;
    case ReportForm::SectionedText: writeTextReport(out, list, false); break;
    case ReportForm::Spreadsheet: writeSpreadsheet(out, list); break;
  }
  list.clear();
  return out.close() ? 0 : out.error();
}

void reportCommand(ExplorerState& state, HWND owner) {
  WaitCursor wait;
  const int format = readOption("Format", 0);
  const ReportForm form = format == 0 ? ReportForm::Html : format == 1 ? ReportForm::Text : ReportForm::SectionedText;
  const std::string path = form == ReportForm::Html ? "TavrinLog.html" : "TavrinLog.txt";
  finishReport(owner, path, writeInventoryReport(path, form, state.entries));
}

void spreadsheetReportCommand(ExplorerState& state, HWND owner) {
  WaitCursor wait;
  const std::string path = programFolder() + "\\TavrinLog.csv";
  finishReport(owner, path, writeInventoryReport(path, ReportForm::Spreadsheet, state.entries));
}

void hijackLogCommand(ExplorerState& state, HWND owner) {
  WaitCursor wait;
  const std::string path = programFolder() + "\\HijackTavrin.log";
  finishReport(owner, path, writeHijackLog(path, state.entries));
}

void exportSettingsCommand(HWND owner) {
  const std::string path = settingsExportPath();
  const DWORD error = exportSettings(path);
  const std::string caption = loadString(IDS_CAPTION, 32);
  if (error) {
    messageBox(owner, path + "\n\n" + systemErrorText(error), caption, MB_OK | MB_ICONSTOP, languageId());
    return;
  }
  char longPath[MAX_PATH * 4];
  const DWORD length = GetLongPathNameA(path.c_str(), longPath, sizeof longPath);
  const std::string shown = length && length < sizeof longPath ? std::string(longPath, length) : path;
  messageBox(owner, fillText(loadString(IDS_EXPORT_DONE), {shown}), caption, MB_OK | MB_ICONINFORMATION,
             languageId());
}

int reportFromCommandLine(const std::string& path, EntryList& list) {
  ReportForm form;
  std::string problem;
  if (!reportFormOfPath(path, form))
    problem = "the file name must end in .html, .txt or .csv";
  else if (const DWORD error = writeInventoryReport(path, form, list))
    problem = systemErrorText(error);
  if (problem.empty()) return 0;
  const std::string message = "TavrinEx -REPORT " + path + ": " + problem + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), message.data(), static_cast<DWORD>(message.size()), &written, nullptr);
  return 1;
}

}  // namespace tavrin
