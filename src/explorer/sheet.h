#pragma once
// The tab sheet: one object per opened sheet, living while the modal sheet
// runs. It owns the pages, the status bar, the tab icons and the sizing
// rules; pages report to it when they are created, shown and left.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/page_layout.h"
#include "explorer_state.h"
#include "sys/handles.h"

namespace tavrin {

class ListPage;

// Open the sheet on the page of `command`; when a sheet exists, only bring it forward.
void openSheet(ExplorerState& state, int command);

class Sheet {
 public:
  // No page is current while the sheet is built and once it is closing.
  static constexpr int kNoPage = 0;

  explicit Sheet(ExplorerState& state);
  ~Sheet();
  Sheet(const Sheet&) = delete;
  Sheet& operator=(const Sheet&) = delete;

  // Runs the modal sheet opened on the page of `command`, until it closes.
  void run(int command);
  // A second request while the sheet shows: Cookies makes the program top-most,
  // Active Tasks refills when it is the current page.
  void bringForward(int command);

  // Pages report: their creation (the first one sets the sheet up), their
  // activation and leaving.
  void pageCreated(HWND page);
  void pageActivated(HWND page, int pageId);
  void pageLeft();
  void setCurrentPage(int pageId);
  int currentPage() const { return phase_ == Phase::Shown ? currentPage_ : kNoPage; }
  int tabRows() const { return tabRows_; }

  void setStatusText(const std::string& text);
  void savePlacement();
  // Ends the sheet and the Explorer.
  void close();

 private:
  enum class Phase { Building, Shown, Closing };
  static LRESULT CALLBACK subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR self);
  void setUp(HWND sheet);
  // `page`: the page being activated, which the sheet does not yet report as current.
  void layout(HWND page = nullptr);
  void useTabIcons(HWND tab);

  ExplorerState& state_;
  Phase phase_ = Phase::Building;
  int currentPage_ = kNoPage;
  HWND window_ = nullptr;
  HWND statusBar_ = nullptr;
  int tabRows_ = 1;
  Size minimum_;
  UniqueImageList tabIcons_;
  std::vector<std::unique_ptr<ListPage>> pages_;
};

}  // namespace tavrin
