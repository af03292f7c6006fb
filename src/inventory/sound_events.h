#pragma once
// Sound events 0 to 6 (Open, Startup Alert, Cookie Alert, Task Alert, IE
// Helper, FileType Alert, SystemFile Alert), chosen by the user in the
// system's sound settings; an index outside them is Open.
#include <string>

#include "options.h"

namespace tavrin {

// The sound file chosen for the event, empty for the program's own sound.
std::string soundFileOfEvent(int index);
// Plays it synchronously unless option Sound is 0 or below.
void playSoundEvent(int index, const Options& options);

}  // namespace tavrin
