// TIRLA: profile file reader.
#include "platform/profile.h"

#include <strings.h>
#include <unistd.h>
#include <sys/stat.h>

#include <fstream>
#include <optional>
#include <set>

#include "platform/codepage.h"
#include "platform/datafile.h"
#include "platform/folders.h"
#include "platform/report.h"
#include "platform/text.h"

namespace platform {
namespace {

struct ProfileState {
  std::set<std::string> told;    // files found unreadable and already reported
  std::set<std::string> faults;  // "file|section|key|value" of bad values already reported
};

ProfileState& State() {
  static ProfileState state;
  return state;
}

// A missing file is an ordinary case (every value takes its default); one that is there but
// cannot be read is said once, since values are read from it again and again.
void TellUnreadable(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !State().told.insert(path).second) return;
  const std::string why = DataFileProblem(path);
  Report(Severity::kError, "o arquivo de configura\xE7\xE3o " + Utf8ToCp1252(path) + " " +
                               (why.empty() ? "n\xE3o p\xF4" "de ser lido por inteiro" : why) +
                               "; valem os valores padr\xE3o");
}

// Blanks around names and values, and the CR of lines written on Windows.
constexpr const ByteSet& kBlanks = kSpaceTabLineEnd;

bool SameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// The value of `key` in `[section]` of the one file at `path`.
std::optional<std::string> FindValueIn(std::string_view section, std::string_view key,
                                       const std::string& path) {
  std::ifstream in;
  if (!OpenDataFile(path, in)) {
    TellUnreadable(path);
    return std::nullopt;
  }
  bool in_section = false;
  std::string line;
  while (std::getline(in, line)) {
    const std::string_view text = Trim(line, kBlanks);
    if (text.empty() || text.front() == ';') continue;
    if (text.front() == '[') {
      const size_t close = text.find(']');
      const size_t length = close == std::string_view::npos ? close : close - 1;
      const std::string_view name = Trim(text.substr(1, length), kBlanks);
      in_section = SameNoCase(name, section);
      continue;
    }
    if (!in_section) continue;
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    if (!SameNoCase(Trim(text.substr(0, equals), kBlanks), key)) continue;
    std::string_view value = Trim(text.substr(equals + 1), kBlanks);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
  }
  if (!ReadWithoutError(in)) TellUnreadable(path);
  return std::nullopt;
}

// The value and the layer it comes from.
struct Found {
  std::string value;
  std::string path;
};

std::optional<Found> FindValue(std::string_view section, std::string_view key,
                               const std::string& file) {
  for (const std::string& path : ProfileLayers(file))
    if (std::optional<std::string> value = FindValueIn(section, key, path))
      return Found{std::move(*value), path};
  return std::nullopt;
}

}  // namespace

std::vector<std::string> ProfileLayers(const std::string& file) {
  if (file.find('/') != std::string::npos) return {file};
  std::vector<std::string> layers;
  if (const std::string own = UserConfigDirectory(); !own.empty())
    layers.push_back(FindFileNoCase(own, file));
  layers.push_back(FindFileNoCase(WindowsDirectory(), file));
  return layers;
}

std::string ProfilePath(const std::string& file) { return ProfileLayers(file).back(); }

bool ProfileExists(const std::string& file) {
  for (const std::string& path : ProfileLayers(file))
    if (access(path.c_str(), R_OK) == 0) return true;
  return false;
}

std::string ProfileValueFile(std::string_view section, std::string_view key,
                             const std::string& file) {
  const std::optional<Found> found = FindValue(section, key, file);
  return found ? found->path : std::string();
}

std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view fallback, size_t size, const std::string& file) {
  std::optional<Found> found = FindValue(section, key, file);
  std::string value = found ? std::move(found->value) : std::string(fallback);
  if (size == 0) return {};
  if (value.size() > size - 1) value.resize(size - 1);
  return value;
}

void TellBadValue(std::string_view section, std::string_view key, std::string_view value,
                  std::string_view wanted, std::string_view outcome, const std::string& file) {
  if (value.empty()) return;
  const std::string path = ProfileValueFile(section, key, file);
  std::string id = path + "|" + std::string(section) + "|" + std::string(key) + "|";
  id += value;
  if (!State().faults.insert(id).second) return;
  std::string text = Utf8ToCp1252(path.empty() ? file : path) + ": [" + std::string(section) +
                     "] " + std::string(key) + "=" + std::string(value) + " n\xE3o \xE9 " +
                     std::string(wanted) + "; " + std::string(outcome);
  Report(Severity::kWarning, text);
}

bool NumberInRange(std::string_view section, std::string_view key, int64_t value,
                   std::string_view outcome, const std::string& file) {
  const NumberRange* range = FindNumberRange(section, key);
  if (range == nullptr || (value >= range->lowest && value <= range->highest)) return true;
  TellBadValue(section, key, std::to_string(value),
               "um n\xFAmero de " + std::to_string(range->lowest) + " a " +
                   std::to_string(range->highest),
               outcome, file);
  return false;
}

void StartProfile() { State() = ProfileState{}; }

bool ProfileHasKey(std::string_view section, std::string_view key, const std::string& file) {
  return FindValue(section, key, file).has_value();
}

namespace {

constexpr size_t kRootSize = 256;          // values are read into 255 characters
constexpr int kMostExpansions = 16;        // of "@" in one value
constexpr size_t kLongestExpansion = 4096;

// The first "@/" or "@\\" of the value, or npos.
size_t FindShorthand(const std::string& value) {
  for (size_t at = value.find('@'); at != std::string::npos; at = value.find('@', at + 1))
    if (at + 1 < value.size() && (value[at + 1] == '/' || value[at + 1] == '\\')) return at;
  return std::string::npos;
}

}  // namespace

std::string ExpandRootShorthand(std::string value, const std::string& file,
                                const std::string& startDirectory) {
  for (int round = 0; round < kMostExpansions && !value.empty(); ++round) {
    size_t at = 0;
    if (value[0] == '@') {
      value.erase(0, 1);
    } else {
      at = FindShorthand(value);
      if (at == std::string::npos) break;
      value.erase(at, 1);
    }
    const std::string root = GetProfileString("TOLVAN", "PGMTOLVAN", "", kRootSize, file);
    value.insert(at, root.empty() || root[0] == '@' ? startDirectory : root);
    if (value.size() > kLongestExpansion) value.resize(kLongestExpansion);
  }
  return value;
}

}  // namespace platform
