#include "base/entry_tables.h"

#include <gtest/gtest.h>

#include <set>

using namespace tavrin;

namespace {

struct Row {
  int code;
  const char* name;
};

// Every row of the history's type table, in its search order.
const Row kTypeRows[] = {
    {1, "MACHINE_RUN"}, {2, "MACHINE_RUNONCE"}, {3, "MACHINE_RUNONCEEX"}, {4, "MACHINE_RUNSERVICES"},
    {5, "MACHINE_RUNSERVICESONCE"}, {11, "CURRENT_RUN"}, {12, "CURRENT_RUNONCE"}, {13, "CURRENT_RUNONCEEX"},
    {14, "CURRENT_RUNSERVICES"}, {15, "CURRENT_RUNSERVICESONCE"}, {21, "USERS_RUN"}, {22, "USERS_RUNONCE"},
    {23, "USERS_RUNONCEEX"}, {24, "USERS_RUNSERVICES"}, {25, "USERS_RUNSERVICESONCE"}, {31, "TAVRIN_RUN"},
    {32, "TAVRIN_RUNONCE"}, {33, "TAVRIN_RUNONCEEX"}, {34, "TAVRIN_RUNSERVICES"}, {35, "TAVRIN_RUNSERVICESONCE"},
    {100, "WIN_LOAD"}, {101, "WIN_RUN"}, {200, "GROUP_STARTUP"}, {250, "WINLOGON_Userinit"}, {251, "WINLOGON_Shell"},
    {252, "REG_Delayload"}, {253, "REG_TaskScheduler"}, {254, "REG_ShellExecuteHook"}, {255, "REG_AppInitDLLs"},
    {500, "INFO_COOKIE"}, {501, "INFO_NETCOOKIE"}, {502, "INFO_SAVECOOKIE"}, {503, "INFO_NUTS"}, {600, "INFO_TASK"},
    {700, "SERVICE_EXE"}, {701, "SERVICE_SVCHOST"}, {800, "TASK_SCHEDULED"}, {900, "TYPE_BHO"},
    {300, "RESTART_DELETE"}, {301, "RESTART_RENAME"}, {901, "TYPE_TOOLBAR"}, {902, "TYPE_EXTENSION"},
    {350, "TYPE_MONITOR"}, {360, "TYPE_BLACKLIST"}, {450, "TYPE_PROSEARCH"}, {400, "TYPE_FILETYPE"},
    {370, "TYPE_HIDDEN"}, {256, "RUN_WINLOGONNOTIFY"}, {6, "MACHINE_RUNONCESETUP"}, {7, "MACHINE_RUNPOLICY"},
    {3000, "TYPE_UNKNOWN"},
};

const Row kLocationRows[] = {
    {1, "HKLM_RUN"},          {2, "HKLM_RUNONCE"},          {3, "HKLM_RUNONCEEX"},
    {4, "HKLM_RUNSERVICES"},  {5, "HKLM_RUNSERVICESONCE"},  {6, "HKLM_RUNONCESETUP"},
    {7, "HKLM_POLICY"},       {11, "HKCU_RUN"},             {12, "HKCU_RUNONCE"},
    {13, "HKCU_RUNONCEEX"},   {14, "HKCU_RUNSERVICES"},     {15, "HKCU_RUNSERVICESONCE"},
    {16, "HKCU_RUNONCESETUP"}, {17, "HKCU_POLICY"},         {21, "HKU_RUN"},
    {22, "HKU_RUNONCE"},      {23, "HKU_RUNONCEEX"},        {24, "HKU_RUNSERVICES"},
    {25, "HKU_RUNSERVICESONCE"}, {26, "HKU_RUNONCESETUP"},  {27, "HKU_POLICY"},
    {31, "RUN_POLICY"},       {32, "W_RUNONCE"},            {33, "W_RUNONCEEX"},
    {34, "W_RUNSERVICES"},    {35, "W_RUNSERVICESONCE"},    {100, "WIN.INI_LOAD"},
    {101, "WIN.INI_RUN"},     {200, "STARTUP_FOLDER"},      {250, "LOGON_USERINIT"},
    {251, "LOGON_SHELL"},     {252, "DELAYLOAD"},           {253, "TASKSCHEDULER"},
    {254, "SHELLHOOK"},       {255, "APPINIT_DLL"},         {256, "NOTIFY"},
};

}  // namespace

