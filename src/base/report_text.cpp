#include "report_text.h"

#include "text.h"

namespace tavrin {
namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kEntryPadding[] =
    "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp";

std::string commasAsBlanks(std::string_view text, std::size_t width) {
  std::string out = cut(text, width);
  for (char& c : out)
    if (c == ',') c = ' ';
  return out;
}

}  // namespace

std::string htmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string csvField(std::string_view text) {
  std::string field;
  if (!text.empty() && (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@')) field = "'";
  field += text;
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string textField(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  return out;
}

std::string oneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 32) c = ' ';
  return out;
}

std::string reportClockText(const CalendarTime& t) {
  const bool afternoon = t.hour > 12;
  return format("%2d:%02d:%02d %s", afternoon ? t.hour - 12 : t.hour, t.minute, t.second, afternoon ? "PM" : "AM");
}

std::string reportDateText(const CalendarTime& t) { return format("%2d/%02d/%4d", t.month, t.day, t.year); }

std::string reportHeader(const ReportHeaderFacts& f, bool html) {
  const char* end = html ? "<br>\r\n" : kLineEnd;
  const char* block = html ? "<br>" : "";
  auto put = [&](std::string_view text) { return html ? htmlText(text) : oneLine(text); };
  std::string out = "Report created by " + put(f.caption) + " version " + put(f.build) + " at " +
                    reportClockText(f.now) + ", on " + reportDateText(f.now) + end;
  out += end;
  out += (html ? "<b>Platform:</b> " : "Platform: ") + put(f.platform) + end;
  if (f.browserFound) {
    out += html ? "<b>Browser:</b> " + put(f.browserProduct) + " - <i>" + put(f.browserDescription) + "</i> version "
                : "Browser: " + put(f.browserProduct) + " - " + put(f.browserDescription) + " version ";
    out += put(f.browserVersion) + end;
  } else {
    out += std::string("Browser: Unable to find default browser.") + end;
  }
  out += "Memory currently in use: " + std::to_string(f.memoryLoad) + "%" + end + block;
  if (f.ieFound) {
    out += "MSIE: " + put(f.ieDescription) + " (" + put(f.ieVersion) + ")" + end;
    out += "IE Cookie Path: " + put(f.ieCookieFolder) + " " + end;
  } else {
    out += std::string("MSIE: Internet Explorer Not found.") + end;
  }
  out += kLineEnd;
  for (const std::string& line : f.otherBrowsers) out += put(line) + end;
  out += end;
  for (const auto& [label, value] : f.browserPages) out += put(label) + " = " + put(value) + end;
  out += end;
  for (const auto& [label, value] : f.winlogon) out += put(label) + "=" + put(value) + end;
  out += std::string(end) + block;
  return out;
}

std::string htmlEntryHead(const ReportEntry& e, bool fileOnly) {
  if (fileOnly) return "<li><b>" + htmlText(e.fileName) + "</b>\r\n\t<ol>\r\n";
  const std::string name = e.name.empty() ? std::string("No Description available") : e.name;
  return "<li><b>" + htmlText(name) + "</b>\r\n\t<ol>" + htmlText(e.fileName) + kEntryPadding + kLineEnd;
}

std::string htmlEntryBody(const ReportEntry& e) {
  std::string out;
  if (!e.description.empty()) out += "\t" + htmlText(e.description) + "<br>";
  if (!e.version.empty()) out += "\tVersion: " + htmlText(e.version) + "&nbsp;&nbsp;&nbsp;&nbsp&nbsp;&nbsp;&nbsp;&nbsp\r\n";
  if (!e.copyright.empty()) out += "\t" + htmlText(e.copyright) + "<br>\r\n";
  if (e.description.empty() && e.copyright.empty()) out += "<br>";
  auto line = [&](const char* label, const std::string& value) {
    if (!value.empty()) out += std::string("\t") + label + htmlText(value) + "<br>\r\n";
  };
  line("Location: ", e.location);
  line("Path:     ", e.programPath);
  line("Signer:   ", e.signer);
  line("First Detected by Tavrin: ", e.firstDetected);
  line("", e.detail);
  for (const std::string& extra : e.extras) line("", extra);
  out += "\t<A href='" + htmlText(e.link) + "'>" + kReportLinkText + "</A></ol>\r\n\r\n";
  out += "\t</ol><br>\r\n\r\n";
  return out;
}

std::string textReportRow(const ReportEntry& e) {
  std::string out;
  for (const std::string* field : {&e.name, &e.fileName, &e.description, &e.version, &e.copyright, &e.location})
    out += textField(*field) + "\t";
  return out + textField(e.programPath) + "\t" + textField(e.signer) + kLineEnd;
}

std::string csvHeaderLine() { return "Type,SubType,Title,Filename,Company,First Detected,Path,Description, Version,Signer\r\n"; }

std::string csvRowText(const CsvRow& r) {
  const std::string fields[] = {csvField(r.type),
                                csvField(r.subType),
                                csvField(r.name),
                                csvField(" " + commasAsBlanks(r.fileName, 260)),
                                csvField(commasAsBlanks(r.company, 128)),
                                csvField(r.firstDetected),
                                csvField(r.programPath),
                                csvField(commasAsBlanks(r.description, 1024)),
                                csvField(commasAsBlanks(r.version, 128)),
                                csvField(r.signer)};
  std::string out;
  for (const std::string& field : fields) out += (out.empty() ? "" : ",") + field;
  return out + kLineEnd;
}

void spreadsheetRunNames(int typeCode, std::string& type, std::string& subType) {
  static const char* const kKeys[] = {"Run", "RunOnce", "RunOnceEx", "RunServices", "RunServicesOnce", "RunOnceSetup"};
  const int hive = typeCode / 10, key = typeCode % 10;
  if (hive > 2 || key < 1 || key > 6) {
    type = "UnknownKey";
    subType = "Run";
    return;
  }
  type = hive == 0 ? "HKLM" : hive == 1 ? "HKCU" : "HKU";
  subType = typeCode == 25 ? "RunServiceOnce" : kKeys[key - 1];
}

}  // namespace tavrin
