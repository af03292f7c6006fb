#include "string_loader.h"

#include "base/language.h"
#include "base/text.h"
#include "options.h"
#include "string_ids.h"
#include "sys/registry.h"

namespace tavrin {
namespace {

WORD g_languageId = 0;  // process value, like the trace switch

}  // namespace

WORD languageId() { return g_languageId; }

void setLanguageFromStrings() {
  // Derived afresh, as at start (no language yet), so that an LString634
  // override can switch a program whose table says "us" to another language.
  g_languageId = 0;
  g_languageId = static_cast<WORD>(languageIdOf(loadString(IDS_LANGUAGE, 8)));
}

std::string loadString(UINT id, std::size_t capacity) {
  if (capacity == 0) return std::string();
  if (g_languageId != 9) {
    std::string text;
    if (reg::readString(HKEY_LOCAL_MACHINE, kSystemKey, format("LString%u", id), text, 772) > 0) {
      text = cut(text, capacity - 1);
      std::string out;
      for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 'n') {
          out += '\n';
          ++i;
        } else {
          out += text[i];
        }
      }
      return out;
    }
  }
  // A zero length asks LoadStringA for a read-only pointer to the resource text.
  const char* resource = nullptr;
  int length = LoadStringA(GetModuleHandleA(nullptr), id, reinterpret_cast<char*>(&resource), 0);
  if (length > 0 && resource) return cut(std::string(resource, static_cast<std::size_t>(length)), capacity - 1);
  char buffer[1024];
  length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
  return length > 0 ? cut(std::string(buffer, static_cast<std::size_t>(length)), capacity - 1) : std::string();
}

void setDialogText(HWND dialog, UINT stringId, int control) {
  const std::string text = loadString(stringId);
  if (!text.empty()) SetDlgItemTextA(dialog, control, text.c_str());
}

}  // namespace tavrin
