#include "base/alert_rules.h"

#include <gtest/gtest.h>

using namespace tavrin;

// One code of each kind: the tables themselves are not typed out again.
TEST(AlertRules, LocationSentenceAndNameLines) {
  EXPECT_EQ(startupLocationSentence(26), 766);  // a run-once kind of HKEY_USERS
  EXPECT_EQ(startupLocationSentence(101), 767);
  EXPECT_EQ(startupLocationSentence(200), 768);
  EXPECT_EQ(startupLocationSentence(0), 765);
  // The Winlogon and hook places show their own name, others the product, none without one.
  EXPECT_EQ(startupNameLine(251, "Product"), "WinLogon:Shell");
  EXPECT_EQ(startupNameLine(254, "Product"), "Product");
  EXPECT_EQ(startupNameLine(251, ""), "");
  // A task's name line drops the task ending.
  EXPECT_EQ(taskNameLine("Backup.job", "Caption"), "Backup");
  EXPECT_EQ(taskNameLine("a.job", "Caption"), "a");
  EXPECT_EQ(taskNameLine("abcd", "Caption"), "");
  EXPECT_EQ(taskNameLine("abc", "Caption"), "Caption");
  EXPECT_EQ(taskNameLine("", "Caption"), "Caption");
}

TEST(AlertRules, FillTextReplacesOnlyPlainPlaceholders) {
  EXPECT_EQ(fillText("new %s, old %s.", {"a", "b"}), "new a, old b.");
  // Override texts with printf directives must neither crash nor read arguments that are not there.
  EXPECT_EQ(fillText("%s %s %n %d %", {"a"}), "a  %n %d %");
  EXPECT_EQ(fillText("100%", {}), "100%");
  EXPECT_EQ(fillText("%s", {"%s"}), "%s");
}

TEST(AlertRules, AnswersAndTheThirdAlertInARowForOneProgramEndingInDisableWithHelp) {
  RepeatAlerts repeats;
  repeats.noteAlert("C:\\A.EXE");
  EXPECT_EQ(answerStartupAlert(true, 11, repeats).result, alert::kApprove);
  EXPECT_EQ(answerStartupAlert(false, 11, repeats).result, alert::kRefuse);
  // A Winlogon Notify entry is disabled, not removed.
  EXPECT_EQ(answerStartupAlert(false, 256, repeats).result, alert::kDisable);
  EXPECT_FALSE(answerStartupAlert(false, 11, repeats).openHelp);
  // The third alert in a row for one program ends in Disable, with the help.
  for (bool yes : {true, false}) {
    RepeatAlerts repeats;
    repeats.noteAlert("C:\\PROG\\A.EXE");
    EXPECT_EQ(repeats.count, 0);
    repeats.noteAlert("c:\\prog\\a.exe");  // case does not matter
    EXPECT_EQ(repeats.count, 1);
    repeats.noteAlert("C:\\PROG\\A.EXE");
    EXPECT_EQ(repeats.count, 2);
    StartupAnswer answer = answerStartupAlert(yes, 11, repeats);
    EXPECT_EQ(answer.result, alert::kDisable);
    EXPECT_TRUE(answer.openHelp);
    EXPECT_EQ(answer.refuseRestOfPass, !yes);
    EXPECT_EQ(repeats.count, 0);
    EXPECT_TRUE(repeats.lastProgram.empty());
  }
  // Another program in between keeps the count and becomes the last program.
  repeats = RepeatAlerts{};
  repeats.noteAlert("A");
  repeats.noteAlert("A");
  repeats.noteAlert("B");
  EXPECT_EQ(repeats.count, 1);
  EXPECT_EQ(repeats.lastProgram, "B");
  repeats.noteAlert(std::string(400, 'x'));
  EXPECT_EQ(repeats.lastProgram.size(), 259u);
}

TEST(AlertRules, PagesCompareWithoutOneTrailingSlashAndCase) {
  EXPECT_EQ(withoutTrailingSlash("http://a.example/"), "http://a.example");
  EXPECT_EQ(withoutTrailingSlash("http://a.example//"), "http://a.example/");
  EXPECT_EQ(withoutTrailingSlash(""), "");
  EXPECT_FALSE(pagesDiffer("http://A.example/", "http://a.example"));
  EXPECT_TRUE(pagesDiffer("http://b.example/", "http://a.example/"));
  EXPECT_TRUE(pagesDiffer("http://a.example//", "http://a.example"));
  EXPECT_TRUE(pagesDiffer("", "http://a.example"));
}

TEST(AlertRules, PlacementKeepsAnAlertOnScreen) {
  AlertPlacement p = placeAlert(true, 100, 200, 1280, 1000, 400, 300);
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 200);
  p = placeAlert(true, 5000, 200, 1280, 1000, 400, 300);
  EXPECT_EQ(p.x, 640);
  EXPECT_EQ(p.y, 200);
  p = placeAlert(true, 100, 1001, 1280, 1000, 400, 300);
  EXPECT_EQ(p.y, 500);
  p = placeAlert(false, 0, 0, 1280, 1000, 400, 301);
  EXPECT_EQ(p.x, 440);
  EXPECT_EQ(p.y, 233);
}

TEST(AlertRules, ServiceTextsOutsideTheirRangeAreUnknown) {
  for (int state : {0, 1, 8}) EXPECT_EQ(serviceStateText(state), 652) << state;
  EXPECT_EQ(serviceStateText(4), 655);
  for (int start : {0, 1, 5}) EXPECT_EQ(serviceStartText(start), 616) << start;
  EXPECT_EQ(serviceStartText(4), 666);
}
