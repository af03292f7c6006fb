#include "process_rules.h"

#include "command_text.h"
#include "text.h"

namespace tavrin {

bool isVirtualDosMachine(std::string_view processPath) {
  constexpr std::string_view kImage = "NTVDM.EXE";
  return processPath.size() >= kImage.size() && equalsNoCase(processPath.substr(processPath.size() - kImage.size()), kImage);
}

bool processRunsProgram(std::string_view reportedPath, std::string_view longProgramFile, std::string_view wanted) {
  if (wanted.empty()) return false;
  return equalsNoCase(longProgramFile, wanted) || equalsNoCase(fileNamePart(reportedPath), wanted);
}

}  // namespace tavrin
