#include "shortcut.h"

#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>
#include <vector>

namespace tavrin {
namespace {

using Microsoft::WRL::ComPtr;

// Longest text the link object hands out for a path or description.
constexpr int kLinkTextCapacity = MAX_PATH;

class CriticalErrorsOff {
 public:
  CriticalErrorsOff() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {
    SetErrorMode(previous_ | SEM_FAILCRITICALERRORS);
  }
  ~CriticalErrorsOff() { SetErrorMode(previous_); }
  CriticalErrorsOff(const CriticalErrorsOff&) = delete;
  CriticalErrorsOff& operator=(const CriticalErrorsOff&) = delete;

 private:
  UINT previous_;
};

// The path in UTF-16 (system code page); false when it does not fit a Windows path.
bool widePath(const std::string& path, std::wstring& out) {
  int needed = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
  if (needed <= 0 || needed > MAX_PATH) return false;
  std::vector<wchar_t> buffer(static_cast<std::size_t>(needed));
  if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, buffer.data(), needed) != needed) return false;
  out.assign(buffer.data());
  return true;
}

// A text the link object wrote into `buffer`, up to the first zero or the end.
std::string bufferText(const std::vector<char>& buffer) {
  std::size_t length = 0;
  while (length < buffer.size() && buffer[length] != 0) ++length;
  return std::string(buffer.data(), length);
}

HRESULT createShellLink(ComPtr<IShellLinkA>& link) {
  return CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                          reinterpret_cast<void**>(link.GetAddressOf()));
}

}  // namespace

ResolvedShortcut resolveShortcut(const std::string& shortcutPath) {
  ResolvedShortcut shortcut;
  std::wstring wide;
  if (!widePath(shortcutPath, wide)) {
    shortcut.result = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    return shortcut;
  }
  CriticalErrorsOff quiet;
  ComPtr<IShellLinkA> link;
  shortcut.result = createShellLink(link);
  if (FAILED(shortcut.result)) return shortcut;
  ComPtr<IPersistFile> file;
  shortcut.result = link.As(&file);
  if (FAILED(shortcut.result)) return shortcut;
  shortcut.result = file->Load(wide.c_str(), STGM_READ);
  if (FAILED(shortcut.result)) return shortcut;
  shortcut.result = link->Resolve(nullptr, MAKELONG(SLR_NO_UI, 500));
  if (shortcut.result != S_OK) return shortcut;

  shortcut.resolved = true;
  std::vector<char> buffer(kLinkTextCapacity, 0);
  if (SUCCEEDED(link->GetDescription(buffer.data(), kLinkTextCapacity))) shortcut.description = bufferText(buffer);
  std::fill(buffer.begin(), buffer.end(), 0);
  shortcut.result = link->GetPath(buffer.data(), kLinkTextCapacity, nullptr, SLGP_SHORTPATH);
  if (SUCCEEDED(shortcut.result)) shortcut.target = bufferText(buffer);
  return shortcut;
}

HRESULT writeShortcut(const std::string& shortcutPath, const ShortcutFields& fields) {
  std::wstring wide;
  if (!widePath(shortcutPath, wide)) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  ComPtr<IShellLinkA> link;
  HRESULT result = createShellLink(link);
  if (FAILED(result)) return result;
  // Every field is set before the save; a field the object refuses stops the
  // write rather than leaving a shortcut that lacks it.
  const HRESULT steps[] = {
      link->SetPath(fields.target.c_str()),
      link->SetDescription(fields.description.c_str()),
      link->SetIconLocation(fields.iconFile.c_str(), fields.iconIndex),
      link->SetWorkingDirectory(fields.workingFolder.c_str()),
      link->SetArguments(fields.arguments.c_str()),
  };
  for (HRESULT step : steps)
    if (FAILED(step)) return step;
  ComPtr<IPersistFile> file;
  result = link.As(&file);
  if (FAILED(result)) return result;
  return file->Save(wide.c_str(), TRUE);
}

}  // namespace tavrin
