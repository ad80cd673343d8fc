// TIRLA: the registry reader over the installed MBROLA voices.
#include "orvia/engine/minireg.h"

#include <sys/stat.h>

#include <dirent.h>

#include <algorithm>
#include <cctype>
#include <string_view>

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

// A voice id's two letters and the language its voices speak.
struct VoiceLanguage {
  std::string_view prefix;
  std::string_view tag;
};

constexpr VoiceLanguage kVoiceLanguages[] = {
    {"af", "af"},    {"ar", "ar"}, {"br", "pt-BR"}, {"ca", "fr-CA"}, {"cn", "zh"},
    {"cr", "hr"},    {"cz", "cs"}, {"de", "de"},    {"ee", "et"},    {"en", "en-GB"},
    {"es", "es"},    {"fr", "fr"}, {"gr", "el"},    {"hb", "he"},    {"hu", "hu"},
    {"ic", "is"},    {"id", "id"}, {"in", "hi"},    {"ir", "fa"},    {"it", "it"},
    {"jp", "ja"},    {"la", "la"}, {"lt", "lt"},    {"ma", "ms"},    {"mx", "es-MX"},
    {"nl", "nl"},    {"pl", "pl"}, {"pt", "pt-PT"}, {"ro", "ro"},    {"sw", "sv"},
    {"tr", "tr"},    {"us", "en-US"}, {"vz", "es-VE"},
};

std::string LanguageOf(std::string_view id) {
  for (const VoiceLanguage& entry : kVoiceLanguages)
    if (id.size() > 2 && id.substr(0, 2) == entry.prefix &&
        std::isdigit(static_cast<unsigned char>(id[2])))
      return std::string(entry.tag);
  return {};
}

// The entries of `folder` (no dot files), unsorted; none when it cannot be read.
std::vector<std::string> EntriesOf(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = readdir(dir))
    if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
  closedir(dir);
  return names;
}

}  // namespace

std::vector<InstalledVoice> InstalledVoices() {
  std::vector<InstalledVoice> voices;
  for (const std::string& folder : State().voiceFolders)
    for (const std::string& name : EntriesOf(folder)) {
      const bool known = std::any_of(voices.begin(), voices.end(),
                                     [&](const InstalledVoice& v) { return v.name == name; });
      const std::string path = VoicePath(name);
      if (!known && !path.empty()) voices.push_back({name, path, LanguageOf(name)});
    }
  std::sort(voices.begin(), voices.end(),
            [](const InstalledVoice& a, const InstalledVoice& b) { return a.name < b.name; });
  return voices;
}

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
