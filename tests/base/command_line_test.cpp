#include "base/command_line.h"

#include <gtest/gtest.h>

using namespace tavrin;

// The switch table is not typed out again: any case, and the later switch wins.
TEST(CommandLines, SwitchesInAnyCaseLaterOnesWinAReportTakesTheRestAndTheMonitorsAnywhere) {
  EXPECT_EQ(parseExplorerCommandLine("-hidden", 6026).startPage, 6052);
  EXPECT_EQ(parseExplorerCommandLine("-Schedule", 6026).startPage, 6039);
  EXPECT_EQ(parseExplorerCommandLine("-DELAY -TASK", 6026).startPage, 6055);
  EXPECT_EQ(parseExplorerCommandLine("-TASK -DELAY", 6026).startPage, 6055);
  // "-RESTART" does not hold "-START": it opens Options and starts no Monitor.
  ExplorerRequest restart = parseExplorerCommandLine("-RESTART", 6026);
  EXPECT_EQ(restart.startPage, 6033);
  EXPECT_FALSE(restart.startMonitor);
  EXPECT_EQ(parseExplorerCommandLine("-RESTART -START", 6026).startPage, 6033);
  // A report takes the rest of the line as its file.
  const ExplorerRequest quoted = parseExplorerCommandLine("-report \"C:\\a -TASK\\out.csv\" ", 6026);
  EXPECT_TRUE(quoted.report);
  EXPECT_EQ(quoted.reportPath, "C:\\a -TASK\\out.csv");
  EXPECT_FALSE(quoted.quit);
  EXPECT_EQ(parseExplorerCommandLine("-REPORT  out.html ", 6026).reportPath, "out.html");
  EXPECT_EQ(parseExplorerCommandLine("-REPORT", 6026).reportPath, "");
  EXPECT_TRUE(parseExplorerCommandLine("-q", 6026).quit);
  EXPECT_FALSE(parseExplorerCommandLine("-START", 6026).quit);
  EXPECT_TRUE(parseExplorerCommandLine("-START", 6026).startMonitor);
  EXPECT_FALSE(parseExplorerCommandLine("-TASK", 6026).startMonitor);
  ExplorerRequest restore = parseExplorerCommandLine("-restore -START", 6026);
  EXPECT_TRUE(restore.restoreDelayed);
  EXPECT_FALSE(restore.startMonitor);
  // The Monitor's switches count in any case, anywhere on the line.
  EXPECT_TRUE(hasSwitch("/x -q", "-Q"));
  EXPECT_TRUE(hasSwitch("-noopen", "-NoOpen"));
  EXPECT_FALSE(hasSwitch("", "-Q"));
}

TEST(ExplorerCommandLine, StartTabBelowTheFirstPageBecomesStartupProgramsAndAnOverlongLineMatchesNothing) {
  EXPECT_EQ(parseExplorerCommandLine("", 5000).startPage, 6026);
  EXPECT_EQ(parseExplorerCommandLine("-nothing", 6039).startPage, 6039);
  std::string line(800, ' ');
  line += "-TASK -Q";
  ExplorerRequest request = parseExplorerCommandLine(line, 6040);
  EXPECT_EQ(request.startPage, 6040);
  EXPECT_FALSE(request.quit);
}
