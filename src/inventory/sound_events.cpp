#include "sound_events.h"

#include <windows.h>

#include "string_ids.h"
#include "sys/registry.h"

namespace tavrin {
namespace {

const char* const kSoundKeys[] = {
    "AppEvents\\Schemes\\Apps\\Tavrin\\Open\\.current",
    "AppEvents\\Schemes\\Apps\\Tavrin\\Startup Alert\\.current",
    "AppEvents\\Schemes\\Apps\\Tavrin\\Cookie Alert\\.current",
    "AppEvents\\Schemes\\Apps\\Tavrin\\Task Alert\\.current",
    "AppEvents\\Schemes\\Apps\\Tavrin\\IE Helper\\.current",
    "AppEvents\\Schemes\\Apps\\Tavrin\\FileType Alert\\.current",
    "AppEvents\\Schemes\\Apps\\Tavrin\\SystemFile Alert\\.current",
};

}  // namespace

std::string soundFileOfEvent(int index) {
  if (index < 0 || index > 6) index = 0;
  std::string file;
  reg::readString(HKEY_CURRENT_USER, kSoundKeys[index], "", file, 260);
  return file;
}

void playSoundEvent(int index, const Options& options) {
  if (options.sound <= 0) return;
  const std::string file = soundFileOfEvent(index);
  if (!file.empty())
    PlaySoundA(file.c_str(), nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT);
  else
    PlaySoundA(MAKEINTRESOURCEA(IDW_ALERT), GetModuleHandleA(nullptr), SND_RESOURCE | SND_SYNC | SND_NODEFAULT);
}

}  // namespace tavrin
