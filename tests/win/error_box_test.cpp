#include <gtest/gtest.h>

#include "support/driver.h"
#include "sys/message.h"

TEST(SystemErrorBox, ShowsCodeAndSystemMessage) {
  std::string text;
  const auto shown = driver::dialogsDuring(
      [] {
        SetLastError(ERROR_FILE_NOT_FOUND);
        tavrin::systemErrorBox(9);
      },
      [&](HWND box) {
    text = driver::messageBoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(shown, std::vector<std::string>{"System Error"});
  EXPECT_EQ(text.substr(0, 3), "2  ");
  EXPECT_GT(text.size(), 5u);  // the system's own message follows
}
