// TIRLA: the range of every number key of TOLVAN.INI. A value outside its range is reported and
// the key's default used, so no setting can make a buffer, a pause or a window grow without end.
#include <strings.h>

#include <cctype>

#include "platform/profile.h"

namespace platform {
namespace {

// Sample counts are at 11025 per second: one second of silence or cut is the most that makes
// sense for one word or one unit.
constexpr int64_t kOneSecondOfSamples = 11025;
constexpr int64_t kLongestPauseMs = 5000;

// A key name against a row's name, where a trailing '#' stands for one digit.
bool KeyMatches(const char* pattern, std::string_view key) {
  const std::string_view name(pattern);
  if (!name.empty() && name.back() == '#') {
    const std::string_view stem = name.substr(0, name.size() - 1);
    return key.size() == name.size() && strncasecmp(key.data(), stem.data(), stem.size()) == 0 &&
           std::isdigit(static_cast<unsigned char>(key.back()));
  }
  return key.size() == name.size() && strncasecmp(key.data(), name.data(), name.size()) == 0;
}

}  // namespace

const std::vector<NumberRange>& NumberRanges() {
  static const std::vector<NumberRange> ranges = {
      // section        key                 lowest  highest
      {"VIDEO",         "CORFUNDO",         0,      15},
      {"VIDEO",         "CORLETRA",         0,      15},
      {"VIDEO",         "TABCORES",         0,      255},  // each entry
      {"VIDEO",         "AMPLIF",           0,      7},
      {"VIDEO",         "LARGURALETRA",     0,      512},  // the sign is ignored
      {"VIDEO",         "ALTURALETRA",      0,      512},
      {"VIDEO",         "PESOLETRA",        0,      1000},
      {"BRAILLE",       "MODO",             0,      3},
      {"BRAILLE",       "LINHA",            0,      2},
      {"TRADUTOR",      "VELOCIDADE",       1,      5},
      {"SINTETIZADOR",  "CORTEFON#",        0,      kOneSecondOfSamples},
      {"SINTETIZADOR",  "SOBRAFON#",        0,      kOneSecondOfSamples},
      {"SINTETIZADOR",  "INTERPAL#",        0,      kOneSecondOfSamples},
      {"SINTETIZADOR",  "PAUSAPONTO#",      0,      kLongestPauseMs},
      {"SINTETIZADOR",  "PAUSAVIRG#",       0,      kLongestPauseMs},
      {"SINTETIZADOR",  "PAUSADOISPONTOS#", 0,      kLongestPauseMs},
      {"ROREVAZO",      "TIPOSAPI",         0,      99},
      {"ROREVAZO",      "VOZ",              0,      9999},
      {"ROREVAZO",      "VELOCIDADE",       -10,    450},  // levels, or words per minute
      {"ROREVAZO",      "TOM",              0,      1000},  // hertz
  };
  return ranges;
}

const NumberRange* FindNumberRange(std::string_view section, std::string_view key) {
  for (const NumberRange& range : NumberRanges())
    if (section.size() == std::string_view(range.section).size() &&
        strncasecmp(section.data(), range.section, section.size()) == 0 &&
        KeyMatches(range.key, key))
      return &range;
  return nullptr;
}

}  // namespace platform
