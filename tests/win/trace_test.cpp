#include "sys/trace.h"

#include <gtest/gtest.h>

#include <regex>

#include "support/win_test_util.h"
#include "support/trace_capture.h"

using namespace tavrin;

TEST(TraceFile, LinesAreKeyedByTickAndCounterOnOneLineEachUnderASectionOfTheirOwn) {
  TraceCapture trace("format");
  EXPECT_EQ(trace::line("Tray Message", "ADD"), 1);
  EXPECT_EQ(trace::line("Application Start", "SetTimer"), 1);
  auto lines = testutil::lines(trace.text());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "[Trace]");
  const std::regex entry(R"((-?\d+)\.(\d+)=\d\d-\d\d  \d\d:\d\d:\d\d (.*))");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(lines[1], m, entry)) << lines[1];
  EXPECT_EQ(m[2], "1");
  EXPECT_EQ(m[3], "Tray Message: ADD");
  ASSERT_TRUE(std::regex_match(lines[2], m, entry)) << lines[2];
  EXPECT_EQ(m[2], "2");
  // The platform's own profile reader finds the entries.
  char value[256];
  std::string key = lines[2].substr(0, lines[2].find('='));
  GetPrivateProfileStringA("Trace", key.c_str(), "", value, sizeof value, trace.path().c_str());
  EXPECT_NE(std::string(value).find("Application Start: SetTimer"), std::string::npos);
  // Values stay on one line, and another program's section is left as it is.
  TraceCapture foreign("foreign");
  testutil::writeFile(foreign.path(), "[Other]\r\nx=1\r\n");
  trace::setFile(foreign.path());
  trace::line("Multi\nline", "text\r\nhere");
  lines = testutil::lines(foreign.text());
  ASSERT_EQ(lines.size(), 5u);  // [Other], x=1, blank, [Trace], entry
  key = lines[4].substr(0, lines[4].find('='));
  GetPrivateProfileStringA("Trace", key.c_str(), "", value, sizeof value, foreign.path().c_str());
  EXPECT_NE(std::string(value).find("Multi line: text  here"), std::string::npos) << value;
  GetPrivateProfileStringA("Other", "x", "", value, sizeof value, foreign.path().c_str());
  EXPECT_STREQ(value, "1");
}

TEST(TraceFile, RunWritesAtMost9001LinesNoneWhenOffAndTimingLinesInHalfMilliseconds) {
  TraceCapture trace("cap");
  int written = 0;
  for (int i = 0; i < 9010; ++i) written += trace::line("n", std::to_string(i));
  EXPECT_EQ(written, 9001);
  auto values = trace.values();
  ASSERT_EQ(values.size(), 9001u);
  EXPECT_NE(values.back().find("n: 9000"), std::string::npos);
  trace::timingLine();  // past the cap nothing more is written
  EXPECT_EQ(trace.values().size(), 9001u);
  // Switched off, nothing at all is written.
  TraceCapture off("off");
  trace::switchOff();
  EXPECT_EQ(trace::line("a", "b"), 0);
  trace::timingLine();
  trace::memoryLine("Create Active Page");
  EXPECT_EQ(GetFileAttributesA(off.path().c_str()), INVALID_FILE_ATTRIBUTES);
  // A timing line reports half milliseconds, and whether a dialog showed.
  TraceCapture timing("timing");
  trace::timedLine("Patrol", "CheckStartup");
  Sleep(120);
  trace::timingLine();
  trace::timedLine("Patrol", "Alert");
  trace::markDialogShown();
  Sleep(50);
  trace::timingLine();
  const auto timed = timing.values();
  ASSERT_EQ(timed.size(), 4u);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(timed[1], m, std::regex(R"(\*\*:\*\*:\*\* NanoCycles: CheckStartup = (\d+) )")))
      << timed[1];
  EXPECT_GE(std::stoi(m[1]), 50);
  EXPECT_LE(std::stoi(m[1]), 1000);
  EXPECT_EQ(timed[3], "**:**:** NanoCycles: Alert = 1 ");
  trace::memoryLine("Create Active Page");
  EXPECT_TRUE(std::regex_search(timing.values().back(), std::regex(R"(Create Active Page: \d+ %$)"))) << timing.values().back();
}