TEST(TypeNames, EveryRowInOrder) {
  const auto& table = typeNameTable();
  ASSERT_EQ(table.size(), 51u);
  ASSERT_EQ(std::size(kTypeRows), 51u);
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].code, kTypeRows[i].code) << "row " << i;
    EXPECT_STREQ(table[i].name, kTypeRows[i].name) << "row " << i;
    EXPECT_EQ(typeName(kTypeRows[i].code), kTypeRows[i].name);
    EXPECT_EQ(typeCodeOfName(kTypeRows[i].name), kTypeRows[i].code);
  }
}

TEST(TypeNames, CodesWithoutANameAreUnknown) {
  // 16 and 17 have location names but no type names; 504 has neither.
  for (int code : {0, -1, 8, 10, 16, 17, 26, 27, 36, 102, 199, 201, 249, 257, 302, 504, 903, 2999, 3001, 1 << 30})
    EXPECT_EQ(typeName(code), "TYPE_UNKNOWN") << code;
}

TEST(TypeNames, NamesReadBackInAnyCase) {
  EXPECT_EQ(typeCodeOfName("current_run"), 11);
  EXPECT_EQ(typeCodeOfName("Winlogon_USERINIT"), 250);
  EXPECT_EQ(typeCodeOfName("type_unknown"), 3000);
  for (const char* name : {"", "CURRENT_RUN ", "CURRENT", "HKCU_RUN", "LOG_UNKNOWN"})
    EXPECT_EQ(typeCodeOfName(name), 3000) << name;
}

TEST(TypeNames, EachCodeAndNameOnceSoTheFirstMatchIsTheOnlyOne) {
  std::set<int> codes;
  std::set<std::string> names;
  for (const CodeName& row : typeNameTable()) {
    EXPECT_TRUE(codes.insert(row.code).second) << row.code;
    std::string upper;
    for (const char* c = row.name; *c; ++c) upper += static_cast<char>(*c >= 'a' && *c <= 'z' ? *c - 32 : *c);
    EXPECT_TRUE(names.insert(upper).second) << row.name;
  }
}

TEST(LocationNames, EveryRowInOrder) {
  const auto& table = locationNameTable();
  ASSERT_EQ(table.size(), 36u);
  ASSERT_EQ(std::size(kLocationRows), 36u);
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].code, kLocationRows[i].code) << "row " << i;
    EXPECT_STREQ(table[i].name, kLocationRows[i].name) << "row " << i;
    EXPECT_EQ(locationName(kLocationRows[i].code), kLocationRows[i].name);
  }
}

TEST(LocationNames, CodesOutsideTheStartupTableShowNothing) {
  for (int code : {0, -7, 8, 18, 28, 36, 102, 257, 300, 370, 500, 600, 900, 3000})
    EXPECT_EQ(locationName(code), "") << code;
}

TEST(StartupCodes, ExactlyTheEnumeratedLocations) {
  std::set<int> expected = {1, 2, 3, 4, 5, 6, 7, 11, 12, 13, 14, 15, 16, 17, 100, 101, 200,
                            250, 251, 252, 253, 254, 255, 256};
  for (int code = -5; code <= 4000; ++code) EXPECT_EQ(isStartupCode(code), expected.count(code) == 1) << code;
}

