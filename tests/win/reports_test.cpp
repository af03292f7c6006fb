// The reports against the real registry and files of the test prefix; the
// registry script goes through Wine's own regedit.
#include <gtest/gtest.h>

#include "reports.h"
#include "settings_export.h"
#include "support/driver.h"
#include "sys/files.h"
#include "support/win_test_util.h"

using namespace tavrin;
using namespace testutil;

namespace {

constexpr char kUserKey[] = "Software\\Quennet\\Tavrin";
constexpr char kMachineKey[] = "SOFTWARE\\Quennet";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kMainKey[] = "Software\\Microsoft\\Internet Explorer\\Main";

bool importScript(const std::string& path) {
  driver::Process regedit = driver::start("C:\\windows\\regedit.exe", "/s \"" + path + "\"");
  DWORD code = 1;
  return regedit && regedit.waitExit(30000, &code) && code == 0;
}

// The script's text in the code page; empty unless it is UTF-16LE with its mark.
std::string scriptText(const std::string& path) {
  const std::string bytes = readFile(path);
  if (bytes.size() < 2 || bytes.compare(0, 2, "\xff\xfe") != 0 || bytes.size() % 2) return "";
  std::wstring wide(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
  std::string text(wide.size() * 2, '\0');
  text.resize(WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                  static_cast<int>(text.size()), nullptr, nullptr));
  return text;
}

}  // namespace

