#include "reg_script.h"

#include "text.h"

namespace tavrin {
namespace {

constexpr unsigned long kString = 1, kExpandString = 2, kBinary = 3, kDword = 4, kMultiString = 7;

std::string hexBytes(std::string_view bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (!out.empty()) out += ',';
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

// A string the quoted form gives back exactly: no zero byte before the
// (optional) final one, and no line break.
bool quotable(std::string_view data, std::string& text) {
  if (!data.empty() && data.back() == '\0') data.remove_suffix(1);
  if (data.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos) return false;
  text = std::string(data);
  return true;
}

}  // namespace

std::string regScriptRootName(unsigned long rootHandleValue) {
  switch (rootHandleValue) {
    case 0x80000000UL: return "HKEY_CLASSES_ROOT";
    case 0x80000001UL: return "HKEY_CURRENT_USER";
    case 0x80000003UL: return "HKEY_USERS";
    case 0x80000005UL: return "HKEY_CURRENT_CONFIG";
    default: return "HKEY_LOCAL_MACHINE";
  }
}

std::string regScriptEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

bool regScriptNameUsable(std::string_view name) { return name.find_first_of("\r\n") == std::string_view::npos; }

std::string regScriptValueLine(const RegScriptValue& value) {
  std::string line = value.name.empty() ? std::string("@=") : "\"" + regScriptEscape(value.name) + "\"=";
  std::string text;
  if (value.type == kString && quotable(value.data, text))
    line += "\"" + regScriptEscape(text) + "\"";
  else if (value.type == kDword && value.data.size() == 4)
    line += format("dword:%02x%02x%02x%02x", static_cast<unsigned char>(value.data[3]),
                   static_cast<unsigned char>(value.data[2]), static_cast<unsigned char>(value.data[1]),
                   static_cast<unsigned char>(value.data[0]));
  else if (value.type == kBinary)
    line += "hex:" + hexBytes(value.data);
  else if (value.type == kString || value.type == kExpandString || value.type == kMultiString)
    line += format("hex(%lx):", value.type) + hexBytes(value.wideData);
  else
    line += format("hex(%lx):", value.type) + hexBytes(value.data);
  return line + "\r\n";
}

}  // namespace tavrin
