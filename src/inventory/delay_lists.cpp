#include "delay_lists.h"

#include <windows.h>

#include "sys/registry.h"

namespace tavrin {

int removeFromDelayedLists(const std::string& program, bool currentUser) {
  const HKEY root = currentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  static const char* const kKeys[] = {"Title", "Time", "Parameters", "Shortcuts", "Applet", "OpenAs"};
  const std::string delay = "Software\\Quennet\\Tavrin\\Delay";
  for (const char* key : kKeys) reg::deleteValue(root, delay + "\\" + key, program);
  // The Delay value goes last: its presence is what puts the program on the list.
  reg::deleteValue(root, delay, program);
  return reg::valueExists(root, delay, program) ? 0 : 1;
}

}  // namespace tavrin
