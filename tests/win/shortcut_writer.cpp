// Writes the shortcut that check-shortcut-lnkinfo.sh reads back with an
// independent parser. The fields must match the ones that script expects.
#include <cstdio>

#include "sys/shortcut.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: shortcut_writer SHORTCUT_PATH\n");
    return 2;
  }
  if (FAILED(CoInitialize(nullptr))) return 3;
  tavrin::ShortcutFields fields;
  fields.target = "C:\\windows\\notepad.exe";
  fields.arguments = "/p \"C:\\windows\\win.ini\"";
  fields.workingFolder = "C:\\windows\\temp";
  fields.description = "Tavrin writer check";
  fields.iconFile = "C:\\windows\\system32\\shell32.dll";
  fields.iconIndex = 3;
  HRESULT result = tavrin::writeShortcut(argv[1], fields);
  CoUninitialize();
  std::printf("writeShortcut: 0x%08lx\n", static_cast<unsigned long>(result));
  return SUCCEEDED(result) ? 0 : 1;
}
