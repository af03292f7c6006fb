#include "message.h"

#include "base/text.h"

namespace tavrin {

int messageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags, WORD languageId) {
  return MessageBoxExA(owner, text.c_str(), caption.c_str(), flags | MB_TOPMOST, languageId);
}

void systemErrorBox(WORD languageId) {
  const DWORD code = GetLastError();
  char* message = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, 0, reinterpret_cast<char*>(&message), 0, nullptr);
  std::string text = format("%d  %s", static_cast<int>(code), message ? message : "");
  if (message) LocalFree(message);
  messageBox(nullptr, text, "System Error", MB_OK | MB_ICONINFORMATION, languageId);
}

}  // namespace tavrin
