// TIRLA: profile file reader.
#include "platform/profile.h"

#include <strings.h>

#include <fstream>
#include <optional>

#include "platform/folders.h"

namespace platform {
namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::optional<std::string> FindValue(std::string_view section, std::string_view key,
                                     const std::string& file) {
  std::ifstream in(ProfilePath(file), std::ios::binary);
  if (!in) return std::nullopt;
  bool in_section = false;
  std::string line;
  while (std::getline(in, line)) {
    const std::string_view text = Trim(line);
    if (text.empty() || text.front() == ';') continue;
    if (text.front() == '[') {
      const size_t close = text.find(']');
      const std::string_view name = Trim(text.substr(1, close == std::string_view::npos
                                                             ? std::string_view::npos
                                                             : close - 1));
      in_section = SameNoCase(name, section);
      continue;
    }
    if (!in_section) continue;
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    if (!SameNoCase(Trim(text.substr(0, equals)), key)) continue;
    std::string_view value = Trim(text.substr(equals + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
  }
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

}  // namespace platform