TEST(SettingsExport, RegeditImportsBackEveryNameTypeAndValueAndAnUncreatableFileIsAnError) {
  const std::string folder = freshFolder("export"), time = std::string(kUserKey) + "\\Delay\\Time";
  const std::string disabled = std::string(kMachineKey) + "\\Tavrin\\Disabled";
  RegistrySnapshot user(HKEY_CURRENT_USER, {kUserKey, std::string(kUserKey) + "\\Options", time});
  RegistrySnapshot machine(HKEY_LOCAL_MACHINE, {disabled, disabled + "\\Run"});
  const std::string tricky = "say \"hi\" from C:\\Program Files\\x\\";
  const std::string longText(600, 'L');
  setString(HKEY_CURRENT_USER, kUserKey, "Quote \"and\" \\slash", tricky);
  setString(HKEY_CURRENT_USER, kUserKey, "", "default");
  setBinary(HKEY_CURRENT_USER, std::string(kUserKey) + "\\Options", "Number", std::string("\x07\0\0\x80", 4), REG_DWORD);
  setString(HKEY_CURRENT_USER, time, "C:\\APP.EXE", longText);
  setString(HKEY_CURRENT_USER, time, "expand", "%SystemRoot%\\x", REG_EXPAND_SZ);
  setBinary(HKEY_CURRENT_USER, time, "multi", std::string("one\0two\0\0", 9), REG_MULTI_SZ);
  setString(HKEY_CURRENT_USER, time, "lines", "first\r\nsecond");
  setBinary(HKEY_LOCAL_MACHINE, disabled + "\\Run", "bin", std::string("\0\xff\0", 3));
  setString(HKEY_LOCAL_MACHINE, disabled, "App", "11");
  setString(HKEY_CURRENT_USER, kUserKey, "forged\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Forged]", "x");

  int skipped = 0;
  ASSERT_EQ(exportSettings(folder + "\\first.reg", &skipped), 0u);
  EXPECT_EQ(skipped, 1);
  const std::string first = scriptText(folder + "\\first.reg");
  EXPECT_EQ(first.rfind("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Quennet\\Tavrin]\r\n", 0), 0u);
  EXPECT_NE(first.find("\"Quote \\\"and\\\" \\\\slash\"=\"say \\\"hi\\\" from C:\\\\Program Files\\\\x\\\\\"\r\n"),
            std::string::npos);
  EXPECT_NE(first.find("\r\n@=\"default\"\r\n"), std::string::npos);
  EXPECT_NE(first.find("\r\n\r\n[HKEY_CURRENT_USER\\Software\\Quennet\\Tavrin\\Delay\\Time]\r\n"), std::string::npos);
  EXPECT_NE(first.find("\"Number\"=dword:80000007\r\n"), std::string::npos);
  EXPECT_NE(first.find("\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quennet]\r\n"), std::string::npos);
  EXPECT_EQ(first.find("Forged"), std::string::npos);

  deleteTree(HKEY_CURRENT_USER, kUserKey);
  deleteTree(HKEY_LOCAL_MACHINE, kMachineKey);
  ASSERT_TRUE(importScript(folder + "\\first.reg"));
  ASSERT_EQ(exportSettings(folder + "\\second.reg"), 0u);
  EXPECT_EQ(scriptText(folder + "\\second.reg"), first);
  std::string data;
  DWORD type = 0;
  ASSERT_TRUE(rawValue(HKEY_CURRENT_USER, time, "multi", data, type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
  EXPECT_EQ(data, std::string("one\0two\0\0", 9));
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, time, "C:\\APP.EXE"), longText);
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, time, "lines"), "first\r\nsecond");
  // A file that cannot be created is an error.
  EXPECT_EQ(exportSettings(freshFolder("export") + "\\missing\\x.reg"), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

// The three forms go to a folder that check_reports.py reads afterwards with
// Python's own HTML and CSV parsers.
TEST(InventoryReport, HostileTextsStayTextInEveryForm) {
  const std::string program = testDir() + "\\markup_program.exe";
  const std::string script = "<script>alert(1)</script>";
  setString(HKEY_CURRENT_USER, kRunKey, script, "\"" + program + "\" -x");
  setString(HKEY_CURRENT_USER, kRunKey, "=HYPERLINK(\"x\"), \"tab\there\"", program);
  EntryList list("Tavrin", 4096);
  const std::string folder = TAVRIN_REPORT_DIR;
  for (const char* name : {"\\TavrinLog.html", "\\TavrinLog.txt", "\\TavrinLog.csv"}) DeleteFileA((folder + name).c_str());
  for (const char* name : {"\\TavrinLog.html", "\\TavrinLog.txt", "\\TavrinLog.csv"}) {
    ReportForm form;
    ASSERT_TRUE(reportFormOfPath(folder + name, form));
    EXPECT_EQ(writeInventoryReport(folder + name, form, list), 0u) << name;
  }
  EXPECT_EQ(list.count(), 0);
  const std::string html = readFile(folder + "\\TavrinLog.html");
  EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
  EXPECT_EQ(html.find(script), std::string::npos);
  const std::string csv = readFile(folder + "\\TavrinLog.csv");
  EXPECT_NE(csv.find("HKCU,Run,\"'=HYPERLINK(\"\"x\"\"), \"\"tab\there\"\"\", markup_program.exe,Acme  Inc. <b>,"),
            std::string::npos);
  EXPECT_EQ(writeInventoryReport(folder + "\\missing\\TavrinLog.csv", ReportForm::Spreadsheet, list),
            static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  deleteValue(HKEY_CURRENT_USER, kRunKey, script);
  deleteValue(HKEY_CURRENT_USER, kRunKey, "=HYPERLINK(\"x\"), \"tab\there\"");
}

TEST(HijackLog, HostsByAddressNoForgedLinesAndCrLfThroughout) {
  const std::string hosts = "C:\\windows\\system32\\drivers\\etc\\hosts";
  const std::string savedHosts = readFile(hosts);
  ASSERT_TRUE(writeFileText(hosts, "127.0.0.1 localhost\n# 10.9.9.9 commented\r\n::1 localhost\n"
                                   "0.0.0.0 ads.example\n10.1.1.1 intranet"));
  setString(HKEY_CURRENT_USER, kMainKey, "Start Page", "http://start.example/\r\nO1 - Hosts: 6.6.6.6 forged");
  const char* styles = "Software\\Microsoft\\Internet Explorer\\Styles";
  setBinary(HKEY_CURRENT_USER, styles, "User Stylesheet", std::string("a.css\0b.css\0\0", 13), REG_MULTI_SZ);

  EntryList list("Tavrin", 4096);
  const std::string path = freshFolder("hijack") + "\\HijackTavrin.log";
  ASSERT_EQ(writeHijackLog(path, list), 0u);
  const std::string log = readFile(path);
  writeFileText(hosts, savedHosts);
  deleteValue(HKEY_CURRENT_USER, kMainKey, "Start Page");
  deleteValue(HKEY_CURRENT_USER, styles, "User Stylesheet");

  std::vector<std::string> o1;
  std::size_t start = 0;
  while (start < log.size()) {
    const std::size_t end = log.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "a line without CR LF at " << start;
    const std::string line = log.substr(start, end - start);
    ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    if (line.rfind("O1 - ", 0) == 0) o1.push_back(line);
    start = end + 2;
  }
  EXPECT_EQ(o1, std::vector<std::string>{"O1 - Hosts: 10.1.1.1 intranet"});
  EXPECT_NE(log.find("\r\nR0 - HKCU\\Software\\Microsoft\\Internet Explorer\\Main,Start Page = "
                     "http://start.example/  O1 - Hosts: 6.6.6.6 forged\r\n"),
            std::string::npos);
  EXPECT_NE(log.find("\r\nO19 -  User style sheet: a.css | b.css\r\n"), std::string::npos);
  EXPECT_NE(log.find("\r\nRunning processes:\r\n"), std::string::npos);
  const std::string tail = " KB\r\n\r\n\r\n--\r\nEnd of file\r\n";
  ASSERT_GT(log.size(), tail.size());
  EXPECT_EQ(log.substr(log.size() - tail.size()), tail);
}
