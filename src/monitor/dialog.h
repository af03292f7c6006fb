#pragma once
// A modal dialog whose procedure keeps `this` in DWLP_USER and turns messages
// into member calls.
#include <windows.h>

namespace tavrin {

class Dialog {
 public:
  virtual ~Dialog() = default;
  // Runs the dialog modally; its result, or -1 when it could not be created.
  INT_PTR run(HINSTANCE instance, int templateId, HWND owner);

 protected:
  HWND window() const { return window_; }
  void end(INT_PTR result) { EndDialog(window_, result); }

  // WM_INITDIALOG; true lets the system set the focus.
  virtual bool onInit() { return true; }
  virtual void onCommand(int id, int code) = 0;
  // Handles the message when it returns true (`result` goes back to the system).
  virtual bool onMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }
  virtual void onDestroy() {}

 private:
  static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
};

}  // namespace tavrin
