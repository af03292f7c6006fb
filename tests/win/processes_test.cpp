// Running programs against real processes of the prefix: only programs this
// test starts are ever stopped. Built twice, as Windows XP (PSAPI) and as
// Windows 98 (Toolhelp).
#include <gtest/gtest.h>

#include <algorithm>

#include "base/entry_tables.h"
#include "inventory/detection_store.h"
#include "inventory/processes.h"
#include "inventory/program_file.h"
#include "support/driver.h"
#include "support/win_test_util.h"

using namespace tavrin;

namespace {

class Processes : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = "C:\\Sleepers";
    CreateDirectoryA(folder_.c_str(), nullptr);
    for (const char* name : {"sleeper_a.exe", "sleeper_b.exe"})
      ASSERT_TRUE(CopyFileA((testutil::testDir() + "\\sleeper.exe").c_str(), (folder_ + "\\" + name).c_str(), FALSE));
    a_ = folder_ + "\\sleeper_a.exe";
    b_ = folder_ + "\\sleeper_b.exe";
  }
  void TearDown() override {
    for (driver::Process* p : {&a1_, &a2_, &b1_})
      if (*p && !p->waitExit(0)) stopProcessById(p->pid());
  }

  // The entries whose path holds `part`, each as name|flag.
  std::vector<std::string> listedWith(const EntryList& list, const std::string& part) {
    std::vector<std::string> found;
    for (int i = 0; i < list.count(); ++i)
      if (list.programPath(i).find(part) != std::string::npos)
        found.push_back(list.name(i) + "|" + std::to_string(list.flag(i)));
    return found;
  }

  std::string folder_, a_, b_;
  driver::Process a1_, a2_, b1_;
  testutil::RegistrySnapshot dates_{HKEY_CURRENT_USER, {std::string(kDetectedKey) + "\\ActiveTasks"}};
};

TEST_F(Processes, CopiesOfOneProgramListOnceAndStoppingEndsOnlyOneOfThem) {
  const std::size_t before = runningProgramFiles().size();
  a1_ = driver::start(a_);
  a2_ = driver::start(a_);
  b1_ = driver::start(b_);
  ASSERT_TRUE(a1_ && a2_ && b1_);
  ASSERT_TRUE(driver::waitUntil([&] { return programRunning(b_); }, 5000));
  EXPECT_EQ(runningProgramFiles().size(), before + 2) << "the task-change count counts programs";
  const std::vector<std::string> paths = runningProcessPaths();
  EXPECT_EQ(std::count_if(paths.begin(), paths.end(),
                          [&](const std::string& p) { return _stricmp(p.c_str(), a_.c_str()) == 0; }),
            2)
      << "the log lists every process with its full path";

  EntryList list("Tavrin", 315);
  listRunningPrograms(list);
  const std::vector<std::string> a = listedWith(list, "SLEEPER_A.EXE");
  ASSERT_EQ(a.size(), 1u);
  EXPECT_TRUE(a[0] == "Sleeper that waits|" + std::to_string(a1_.pid()) ||
              a[0] == "Sleeper that waits|" + std::to_string(a2_.pid()))
      << a[0];
  EXPECT_EQ(listedWith(list, "SLEEPER_B.EXE"), std::vector<std::string>{"Sleeper that waits|" + std::to_string(b1_.pid())});

  // Letter case and a bare file name do not hide a running program.
  std::string lowerCase = a_;
  CharLowerA(&lowerCase[0]);
  EXPECT_TRUE(programRunning(lowerCase));
  EXPECT_TRUE(programRunning("SLEEPER_B.EXE"));
  EXPECT_FALSE(programRunning(folder_ + "\\sleeper_c.exe"));

  recordRunningProgramDates();
  EXPECT_FALSE(firstDetectionDate(programFileOfCommand(a_), typecode::kRunningProgram).empty());

  const std::string history = testutil::testDir() + "\\history.txt";
  const std::size_t logged = testutil::readFile(history).size();
  const DWORD stopped = stopProgram(a_, "Sleeper A", false, "Tavrin");
  ASSERT_TRUE(stopped == a1_.pid() || stopped == a2_.pid());
  driver::Process& gone = stopped == a1_.pid() ? a1_ : a2_;
  driver::Process& other = stopped == a1_.pid() ? a2_ : a1_;
  DWORD code = 0;
  ASSERT_TRUE(gone.waitExit(5000, &code));
  EXPECT_EQ(code, 1u) << "259 would read as still running";
  EXPECT_FALSE(other.waitExit(0));
  EXPECT_FALSE(b1_.waitExit(0));
  const std::string added = testutil::readFile(history).substr(logged);
  EXPECT_NE(added.find("TASK_Kill\tINFO_TASK\tSleeper A\t" + a_), std::string::npos) << added;

  EXPECT_EQ(stopProgram(folder_ + "\\sleeper_c.exe", "", false, "Tavrin"), 0u);
  EXPECT_EQ(testutil::readFile(history).size(), logged + added.size()) << "nothing stopped, nothing logged";

  // Kill Task ends the row's entry (the Active Tasks page's end-to-end test); an identifier
  // that runs another program by now, or no row at all, is left alone.
  EntryList stale("Tavrin", 315);
  stale.add("Stale", b_, "", "", typecode::kRunningProgram, static_cast<int>(other.pid()));
  EXPECT_EQ(killListedTask(stale, 0), 0);
  EXPECT_EQ(killListedTask(stale, -1), 0);
  EXPECT_FALSE(other.waitExit(0));

  EXPECT_EQ(stopProcessById(other.pid()), 1);
  EXPECT_TRUE(other.waitExit(5000, &code));
  EXPECT_EQ(code, 1u);
}

}  // namespace
