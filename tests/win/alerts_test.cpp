// The alert dialogs and the page comparisons, run in-process with the
// Monitor's own resources; a second thread plays the user.
#include <gtest/gtest.h>

#include <functional>

#include "alerts.h"
#include "monitor_state.h"
#include "patrol.h"
#include "resource.h"
#include "support/driver.h"
#include "support/monitor_test.h"
#include "support/win_test_util.h"

using namespace tavrin;

namespace {

constexpr const char* kPlacementKey = "Software\\Quennet\\Tavrin";

class Alerts : public ::testing::Test {
 protected:
  void SetUp() override {
    fonts_.create();
    context_.instance = GetModuleHandleA(nullptr);
    context_.fonts = &fonts_;
    context_.subject = &subject_;
    subject_.set(testutil::testDir() + "\\ver_plain.dll", "Widget", 11);
    testutil::deleteValue(HKEY_CURRENT_USER, kPlacementKey, "xPosAlert");
    testutil::deleteValue(HKEY_CURRENT_USER, kPlacementKey, "yPosAlert");
  }

  // Shows the dialog; `user` gets it once it is up, and must end it. Any other
  // dialog is ended and fails the test instead of hanging it.
  int answer(const char* caption, const std::function<int()>& show, const std::function<void(HWND)>& user) {
    int result = -1;
    EXPECT_EQ(driver::dialogsDuring([&] { result = show(); }, user), std::vector<std::string>{caption});
    return result;
  }

  static void escape(HWND dialog) {
    HWND focus = GetDlgItem(dialog, IDYES) ? GetDlgItem(dialog, IDYES) : GetDlgItem(dialog, IDOK);
    PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 0);
  }

  AlertFonts fonts_;
  AlertSubject subject_;
  AlertContext context_;
};

constexpr const char* kNewProgram = "Tavrin New Program Alert";

}  // namespace

TEST_F(Alerts, EscapeApprovesAllButTheHiddenFileAndServiceAlerts) {
  RepeatAlerts repeats;
  int hide = 0;
  const struct {
    const char* name;
    const char* caption;
    std::function<int()> show;
    int expected;
  } cases[] = {
      {"ie-helper", kNewProgram, [&] { return showNewIEHelperAlert(context_); }, 6},
      {"task", kNewProgram, [&] { return showNewTaskAlert(context_); }, 6},
      {"startup", kNewProgram, [&] { return showNewStartupAlert(context_, repeats, hide); }, 6},
      {"file-type", "Tavrin File Type Change Alert", [&] { return showFileTypeAlert(context_); }, 6},
      {"returning", "This Program doesn't want to be Delayed", [&] { return showDelayedReturnedAlert(context_); }, 6},
      {"hidden-file", kNewProgram, [&] { return showNewHiddenFileAlert(context_); }, 7},
      {"service", kNewProgram, [&] { return showNewServiceAlert(context_); }, 7},
  };
  for (const auto& c : cases) {
    subject_.set(testutil::testDir() + "\\ver_plain.dll", "NoSuchServiceForTavrin", 11);
    subject_.secondPath = testutil::testDir() + "\\ver_none.dll";
    EXPECT_EQ(answer(c.caption, c.show,
                     [&](HWND dialog) {
                       Sleep(300);  // let every control paint
                       driver::screenshot(std::string("alert-") + c.name);
                       // Enter gives the default answer: the default button has the focus.
                       GUITHREADINFO gui{};
                       gui.cbSize = sizeof gui;
                       GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui);
                       const LRESULT defId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
                       EXPECT_EQ(gui.hwndFocus, GetDlgItem(dialog, LOWORD(defId))) << c.name;
                       escape(dialog);
                     }),
              c.expected)
        << c.name;
    EXPECT_TRUE(subject_.programPath.empty()) << c.name << ": the subject is cleared when a button ends the alert";
  }
}

TEST_F(Alerts, StartupAlertShowsTheProgramAndTheSentenceOfItsLocation) {
  const struct {
    int typeCode;
    const char* sentence;
  } cases[] = {
      {12, "Type: RunOnce"},
      {200, "A Shortcut to this program has been added to your Startup folder."},
      {1, "This program will run each time you login or restart your machine."},
  };
  int hide = 0;
  for (const auto& c : cases) {
    RepeatAlerts repeats;
    subject_.set(testutil::testDir() + "\\ver_plain.dll", "Widget", c.typeCode);
    // The version fields are read from the file the same way whatever the location.
    std::string explanation, fields;
    const int result = answer(
        kNewProgram, [&] { return showNewStartupAlert(context_, repeats, hide); },
        [&](HWND dialog) {
          explanation = driver::dialogItemText(dialog, 1036);
          for (int id : {100, 1030, 1029, IDC_SIGNER}) fields += driver::dialogItemText(dialog, id) + "|";
          driver::pressButton(dialog, IDNO);
        });
    EXPECT_EQ(result, 7) << c.typeCode;
    EXPECT_NE(explanation.find(c.sentence), std::string::npos) << c.typeCode << ": " << explanation;
    EXPECT_EQ(explanation.find("%s"), std::string::npos);
    EXPECT_EQ(fields, "Widget Suite|Acme Tools|1.2.3.4|Signer: (Not signed)|");
  }
}

