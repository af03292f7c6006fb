#include <gtest/gtest.h>

#include <thread>

#include "support/driver.h"
#include "sys/message.h"

// The box is modal: a second thread reads it and closes it.
TEST(SystemErrorBox, ShowsCodeAndSystemMessage) {
  std::string caption, text;
  std::thread reader([&] {
    HWND box = driver::waitForProcessWindow(GetCurrentProcessId(), "#32770", 10000);
    if (!box) return;
    caption = driver::windowText(box);
    text = driver::messageBoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  SetLastError(ERROR_FILE_NOT_FOUND);
  tavrin::systemErrorBox(9);
  reader.join();
  EXPECT_EQ(caption, "System Error");
  EXPECT_EQ(text.substr(0, 3), "2  ");
  EXPECT_GT(text.size(), 5u);  // the system's own message follows
}
