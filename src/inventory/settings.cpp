#include "settings.h"

#include "base/language.h"
#include "base/text.h"
#include "string_ids.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/trace.h"
#include "version_text.h"

namespace tavrin {
namespace {
WORD g_languageId = 0;  // process value, like the trace switch
}

int readOption(const std::string& name, int defaultValue) {
  std::string text;
  if (reg::readString(HKEY_CURRENT_USER, kOptionsKey, name, text) == 0) return defaultValue;
  return static_cast<int>(leadingNumber(text));
}

int writeOption(const std::string& name, int value) {
  reg::writeString(HKEY_CURRENT_USER, kOptionsKey, name, std::to_string(value));
  return reg::writeString(HKEY_CURRENT_USER, kOptionsKey, "Update", "1");
}

WORD languageId() { return g_languageId; }

void setLanguageFromStrings() {
  g_languageId = 0;  // the table itself must be read without overrides
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
  // LoadStringA with a zero length returns a read-only pointer to the resource text.
  const char* resource = nullptr;
  int length = LoadStringA(GetModuleHandleA(nullptr), id, reinterpret_cast<char*>(&resource), 0);
  if (length <= 0 || !resource) {
    char buffer[1024];
    length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return length > 0 ? cut(std::string(buffer, static_cast<std::size_t>(length)), capacity - 1) : std::string();
  }
  return cut(std::string(resource, static_cast<std::size_t>(length)), capacity - 1);
}

bool isWindowsNtFamily() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

void startupInitialisation(const char* programName) {
  trace::switchOff();
  setLanguageFromStrings();
  if (readOption("Debug", 0) != 0) trace::switchOn();
  trace::line(format("-------------------------------------Begin %s", programName), versionText());
}

bool isMonitorRegistered() {
  // An empty name would test the key's default value, which is no registration.
  for (UINT id : {IDS_CAPTION, IDS_ALT_RUN_NAME}) {
    const std::string name = loadString(id, 260);
    std::string data;
    if (!name.empty() && reg::readString(HKEY_LOCAL_MACHINE, kMachineRunKey, name, data) > 0) return true;
  }
  return false;
}


bool registerMonitor(bool on) {
  const std::string name = loadString(IDS_CAPTION, 260);
  const std::string path = programFolder() + "\\tavrin.exe";
  const std::string approvedKey = std::string(kSystemKey) + "\\Run";
  if (on) {
    // Quoted: an unquoted path with blanks would let C:\Program.exe start at logon.
    if (!reg::writeString(HKEY_LOCAL_MACHINE, kMachineRunKey, name, "\"" + path + "\"")) return false;
    reg::writeString(HKEY_CURRENT_USER, approvedKey, path, "1");
    return true;
  }
  if (!reg::deleteValue(HKEY_LOCAL_MACHINE, kMachineRunKey, name)) return false;
  reg::deleteValue(HKEY_CURRENT_USER, approvedKey, path);
  return true;
}

}  // namespace tavrin
