#include "settings_export.h"

#include <vector>

#include "base/reg_script.h"
#include "base/text.h"
#include "inventory/options.h"
#include "sys/files.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/trace.h"

namespace tavrin {
namespace {

constexpr char kMakerKey[] = "SOFTWARE\\Quennet";

std::string rootName(HKEY root) {
  return regScriptRootName(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(root)));
}

// Text in the system code page as UTF-16LE bytes: the text types' hex lines
// hold that form, and the file itself is written in it.
std::string wideBytes(const std::string& data) {
  if (data.empty()) return "";
  const int length = MultiByteToWideChar(CP_ACP, 0, data.data(), static_cast<int>(data.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_ACP, 0, data.data(), static_cast<int>(data.size()), wide.data(), length);
  return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}

// The script is UTF-16LE with its byte-order mark, as the registry editor
// writes it: only then do the editors of Windows and Wine agree that the hex
// lines of the text types hold UTF-16 (an ANSI file makes Wine read them as
// ANSI bytes), and every code-page character survives.
struct WideScript {
  FileWriter& file;
  WideScript& operator<<(const std::string& text) {
    file << wideBytes(text);
    return *this;
  }
};

struct Exporter {
  WideScript& out;
  std::string rootName;
  HKEY root;
  int skipped = 0;

  // The key's header and values, then each sub-key the same way; a key that
  // cannot be opened keeps its header.
  void key(const std::string& path, bool first) {
    out << (first ? "" : "\r\n") << "[" << rootName << "\\" << path << "]\r\n";
    std::vector<reg::Value> values;
    reg::readRawValues(root, path, values);
    for (const reg::Value& value : values) {
      if (!regScriptNameUsable(value.name)) {
        trace::line("ExportSettings skipped value", path);
        ++skipped;
        continue;
      }
      const bool text = value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ;
      out << regScriptValueLine({value.name, value.type, value.data, text ? wideBytes(value.data) : ""});
    }
    std::vector<std::string> subKeys;
    reg::readSubKeyNames(root, path, subKeys);
    for (const std::string& name : subKeys) {
      if (regScriptNameUsable(name)) {
        key(path + "\\" + name, false);
      } else {
        trace::line("ExportSettings skipped key", path);
        ++skipped;
      }
    }
  }
};

}  // namespace

std::string settingsExportPath() {
  char name[260] = "";
  DWORD size = sizeof name;
  if (!GetUserNameA(name, &size)) name[0] = '\0';
  return programFolder() + "\\" + cut(name, 227) + "-Tavrin.reg";
}

DWORD exportSettings(const std::string& path, int* skipped) {
  FileWriter file(path);
  file << "\xff\xfe";
  WideScript out{file};
  out << kRegScriptHeader;
  Exporter user{out, rootName(HKEY_CURRENT_USER), HKEY_CURRENT_USER};
  user.key(kSystemKey, true);
  Exporter machine{out, rootName(HKEY_LOCAL_MACHINE), HKEY_LOCAL_MACHINE};
  machine.key(kMakerKey, true);
  if (skipped) *skipped = user.skipped + machine.skipped;
  return file.close() ? 0 : file.error();
}

}  // namespace tavrin