TEST(RunKeys, SevenKeysUnderTwoHives) {
  ASSERT_EQ(std::size(kRunKeyPaths), kRunKeyCount);
  const char* const paths[] = {
      "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
      "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
      "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx",
      "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices",
      "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce",
      "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\Setup",
      "Software\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer\\Run",
  };
  for (int number = 1; number <= 7; ++number) {
    RunKeyLocation machine, user;
    ASSERT_TRUE(runKeyOfCode(number, machine));
    ASSERT_TRUE(runKeyOfCode(10 + number, user));
    EXPECT_EQ(machine.hive, Hive::LocalMachine);
    EXPECT_EQ(user.hive, Hive::CurrentUser);
    EXPECT_EQ(machine.path, paths[number - 1]);
    EXPECT_EQ(user.path, paths[number - 1]);
  }
  RunKeyLocation none;
  for (int code : {0, 8, 10, 18, 21, 27, 100, 200}) EXPECT_FALSE(runKeyOfCode(code, none)) << code;
}

TEST(RunKeys, RootTableOrder) {
  const auto& hives = startupHives();
  ASSERT_EQ(hives.size(), 3u);
  EXPECT_EQ(hives[0].hive, Hive::LocalMachine);
  EXPECT_EQ(hives[0].codeBase, 0);
  EXPECT_TRUE(hives[0].hasRunKeys);
  EXPECT_EQ(hives[1].hive, Hive::CurrentUser);
  EXPECT_EQ(hives[1].codeBase, 10);
  EXPECT_TRUE(hives[1].hasRunKeys);
  EXPECT_EQ(hives[2].hive, Hive::Users);
  EXPECT_FALSE(hives[2].hasRunKeys);
}

TEST(DisabledEntries, CopyKeysByKind) {
  const struct {
    int code;
    const char* key;
  } rows[] = {
      {1, "Run"},          {11, "Run"},          {2, "RunOnce"},         {12, "RunOnce"},
      {3, "RunOnceEx"},    {13, "RunOnceEx"},    {4, "RunServices"},     {14, "RunServices"},
      {5, "RunServicesOnce"}, {15, "RunServicesOnce"}, {6, "RunSetup"},  {16, "RunSetup"},
      {7, "Policy"},       {17, "Policy"},       {100, "WinLoad"},       {101, "WinRun"},
      {256, "WinNotify"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(disabledCopyKeyOf(row.code), std::string("Software\\Quennet\\Tavrin\\Disabled\\") + row.key) << row.code;
  // Startup-folder files move to the Disabled folder; 250 to 255 cannot be disabled.
  for (int code : {0, 8, 21, 200, 250, 251, 252, 253, 254, 255, 500, 3000}) EXPECT_EQ(disabledCopyKeyOf(code), "");
}

TEST(DisabledEntries, ElevenKeysInReadingOrder) {
  const char* const names[] = {"Run",    "RunOnce", "RunOnceEx",      "RunServices", "RunServicesOnce", "RunSetup",
                               "Policy", "WinLoad", "WinRun", "RunOnce\\Setup", "WinNotify"};
  const auto& keys = disabledCopyKeys();
  ASSERT_EQ(keys.size(), 11u);
  for (std::size_t i = 0; i < keys.size(); ++i)
    EXPECT_EQ(keys[i].path, std::string("Software\\Quennet\\Tavrin\\Disabled\\") + names[i]);
  EXPECT_TRUE(keys[9].codes.empty());  // read, never written
}

TEST(DisabledEntries, MarkerValues) {
  EXPECT_EQ(disabledMarkerText(11), "11");
  EXPECT_EQ(disabledMarkerText(200), "200");
  const struct {
    const char* data;
    int code;
  } rows[] = {
      {"11", 11}, {"200", 200}, {" 100", 100}, {"256x", 256}, {"0", 0}, {"-11", 0},
      {"", 0},    {"abc", 0},   {"x11", 0},    {"99999999999", 0x7fffffff},
  };
  for (const auto& row : rows) EXPECT_EQ(disabledMarkerCode(row.data), row.code) << row.data;
}

TEST(DisabledEntries, FolderBesideThePrograms) {
  EXPECT_EQ(disabledFolderIn("C:\\Program Files\\Tavrin"), "C:\\Program Files\\Tavrin\\Disabled");
  EXPECT_EQ(disabledFolderIn("C:\\"), "C:\\Disabled");
  EXPECT_EQ(disabledFolderIn(""), "");
}
