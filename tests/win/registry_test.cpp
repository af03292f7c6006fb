#include "sys/registry.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/win_test_util.h"
#include "sys/paths.h"
#include "support/trace_capture.h"

using namespace tavrin;

namespace {
const char* const kKey = "Software\\TavrinTest\\Registry";

class Registry : public ::testing::Test {
 protected:
  void SetUp() override { testutil::deleteTree(HKEY_CURRENT_USER, "Software\\TavrinTest"); }
  void TearDown() override { testutil::deleteTree(HKEY_CURRENT_USER, "Software\\TavrinTest"); }
};
}  // namespace

TEST_F(Registry, WriteCreatesTheWholePathAndReadsBack) {
  const std::string deep = std::string(kKey) + "\\a\\b\\c";
  ASSERT_EQ(reg::writeString(HKEY_CURRENT_USER, deep, "Value", "C:\\x.exe"), 1);
  std::string text = "garbage";
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, deep, "Value", text), 8);
  EXPECT_EQ(text, "C:\\x.exe");
  std::string raw;
  DWORD type = 0;
  ASSERT_TRUE(testutil::rawValue(HKEY_CURRENT_USER, deep, "Value", raw, type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(raw, std::string("C:\\x.exe", 9));  // stored with its terminator
  EXPECT_EQ(reg::createKey(HKEY_CURRENT_USER, deep), 1) << "an existing key is no failure";
  EXPECT_TRUE(reg::keyExists(HKEY_CURRENT_USER, deep));
}

TEST_F(Registry, AMissingKeyOrValueReadsEmptyAndWritingToAMissingKeyTracesTheOpenFailure) {
  std::string stale = "stale";
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "Nothing", stale), 0);
  EXPECT_EQ(stale, "");
  TraceCapture trace("write-missing");
  ASSERT_EQ(reg::writeString(HKEY_CURRENT_USER, kKey, "", "default"), 1);
  EXPECT_TRUE(trace.has("ERROR RegOpenKeyEx:SetRegValue: Software\\TavrinTest\\Registry"));
  std::string text;
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "", text), 7);  // empty name: the default value
  EXPECT_EQ(text, "default");
  text = "stale";
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "Nothing", text), 0);
  EXPECT_EQ(text, "");
}

TEST_F(Registry, ExpansionsAndLongDataReadWhole) {
  testutil::setString(HKEY_CURRENT_USER, kKey, "Path", "%SystemRoot%\\system32\\x.exe", REG_EXPAND_SZ);
  std::string text;
  EXPECT_GT(reg::readString(HKEY_CURRENT_USER, kKey, "Path", text), 0);
  EXPECT_TRUE(equalsNoCase(text, windowsFolder() + "\\system32\\x.exe")) << text;
  testutil::setString(HKEY_CURRENT_USER, kKey, "Huge", std::string(5000, 'h'));
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "Huge", text), 5000);
  EXPECT_EQ(text, std::string(5000, 'h'));
  // 240 characters that expand to 2000.
  SetEnvironmentVariableA("TAVRINLONG", std::string(100, 'L').c_str());
  std::string value;
  for (int i = 0; i < 20; ++i) value += "%TAVRINLONG%";
  testutil::setString(HKEY_CURRENT_USER, kKey, "Long", value, REG_EXPAND_SZ);
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "Long", text), 2000);
  EXPECT_EQ(text, std::string(2000, 'L'));
}

TEST_F(Registry, TextLongerThanTheCapacityIsRefusedAndTraced) {
  const std::string forty(40, 'q');
  reg::writeString(HKEY_CURRENT_USER, kKey, "Forty", forty);
  TraceCapture trace("overflow");
  std::string text = "stale";
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "Forty", text, 32), 0);
  EXPECT_EQ(text, "");
  EXPECT_TRUE(trace.has(forty + ": Registry Error #1024: Buffer overflow contained"));
  // Exactly capacity - 1 characters fit.
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "Forty", text, 41), 40);
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "Forty", text, 40), 0);
}

TEST_F(Registry, BinaryAndUnterminatedDataReadAsText) {
  testutil::setBinary(HKEY_CURRENT_USER, kKey, "Bin", std::string("abc\0def", 7));
  testutil::setBinary(HKEY_CURRENT_USER, kKey, "NoZero", "xyz", REG_SZ);
  testutil::setBinary(HKEY_CURRENT_USER, kKey, "Empty", "", REG_SZ);
  std::string text;
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "Bin", text), 3);
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "NoZero", text), 3);
  EXPECT_EQ(text, "xyz");
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "Empty", text), 0);
}

TEST_F(Registry, DeleteValueReportsWhatHappened) {
  EXPECT_EQ(reg::deleteValue(HKEY_CURRENT_USER, kKey, "Gone"), 0);  // no key: silent 0
  reg::writeString(HKEY_CURRENT_USER, kKey, "Here", "1");
  TraceCapture trace("delete");
  EXPECT_EQ(reg::deleteValue(HKEY_CURRENT_USER, kKey, "Missing"), 0);
  EXPECT_TRUE(trace.has("ERROR RegDeleteValue: Missing"));
  EXPECT_EQ(reg::deleteValue(HKEY_CURRENT_USER, kKey, "Here"), 1);
  std::string text;
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "Here", text), 0);
}

TEST_F(Registry, NumbersAndSmallNumbers) {
  ASSERT_EQ(reg::writeNumber(HKEY_CURRENT_USER, std::string(kKey) + "\\Svc", "Start", 2), 1);
  std::string raw;
  DWORD type = 0;
  ASSERT_TRUE(testutil::rawValue(HKEY_CURRENT_USER, std::string(kKey) + "\\Svc", "Start", raw, type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(reg::readSmallNumber(HKEY_CURRENT_USER, std::string(kKey) + "\\Svc", "Start"), 2);
  reg::writeNumber(HKEY_CURRENT_USER, kKey, "Big", 0x0304);
  EXPECT_EQ(reg::readSmallNumber(HKEY_CURRENT_USER, kKey, "Big"), 0x0304);
  EXPECT_EQ(reg::readSmallNumber(HKEY_CURRENT_USER, kKey, "Missing"), 0);
  testutil::setBinary(HKEY_CURRENT_USER, kKey, "OneByte", "\x04");
  EXPECT_EQ(reg::readSmallNumber(HKEY_CURRENT_USER, kKey, "OneByte"), 4);
}
