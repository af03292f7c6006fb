#include "file_watch_rules.h"

#include "command_text.h"
#include "text.h"

namespace tavrin {
namespace {

// Leaves room for the hash within a file name's 255 characters.
constexpr std::size_t kSlotNameWidth = 200;

std::uint32_t pathHash(std::string_view path) {
  std::uint32_t hash = 2166136261u;  // FNV-1a over the path in upper case
  for (char c : path) {
    const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    hash = (hash ^ static_cast<unsigned char>(upper)) * 16777619u;
  }
  return hash;
}

std::string trimmed(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return "";
  const std::size_t last = line.find_last_not_of(" \t\r\n");
  return std::string(line.substr(first, last - first + 1));
}

bool endsWithLineBreak(std::string_view text) { return text.empty() || text.back() == '\n'; }

}  // namespace

std::string vaultSlotName(std::string_view path) {
  return cut(fileNamePart(path), kSlotNameWidth) + format(".%08x", static_cast<unsigned>(pathHash(path)));
}

std::string oldVaultSlotName(std::string_view path) { return fileNamePart(path); }

std::string hostsPathOf(bool ntFamily, std::string_view windowsFolder, std::string_view systemFolder) {
  if (ntFamily) return std::string(systemFolder) + "\\drivers\\etc\\HOSTS";
  return std::string(windowsFolder) + "\\HOSTS";
}

bool watchedFileChanged(const FileStamp& stored, const FileStamp& live, int type) {
  const bool dateDiffers =
      stored.writeTime != 0 && live.writeTime != 0 ? stored.writeTime != live.writeTime : stored.date != live.date;
  return dateDiffers && (type != 0 || stored.size != live.size);
}

std::string addRestartDeletion(std::string_view restartFile, std::string_view shortPath) {
  const std::string line = "NUL=" + std::string(shortPath) + "\r\n";
  std::string text(restartFile);
  // Where the [rename] section ends: the start of the next section, or the end.
  bool inRename = false;
  std::size_t insertAt = std::string::npos;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string content = trimmed(std::string_view(text).substr(start, end - start));
    if (!content.empty() && content[0] == '[') {
      if (inRename) {
        insertAt = start;
        break;
      }
      inRename = equalsNoCase(content, "[rename]");
    }
    start = end;
  }
  if (insertAt != std::string::npos) return text.insert(insertAt, line);
  if (!endsWithLineBreak(text)) text += "\r\n";
  if (!inRename) text += "[rename]\r\n";
  return text + line;
}

std::string restartCommandsDisplay(std::string_view restartFile) {
  const std::string_view shown = restartFile.substr(0, kRestartTextLimit);
  std::string out;
  out.reserve(shown.size() + shown.size() / 8);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const char c = shown[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < shown.size() && shown[i + 1] == '\n') ++i;
    } else {
      out += c == '\0' ? ' ' : c;
    }
  }
  return out;
}

}  // namespace tavrin
