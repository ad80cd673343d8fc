// TIRLA: SET parameters, one table row per name, and their mapping onto ORVIA.
#include "speechd/voiceSettings.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

#include "platform/codepage.h"
#include "platform/report.h"
#include "platform/text.h"

namespace sdOrvia {
namespace {

constexpr int kLowest = -100, kHighest = 100;
constexpr double kNormalDuration = 0.8;  // ORVIA's duration factor at its normal speed
constexpr double kFastest = 3.0;         // how many times faster rate 100 speaks
constexpr double kSlowest = 2.0;         // how many times slower rate -100 speaks
constexpr double kPitchSpan = 0.7;       // octaves from pitch 0 to pitch ±100
constexpr std::string_view kUnset = "NULL";

std::optional<int> Level(std::string_view value) {
  const std::optional<int32_t> n = platform::ParseInt(value, platform::kSpaceTab);
  if (!n || *n < kLowest || *n > kHighest) return std::nullopt;
  return *n;
}

// One word of a closed set: its index, or nothing.
template <size_t N>
std::optional<int> OneOf(std::string_view value, const std::string_view (&words)[N]) {
  for (size_t i = 0; i < N; ++i)
    if (value == words[i]) return static_cast<int>(i);
  return std::nullopt;
}

constexpr std::string_view kPunctuationWords[] = {"none", "some", "most", "all"};
constexpr std::string_view kOnOff[] = {"off", "on"};
constexpr std::string_view kCapitalWords[] = {"none", "spell", "icon"};
constexpr std::string_view kVoiceTypes[] = {"male1",   "male2",   "male3",      "female1",
                                            "female2", "female3", "child_male", "child_female"};

using Setter = bool (*)(VoiceSettings& s, std::string_view value);

bool SetLevel(int& target, std::string_view value) {
  const std::optional<int> n = Level(value);
  if (n) target = *n;
  return n.has_value();
}

bool SetText(std::string& target, std::string_view value) {
  target = value == kUnset ? std::string() : std::string(value);
  return true;
}

struct Parameter {
  std::string_view name;
  Setter set;
};

constexpr Parameter kParameters[] = {
    {"rate", [](VoiceSettings& s, std::string_view v) { return SetLevel(s.rate, v); }},
    {"pitch", [](VoiceSettings& s, std::string_view v) { return SetLevel(s.pitch, v); }},
    {"pitch_range", [](VoiceSettings& s, std::string_view v) { return SetLevel(s.pitchRange, v); }},
    {"volume", [](VoiceSettings& s, std::string_view v) { return SetLevel(s.volume, v); }},
    {"punctuation_mode",
     [](VoiceSettings& s, std::string_view v) {
       const std::optional<int> i = OneOf(v, kPunctuationWords);
       if (i) s.punctuation = static_cast<uttsPreproc::Punctuation>(*i);
       return i.has_value();
     }},
    {"spelling_mode",
     [](VoiceSettings& s, std::string_view v) {
       const std::optional<int> i = OneOf(v, kOnOff);
       if (i) s.spelling = *i == 1;
       return i.has_value();
     }},
    {"cap_let_recogn",
     [](VoiceSettings& s, std::string_view v) {
       const std::optional<int> i = OneOf(v, kCapitalWords);
       if (i) s.capitals = static_cast<Capitals>(*i);
       return i.has_value();
     }},
    {"voice",
     [](VoiceSettings& s, std::string_view v) {
       if (v != kUnset && !OneOf(v, kVoiceTypes)) return false;
       return SetText(s.voiceType, v);
     }},
    {"language", [](VoiceSettings& s, std::string_view v) { return SetText(s.language, v); }},
    {"synthesis_voice", [](VoiceSettings& s, std::string_view v) { return SetText(s.voice, v); }},
};

}  // namespace

SetResult ApplySettings(VoiceSettings& settings, const std::vector<std::string>& lines,
                        std::string& problem) {
  VoiceSettings changed = settings;
  for (const std::string& line : lines) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
      problem = "linha sem '=': " + line;
      return SetResult::kBadSyntax;
    }
    const std::string_view name = std::string_view(line).substr(0, equals);
    const std::string_view value = std::string_view(line).substr(equals + 1);
    const Parameter* parameter = nullptr;
    for (const Parameter& p : kParameters)
      if (p.name == name) parameter = &p;
    if (!parameter) {  // the server drops a message whose SET fails: better ignore the name
      platform::Report(platform::Severity::kNote,
                       platform::Utf8ToCp1252("parâmetro desconhecido ignorado: ") +
                           std::string(name));
      continue;
    }
    if (!parameter->set(changed, value)) {
      problem = "valor inválido: " + line;
      return SetResult::kBadValue;
    }
  }
  settings = changed;
  return SetResult::kOk;
}

double DurationFactorFor(int rate) {
  const double r = std::clamp(rate, kLowest, kHighest) / 100.0;
  return kNormalDuration * std::pow(r >= 0 ? kFastest : kSlowest, -r);
}

double PitchFactorFor(int pitch) {
  return std::pow(2.0, kPitchSpan * std::clamp(pitch, kLowest, kHighest) / 100.0);
}

double GainFor(int volume) { return (std::clamp(volume, kLowest, kHighest) + 100) / 200.0; }

}  // namespace sdOrvia
