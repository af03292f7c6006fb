#pragma once
// The trace file: an initialisation-format file with one section "Trace",
// written only while tracing is on (option Debug). The trace is process-wide by
// nature (every layer, the registry access included, writes to it), so its
// state lives here rather than in the programs' state structs.
#include <string>
#include <string_view>

namespace tavrin::trace {

void setFile(const std::string& path);
const std::string& file();

void switchOn();
void switchOff();
bool isOn();

// One line "key=MM-DD  hh:mm:ss label: text"; 1 when written, 0 when tracing is off.
int line(std::string_view label, std::string_view text);
// As line(), and starts a timed step.
int timedLine(std::string_view label, std::string_view text);
// The elapsed time of the current timed step ("NanoCycles").
void timingLine();
// A timed step that showed a dialog reports 1 instead of its elapsed time.
void markDialogShown();
// Label with the system's memory load as text.
int memoryLine(std::string_view label);

}  // namespace tavrin::trace
