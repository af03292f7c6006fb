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

TEST_F(Registry, WriteCreatesTheWholePathAndTextsAndNumbersReadBack) {
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
  ASSERT_EQ(reg::writeNumber(HKEY_CURRENT_USER, std::string(kKey) + "\\Svc", "Start", 2), 1);
  ASSERT_TRUE(testutil::rawValue(HKEY_CURRENT_USER, std::string(kKey) + "\\Svc", "Start", raw, type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(reg::readSmallNumber(HKEY_CURRENT_USER, std::string(kKey) + "\\Svc", "Start"), 2);
  reg::writeNumber(HKEY_CURRENT_USER, kKey, "Big", 0x0304);
  EXPECT_EQ(reg::readSmallNumber(HKEY_CURRENT_USER, kKey, "Big"), 0x0304);
  EXPECT_EQ(reg::readSmallNumber(HKEY_CURRENT_USER, kKey, "Missing"), 0);
  testutil::setBinary(HKEY_CURRENT_USER, kKey, "OneByte", "\x04");
  EXPECT_EQ(reg::readSmallNumber(HKEY_CURRENT_USER, kKey, "OneByte"), 4);
}

TEST_F(Registry, AMissingKeyOrValueReadsEmptyWritesAndDeletesTraceTheirFailures) {
  std::string stale = "stale";
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "Nothing", stale), 0);
  EXPECT_EQ(stale, "");
  TraceCapture trace("write-missing");
  ASSERT_EQ(reg::writeString(HKEY_CURRENT_USER, kKey, "", "default"), 1);
  EXPECT_TRUE(trace.has("ERROR RegOpenKeyEx:SetRegValue: Software\\TavrinTest\\Registry"));
  std::string text;
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "", text), 7);  // empty name: the default value
  EXPECT_EQ(text, "default");
  EXPECT_EQ(reg::deleteValue(HKEY_CURRENT_USER, "Software\\TavrinTest\\None", "Gone"), 0);  // no key: silent 0
  reg::writeString(HKEY_CURRENT_USER, kKey, "Here", "1");
  EXPECT_EQ(reg::deleteValue(HKEY_CURRENT_USER, kKey, "Missing"), 0);
  EXPECT_TRUE(trace.has("ERROR RegDeleteValue: Missing"));
  EXPECT_EQ(reg::deleteValue(HKEY_CURRENT_USER, kKey, "Here"), 1);
  EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "Here", text), 0);
}

TEST_F(Registry, ExpansionsLongBinaryAndUnterminatedDataReadWholeAsTextUnlessOverTheCallersCapacity) {
  // 240 characters that expand to 2000.
  SetEnvironmentVariableA("TAVRINLONG", std::string(100, 'L').c_str());
  std::string manyVariables;
  for (int i = 0; i < 20; ++i) manyVariables += "%TAVRINLONG%";
  const struct {
    DWORD type;
    std::string data, text;  // the data as stored, terminator and all
  } rows[] = {
      {REG_EXPAND_SZ, std::string("%SystemRoot%\\system32\\x.exe", 28), windowsFolder() + "\\system32\\x.exe"},
      {REG_SZ, std::string(5000, 'h') + '\0', std::string(5000, 'h')},
      {REG_EXPAND_SZ, manyVariables + '\0', std::string(2000, 'L')},
      {REG_BINARY, std::string("abc\0def", 7), "abc"},
      {REG_SZ, "xyz", "xyz"},  // no terminator
      {REG_SZ, "", ""},
  };
  for (const auto& row : rows) {
    testutil::setBinary(HKEY_CURRENT_USER, kKey, "Value", row.data, row.type);
    std::string text;
    EXPECT_EQ(reg::readString(HKEY_CURRENT_USER, kKey, "Value", text), static_cast<int>(row.text.size())) << row.text;
    EXPECT_EQ(row.type == REG_EXPAND_SZ ? lower(text) : text, row.type == REG_EXPAND_SZ ? lower(row.text) : row.text);
  }
  // A text longer than a capacity the caller gives is refused and traced.
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
