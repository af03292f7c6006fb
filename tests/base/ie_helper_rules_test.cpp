#include "base/ie_helper_rules.h"

#include <gtest/gtest.h>

#include "base/process_rules.h"

using namespace tavrin;

TEST(IEHelperRules, NoAddOnIsNamelessRemovalReachesOnlyItsRegistrationAndRestoreOnlyHelperKeys) {
  EXPECT_EQ(addOnName("", "\"C:\\x\\a.dll\"", "{id}"), "a.dll");
  EXPECT_EQ(addOnName("", "", "Class name"), "Class name");
  // The program's version record wins over the button text, "Related" or not.
  EXPECT_EQ(extensionName("@shdoclc.dll,-1", true, "Messenger", "C:\\T.EXE"), "Messenger");
  EXPECT_EQ(extensionName("Button", true, "", "C:\\TOOLS\\T.EXE"), "T.EXE");
  AddOnRegistration r;
  ASSERT_TRUE(addOnRegistration(900, "{a}", r));
  EXPECT_EQ(r.historyKey(), std::string(kBrowserHelperObjectsKey) + "\\{a}");
  // An empty key would delete the whole location; a backslash reaches below another key.
  EXPECT_FALSE(addOnRegistration(900, "", r));
  EXPECT_FALSE(addOnRegistration(902, "..\\Main", r));
  EXPECT_FALSE(addOnRegistration(901, "", r));
  EXPECT_FALSE(addOnRegistration(600, "{a}", r));
  EXPECT_EQ(addOnRestore(std::string(kToolbarKey) + "\\{b}").toolbarValue, "{b}");
  for (const std::string& key : {std::string(kExtensionsKey) + "\\{c}", std::string(kBrowserHelperObjectsKey),
                                 std::string(kBrowserHelperObjectsKey) + "\\{a}\\x", std::string("")}) {
    const AddOnRestore restore = addOnRestore(key);
    EXPECT_EQ(restore.keyToCreate + restore.toolbarValue, "") << key;
  }
}

TEST(ProcessRules, ABareWantedNameMatchesInAnyFolderAFullOneOnlyThere) {
  EXPECT_TRUE(processRunsProgram("C:\\x\\app.exe", "C:\\X\\APP.EXE", "APP.EXE"));
  EXPECT_FALSE(processRunsProgram("C:\\x\\app.exe", "C:\\X\\APP.EXE", "C:\\Y\\APP.EXE"));
}
