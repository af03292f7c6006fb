#include "base/entry_tables.h"

#include <gtest/gtest.h>

#include <set>

using namespace tavrin;

namespace {
std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return text;
}
}  // namespace

// Each code and name once, so the first match is the only one; every row reads
// back both ways and in any case; what no row names is unknown.
TEST(TypeNames, UniqueRowsReadBackInAnyCaseAndTheRestIsUnknown) {
  std::set<int> codes;
  std::set<std::string> names;
  for (const CodeName& row : typeNameTable()) {
    EXPECT_TRUE(codes.insert(row.code).second) << row.code;
    EXPECT_TRUE(names.insert(upper(row.name)).second) << row.name;
    EXPECT_EQ(typeName(row.code), row.name);
    EXPECT_EQ(typeCodeOfName(row.name), row.code);
  }
  EXPECT_EQ(typeCodeOfName("current_run"), typecode::kCurrentRun);
  EXPECT_EQ(typeCodeOfName("Winlogon_USERINIT"), typecode::kWinlogonUserinit);
  for (int code : {0, -1, 16, 17, 504, 903, 2999, 1 << 30}) EXPECT_EQ(typeName(code), "TYPE_UNKNOWN") << code;
  for (const char* name : {"", "CURRENT_RUN ", "CURRENT", "HKCU_RUN", "LOG_UNKNOWN"})
    EXPECT_EQ(typeCodeOfName(name), typecode::kUnknown) << name;

  std::set<int> locations;
  for (const CodeName& row : locationNameTable()) {
    EXPECT_TRUE(locations.insert(row.code).second) << row.code;
    EXPECT_EQ(locationName(row.code), row.name);
  }
  for (int code : {0, -7, 8, 257, 300, 500, 3000}) EXPECT_EQ(locationName(code), "") << code;
}

// The table is not typed out again: one code of each hive, and codes no row names.
TEST(StartupCodes, RunKeysOfBothHivesAndTheFixedPlaces) {
  RunKeyLocation location;
  ASSERT_TRUE(runKeyOfCode(2, location));
  EXPECT_EQ(location.hive, Hive::LocalMachine);
  ASSERT_TRUE(runKeyOfCode(17, location));
  EXPECT_EQ(location.hive, Hive::CurrentUser);
  EXPECT_EQ(location.path, kRunKeyPaths[6]);
  EXPECT_TRUE(isStartupCode(256) && isStartupCode(100) && !runKeyOfCode(100, location));
  for (int code : {-5, 0, 8, 10, 18, 99, 102, 199, 201, 249, 257, 4000}) {
    EXPECT_FALSE(isStartupCode(code)) << code;
    EXPECT_FALSE(runKeyOfCode(code, location)) << code;
  }
  // HKEY_USERS is named, but its Run keys are never read.
  for (const StartupHive& hive : startupHives()) EXPECT_EQ(hive.hasRunKeys, hive.hive != Hive::Users);
}

TEST(DisabledEntries, CopyKeysMarkersAndTheFolder) {
  // Both hives share a copy key; every copy key is one of those read back.
  std::set<std::string> read;
  for (const DisabledCopyKey& key : disabledCopyKeys()) read.insert(key.path);
  for (int code : {1, 2, 3, 4, 5, 6, 7, 100, 101, 256}) {
    EXPECT_NE(disabledCopyKeyOf(code), "") << code;
    EXPECT_EQ(read.count(disabledCopyKeyOf(code)), 1u) << code;
    if (code <= 7) {
      EXPECT_EQ(disabledCopyKeyOf(code + 10), disabledCopyKeyOf(code));
    }
  }
  EXPECT_NE(disabledCopyKeyOf(100), disabledCopyKeyOf(101));
  // Startup-folder files move to the Disabled folder; 250 to 255 cannot be disabled.
  for (int code : {0, 8, 21, 200, 250, 251, 252, 253, 254, 255, 500, 3000}) EXPECT_EQ(disabledCopyKeyOf(code), "");

  EXPECT_EQ(disabledMarkerText(200), "200");
  const struct {
    const char* data;
    int code;
  } rows[] = {
      {"11", 11}, {" 100", 100}, {"256x", 256}, {"-11", 0}, {"", 0}, {"x11", 0}, {"99999999999", 0x7fffffff},
  };
  for (const auto& row : rows) EXPECT_EQ(disabledMarkerCode(row.data), row.code) << row.data;

  EXPECT_EQ(disabledFolderIn("C:\\Program Files\\Tavrin"), "C:\\Program Files\\Tavrin\\Disabled");
  EXPECT_EQ(disabledFolderIn("C:\\"), "C:\\Disabled");
  EXPECT_EQ(disabledFolderIn(""), "");
}
