#pragma once
// The check-now watcher library beside the Monitor. It is optional: without it
// the Monitor patrols on its timer alone.
#include <windows.h>

#include "sys/handles.h"

namespace tavrin {

class OstrumBinding {
 public:
  // Loads ostrum.dll from the program folder only and calls its ordinal 2.
  bool start(HWND monitorWindow);
  // Calls ordinal 3 (stops the watcher) and unloads the library.
  void stop();
  bool loaded() const { return static_cast<bool>(module_); }

 private:
  UniqueModule module_;
};

}  // namespace tavrin
