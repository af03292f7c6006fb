#pragma once
// Dialogs and property-sheet pages of both programs: `this` lives in
// DWLP_USER and each message becomes a member call (WM_NOTIFY results go
// back through DWLP_MSGRESULT). A Dialog runs modally and turns OK and Cancel
// into onOk/onCancel; a PropertyPage turns the sheet's PSN_ notifications
// into onSetActive/onKillActive/onQueryCancel.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace tavrin {

class DialogWindow {
 public:
  DialogWindow() = default;
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;
  virtual ~DialogWindow() = default;

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

  std::string itemText(int id) const;
  void setItemText(int id, const std::string& text) { SetDlgItemTextA(window_, id, text.c_str()); }
  void showItem(int id, bool show) { ShowWindow(item(id), show ? SW_SHOW : SW_HIDE); }
  void enableItem(int id, bool enable) { EnableWindow(item(id), enable); }

  // The window procedure's part after WM_INITDIALOG.
  virtual INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  // Keeps `self` with its window and runs its onInit; for the procedures of WM_INITDIALOG.
  static INT_PTR attach(HWND window, DialogWindow* self);
  static INT_PTR route(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
};

class Dialog : public DialogWindow {
 public:
  INT_PTR runModal(HINSTANCE instance, int templateId, HWND owner);

 protected:
  // OK and Cancel (Enter, Escape, the close box) when onCommand leaves them;
  // by default the dialog ends with the button's id.
  virtual void onOk() { end(IDOK); }
  virtual void onCancel() { end(IDCANCEL); }

  void end(INT_PTR result) { EndDialog(window_, result); }
  // Gives the default button the focus; onInit returns the result.
  BOOL focusDefaultButton();

 private:
  static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class PropertyPage : public DialogWindow {
 public:
  // The page's record for the sheet; `title` must outlive the sheet's creation.
  PROPSHEETPAGEA record(HINSTANCE instance, int templateId, const std::string& title, HICON icon);

 protected:
  virtual void onSetActive() {}
  // False keeps the page shown.
  virtual bool onKillActive() { return true; }
  // False keeps the sheet open.
  virtual bool onQueryCancel() { return true; }

 private:
  static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The class of either program's main window, found by its class name: double
// clicks, the program's icon, the arrow cursor.
bool registerMainWindowClass(HINSTANCE instance, WNDPROC procedure, int iconId, const std::string& className);

}  // namespace tavrin
