// The reports against the real registry and files of the test prefix; the
// registry script goes through Wine's own regedit.
#include <gtest/gtest.h>

#include "settings_export.h"
#include "support/driver.h"
#include "support/win_test_util.h"

using namespace tavrin;
using namespace testutil;

namespace {

constexpr char kUserKey[] = "Software\\Quennet\\Tavrin";
constexpr char kMachineKey[] = "SOFTWARE\\Quennet";

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

TEST(SettingsExport, RegeditImportsBackEveryNameTypeAndValue) {
  const std::string folder = freshFolder("export");
  const std::string tricky = "say \"hi\" from C:\\Program Files\\x\\";
  const std::string longText(600, 'L');
  setString(HKEY_CURRENT_USER, kUserKey, "Quote \"and\" \\slash", tricky);
  setString(HKEY_CURRENT_USER, kUserKey, "", "default");
  setBinary(HKEY_CURRENT_USER, std::string(kUserKey) + "\\Options", "Number", std::string("\x07\0\0\x80", 4), REG_DWORD);
  setString(HKEY_CURRENT_USER, std::string(kUserKey) + "\\Delay\\Time", "C:\\APP.EXE", longText);
  setString(HKEY_CURRENT_USER, std::string(kUserKey) + "\\Delay\\Time", "expand", "%SystemRoot%\\x", REG_EXPAND_SZ);
  setBinary(HKEY_CURRENT_USER, std::string(kUserKey) + "\\Delay\\Time", "multi", std::string("one\0two\0\0", 9),
            REG_MULTI_SZ);
  setString(HKEY_CURRENT_USER, std::string(kUserKey) + "\\Delay\\Time", "lines", "first\r\nsecond");
  setBinary(HKEY_LOCAL_MACHINE, std::string(kMachineKey) + "\\Tavrin\\Disabled\\Run", "bin", std::string("\0\xff\0", 3));
  setString(HKEY_LOCAL_MACHINE, std::string(kMachineKey) + "\\Tavrin\\Disabled", "App", "11");
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
  deleteValue(HKEY_CURRENT_USER, kUserKey, "forged\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Forged]");

  deleteTree(HKEY_CURRENT_USER, kUserKey);
  deleteTree(HKEY_LOCAL_MACHINE, kMachineKey);
  ASSERT_TRUE(importScript(folder + "\\first.reg"));
  ASSERT_EQ(exportSettings(folder + "\\second.reg"), 0u);
  EXPECT_EQ(scriptText(folder + "\\second.reg"), first);
  std::string data;
  DWORD type = 0;
  ASSERT_TRUE(rawValue(HKEY_CURRENT_USER, std::string(kUserKey) + "\\Delay\\Time", "multi", data, type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
  EXPECT_EQ(data, std::string("one\0two\0\0", 9));
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, std::string(kUserKey) + "\\Delay\\Time", "C:\\APP.EXE"), longText);
  EXPECT_EQ(valueOf(HKEY_CURRENT_USER, std::string(kUserKey) + "\\Delay\\Time", "lines"), "first\r\nsecond");

  deleteValue(HKEY_CURRENT_USER, kUserKey, "Quote \"and\" \\slash");
  deleteValue(HKEY_CURRENT_USER, kUserKey, "");
  deleteValue(HKEY_CURRENT_USER, std::string(kUserKey) + "\\Options", "Number");
  for (const char* name : {"C:\\APP.EXE", "expand", "multi", "lines"})
    deleteValue(HKEY_CURRENT_USER, std::string(kUserKey) + "\\Delay\\Time", name);
  deleteTree(HKEY_LOCAL_MACHINE, std::string(kMachineKey) + "\\Tavrin\\Disabled\\Run");
  deleteValue(HKEY_LOCAL_MACHINE, std::string(kMachineKey) + "\\Tavrin\\Disabled", "App");
}

TEST(SettingsExport, AFileThatCannotBeCreatedIsAnError) {
  EXPECT_EQ(exportSettings(freshFolder("export") + "\\missing\\x.reg"), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}
