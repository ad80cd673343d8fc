// TIRLA: reading orvia.conf.
#include "speechd/moduleConfig.h"

#include <filesystem>
#include <optional>
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
    {"loglevel", &ModuleConfig::logLevel},
    {"debug", &ModuleConfig::debug},
    {"debugfile", &ModuleConfig::debugFile},
};

constexpr int kDefaultLogLevel = 3;
constexpr int kDebugLogLevel = 5;

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    return value.substr(1, value.size() - 2);
  return value;
}

// Calls take(name, value, line number) for each "Key value" line of `text`, the name in
// lower case, the value without its quotes.
template <typename Take>
void ForEachSetting(std::string_view text, Take take) {
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
    take(name, value, number);
  }
}

std::optional<int> Number(std::string_view text) {
  return platform::ParseInt(text, platform::kSpaceTab);
}

// The LogLevel of the server's own configuration, which sits above the modules' folder
// (<folder>/modules/orvia.conf beside <folder>/speechd.conf); the server does not pass it on.
std::optional<int> ServerLogLevel(const std::string& modulePath) {
  const std::filesystem::path server =
      std::filesystem::path(modulePath).parent_path().parent_path() / "speechd.conf";
  std::string text;
  std::error_code error;
  if (!std::filesystem::exists(server, error) || !platform::ReadDataFile(server, text, kLongestConfig))
    return std::nullopt;
  std::optional<int> level;
  ForEachSetting(text, [&](const std::string& name, std::string_view value, size_t) {
    if (name == "loglevel" && !level) level = Number(value);
  });
  return level;
}

}  // namespace

ModuleConfig ReadModuleConfig(const std::string& path) {
  ModuleConfig config;
  std::error_code error;
  if (!path.empty() && std::filesystem::exists(path, error)) {
    std::string text;
    if (platform::ReadDataFile(path, text, kLongestConfig)) {
      ForEachSetting(text, [&](const std::string& name, std::string_view value, size_t number) {
        for (const Key& key : kKeys)
          if (key.name == name) {
            config.*key.value = std::string(value);
            return;
          }
        config.notes.push_back(path + ":" + std::to_string(number) + ": chave desconhecida " +
                               name);
      });
    } else {
      config.notes.push_back(path + ": " +
                             platform::Cp1252ToUtf8(platform::DataFileProblem(path)));
    }
  }
  return config;
}

int ModuleLogLevel(const ModuleConfig& config, const std::string& path) {
  if (const auto debug = Number(config.debug); debug && *debug != 0) return kDebugLogLevel;
  if (const auto level = Number(config.logLevel)) return *level;
  if (path.empty()) return kDefaultLogLevel;
  return ServerLogLevel(path).value_or(kDefaultLogLevel);
}

}  // namespace sdOrvia