TEST_F(Alerts, NoIsRefusalTillTheThirdAlertInARowAndDisablesAWinlogonNotify) {
  RepeatAlerts repeats;
  int hide = 0;
  std::vector<int> results;
  auto no = [](HWND dialog) { driver::pressButton(dialog, IDNO); };
  for (int i = 0; i < 3; ++i) {
    subject_.set(testutil::testDir() + "\\ver_plain.dll", "Widget", 11);
    results.push_back(answer(kNewProgram, [&] { return showNewStartupAlert(context_, repeats, hide); }, no));
  }
  EXPECT_EQ(results, (std::vector<int>{7, 7, 11}));
  EXPECT_EQ(hide, 2);  // the rest of the pass refuses without asking
  EXPECT_EQ(repeats.count, 0);
  hide = 0;
  subject_.set(testutil::testDir() + "\\ver_plain.dll", "Notify", 256);
  EXPECT_EQ(answer(kNewProgram, [&] { return showNewStartupAlert(context_, repeats, hide); }, no), 11);
  EXPECT_EQ(hide, 0);
}

// Which task names lose their ending: the alert rules' test.
TEST_F(Alerts, AMissingProgramKeepsTheTemplateTextsAndATaskLosesItsFileEnding) {
  subject_.set("C:\\nowhere\\missing.exe", "x.job", 800);
  std::string texts;
  answer(kNewProgram, [&] { return showNewTaskAlert(context_); },
         [&](HWND dialog) {
           for (int id : {100, 1030, 1031}) texts += driver::dialogItemText(dialog, id) + "|";
           driver::pressButton(dialog, IDNO);
         });
  EXPECT_EQ(texts, "x|Company name not included in this program.|No Description found|");
}

TEST_F(Alerts, PlacementIsSavedAndAnOffScreenPositionComesBackOnScreen) {
  testutil::setString(HKEY_CURRENT_USER, kPlacementKey, "xPosAlert", "99999");
  testutil::setString(HKEY_CURRENT_USER, kPlacementKey, "yPosAlert", "40");
  RECT shown{};
  answer(kNewProgram, [&] { return showNewIEHelperAlert(context_); },
         [&](HWND dialog) {
           GetWindowRect(dialog, &shown);
           driver::pressButton(dialog, IDYES);
         });
  EXPECT_EQ(shown.left, GetSystemMetrics(SM_CXVIRTUALSCREEN) / 2);
  EXPECT_EQ(shown.top, 40);
  EXPECT_EQ(testutil::valueOf(HKEY_CURRENT_USER, kPlacementKey, "xPosAlert"), std::to_string(shown.left));
  EXPECT_EQ(testutil::valueOf(HKEY_CURRENT_USER, kPlacementKey, "dxAlert"), std::to_string(shown.right - shown.left));
}

// The start, search and desktop pages, compared by the patrol.
class BrowserPages : public ::testing::Test {
 protected:
  void SetUp() override {
    prepareMonitorState(state_);
    for (const char* name : {"StartPage", "SearchPage", "SourcePage"})
      testutil::deleteValue(HKEY_CURRENT_USER, kPlacementKey, name);
  }
  static std::string read(const char* key, const char* name) { return testutil::valueOf(HKEY_CURRENT_USER, key, name); }
  static constexpr const char* kMain = "Software\\Microsoft\\Internet Explorer\\Main";
  MonitorState state_;
  testutil::RegistrySnapshot saved_{HKEY_CURRENT_USER, {kMain, kPlacementKey}};
};

TEST_F(BrowserPages, FirstPassStoresThePagesSilentlyAndAChangedOneAnsweredNoIsRestoredWithoutItsSlash) {
  testutil::setString(HKEY_CURRENT_USER, kMain, "Start Page", "http://home.example/");
  testutil::setString(HKEY_CURRENT_USER, kMain, "Search Page", "http://search.example");
  EXPECT_EQ(driver::dialogsDuring([&] { checkBrowserPages(state_); }), std::vector<std::string>{});
  EXPECT_EQ(read(kPlacementKey, "StartPage"), "http://home.example/");
  testutil::setString(HKEY_CURRENT_USER, kMain, "Start Page", "http://hijack.example/%n%s/");
  std::string text;
  EXPECT_EQ(driver::dialogsDuring([&] { checkBrowserPages(state_); },
                                  [&](HWND box) {
                                    text = driver::messageBoxText(box);
                                    driver::screenshot("page-changed-question");
                                    driver::pressButton(box, IDNO);
                                  }),
            std::vector<std::string>{"Tavrin"});
  EXPECT_NE(text.find("Your new page is http://hijack.example/%n%s"), std::string::npos) << text;
  EXPECT_NE(text.find("restore your page to\n http://home.example."), std::string::npos) << text;
  EXPECT_EQ(read(kMain, "Start Page"), "http://home.example");
  // A page that only gained or lost its slash is no change.
  testutil::setString(HKEY_CURRENT_USER, kMain, "Search Page", "HTTP://search.example/");
  EXPECT_EQ(driver::dialogsDuring([&] { checkBrowserPages(state_); }), std::vector<std::string>{});
}
