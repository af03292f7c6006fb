#pragma once
// One base for both programs' dialogs and the tab sheet pages: `this` lives in
// DWLP_USER and each message becomes a member call.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace tavrin {

class Dialog {
 public:
  Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog() = default;

  INT_PTR runModal(HINSTANCE instance, int templateId, HWND owner);
  // A property sheet page record whose lParam is this object.
  PROPSHEETPAGEA pageRecord(HINSTANCE instance, int templateId, const std::string& title, HICON icon);

  HWND handle() const { return window_; }
  HWND item(int id) const { return GetDlgItem(window_, id); }

 protected:
  virtual BOOL onInit() { return TRUE; }
  virtual bool onCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
  // Sets `result`, which goes back through DWLP_MSGRESULT.
  virtual bool onNotify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
  virtual bool onContextMenu(HWND /*from*/, POINT /*at*/) { return false; }
  // Any other message; true when handled.
  virtual bool onMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, INT_PTR& /*result*/) { return false; }
  virtual void onDestroy() {}

  void end(INT_PTR result) { EndDialog(window_, result); }
  // Gives the default button the focus; onInit returns the result.
  BOOL focusDefaultButton();
  std::string itemText(int id) const;
  void setItemText(int id, const std::string& text) { SetDlgItemTextA(window_, id, text.c_str()); }
  void showItem(int id, bool show) { ShowWindow(item(id), show ? SW_SHOW : SW_HIDE); }
  void enableItem(int id, bool enable) { EnableWindow(item(id), enable); }

  HWND window_ = nullptr;

 private:
  static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace tavrin
