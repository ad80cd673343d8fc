// TIRLA: profile file reader.
#include "platform/profile.h"

#include <strings.h>
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
  std::set<std::string> told;  // files found unreadable and already reported
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

std::optional<std::string> FindValue(std::string_view section, std::string_view key,
                                     const std::string& file) {
  const std::string path = ProfilePath(file);
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

}  // namespace

std::string ProfilePath(const std::string& file) {
  if (file.find('/') != std::string::npos) return file;
  return FindFileNoCase(WindowsDirectory(), file);
}

std::string GetProfileString(std::string_view section, std::string_view key,
                             std::string_view fallback, size_t size, const std::string& file) {
  std::string value = FindValue(section, key, file).value_or(std::string(fallback));
  if (size == 0) return {};
  if (value.size() > size - 1) value.resize(size - 1);
  return value;
}

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
