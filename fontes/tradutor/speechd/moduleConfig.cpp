// TIRLA: reading orvia.conf.
#include "speechd/moduleConfig.h"

#include <filesystem>
#include <string_view>

#include "platform/codepage.h"
#include "platform/datafile.h"
#include "platform/text.h"

namespace sdOrvia {
namespace {

constexpr size_t kLongestConfig = 1u << 20;
constexpr char kComment = '#';

struct Key {
  std::string_view name;  // lower case
  std::string ModuleConfig::*value;
};
constexpr Key kKeys[] = {
    {"defaultvoice", &ModuleConfig::voice},
    {"datafolder", &ModuleConfig::dataFolder},
};

// Keys the server's own modules know and that mean nothing here.
constexpr std::string_view kKnownElsewhere[] = {"debug", "debugfile"};

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

ModuleConfig ReadModuleConfig(const std::string& path) {
  ModuleConfig config;
  std::error_code error;
  if (path.empty() || !std::filesystem::exists(path, error)) return config;
  std::string text;
  if (!platform::ReadDataFile(path, text, kLongestConfig)) {
    config.notes.push_back(path + ": " + platform::Cp1252ToUtf8(platform::DataFileProblem(path)));
    return config;
  }
  size_t number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string_view line =
        platform::Trim(std::string_view(text).substr(start, end - start), platform::kSpaceTabLineEnd);
    start = end + 1;
    ++number;
    if (line.empty() || line[0] == kComment) continue;
    const size_t blank = line.find_first_of(" \t");
    const std::string name = platform::LowerCp1252(line.substr(0, blank));
    const std::string_view value =
        blank == std::string_view::npos
            ? std::string_view()
            : Unquoted(platform::Trim(line.substr(blank), platform::kSpaceTab));
    bool known = false;
    for (const Key& key : kKeys)
      if (key.name == name) {
        config.*key.value = std::string(value);
        known = true;
      }
    for (std::string_view other : kKnownElsewhere) known = known || other == name;
    if (!known)
      config.notes.push_back(path + ":" + std::to_string(number) + ": chave desconhecida " +
                             name);
  }
  return config;
}

}  // namespace sdOrvia
