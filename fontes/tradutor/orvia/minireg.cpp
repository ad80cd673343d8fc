// TIRLA: the registry reader over the installed MBROLA voices.
#include "orvia/minireg.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>

namespace minireg {
namespace {

struct MiniregState {
  std::vector<std::string> voiceFolders;  // where voices are looked for, in order
};

MiniregState& State() {
  static MiniregState state = {{"/usr/share/mbrola", "/usr/local/share/mbrola"}};
  return state;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool IsFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The installed file of voice `id`, or "" when there is none.
std::string VoicePath(const std::string& id) {
  if (id.empty() || id.find('/') != std::string::npos || id == "." || id == "..") return {};
  for (const std::string& folder : State().voiceFolders) {
    for (const std::string& candidate : {folder + "/" + id + "/" + id, folder + "/" + id})
      if (IsFile(candidate)) return candidate;
  }
  return {};
}

}  // namespace

void StartMinireg() { State() = MiniregState{{"/usr/share/mbrola", "/usr/local/share/mbrola"}}; }

void SetVoiceFolders(const std::vector<std::string>& folders) { State().voiceFolders = folders; }

bool ReadRegistryString(RootKey root, const std::string& path, std::string& text) {
  const size_t split = path.rfind('\\');
  if (split == std::string::npos) return false;
  const std::string key = Lower(path.substr(0, split));
  const std::string valueName = path.substr(split + 1);
  const std::string prefix = Lower(kMbrolaDatabases);
  if (root != kLocalMachine || !valueName.empty() || key.size() <= prefix.size() ||
      key.compare(0, prefix.size(), prefix) != 0)
    return false;
  const std::string voice = VoicePath(key.substr(prefix.size()));
  if (voice.empty()) return false;
  text = voice;
  return true;
}

}  // namespace minireg
