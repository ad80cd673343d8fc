// TIRLA: sound icon files and the tone.
#include "speechd/icons.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>

namespace sdOrvia {
namespace {

constexpr double kToneHertz = 1200;
constexpr double kToneSeconds = 0.06;
constexpr double kFadeSeconds = 0.01;  // no click at either end
constexpr double kToneLevel = 8000;

}  // namespace

std::string IconFile(std::string_view folder, std::string_view name) {
  if (name.empty() || name.starts_with('.') || name.find('/') != std::string_view::npos ||
      name.find('\0') != std::string_view::npos)
    return {};
  const std::filesystem::path path = std::filesystem::path(folder) / std::string(name);
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) ? path.string() : std::string();
}

std::vector<int16_t> Tone(int rate) {
  const size_t count = static_cast<size_t>(rate * kToneSeconds);
  const double fade = rate * kFadeSeconds;
  std::vector<int16_t> samples(count);
  for (size_t i = 0; i < count; ++i) {
    const double edge = std::min({1.0, i / fade, (count - 1 - i) / fade});
    samples[i] = static_cast<int16_t>(kToneLevel * edge *
                                      std::sin(2 * std::numbers::pi * kToneHertz * i / rate));
  }
  return samples;
}

}  // namespace sdOrvia
