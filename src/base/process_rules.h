#pragma once
// Which process runs which program, decided on the path texts alone.
#include <string_view>

namespace tavrin {

// A process image of the virtual DOS machine, whose 16-bit tasks are walked.
bool isVirtualDosMachine(std::string_view processPath);

// Whether a process runs the wanted program file: the long form of the
// process's program file equals it, or the bare file name of the process's
// path as reported does (a wanted bare name matches that file in any
// folder). Case is ignored; an empty wanted program matches nothing.
bool processRunsProgram(std::string_view reportedPath, std::string_view longProgramFile, std::string_view wanted);

}  // namespace tavrin
