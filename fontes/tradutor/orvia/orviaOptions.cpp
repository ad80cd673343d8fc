// TIRLA: the orvia program's options, one table row each, and their mapping onto the engine.
#include "orvia/orviaOptions.h"

#include <algorithm>
#include <span>

#include "orvia/engine/uttsOrviaEngine.h"
#include "orvia/text/uttsPortugCase.h"
#include "orvia/text/uttsSsml.h"
#include "platform/codepage.h"
#include "platform/report.h"

namespace orviaCli {
namespace {

constexpr std::string_view kSeeHelp = " (orvia --help mostra as opções)";

void Say(const std::string& utf8) {
  platform::Report(platform::Severity::kError, platform::Utf8ToCp1252(utf8));
}

// One whole number within [lowest, highest] for `option`; false (said) otherwise.
bool Number(std::string_view option, std::string_view value, int lowest, int highest,
            std::string_view unit, int& target) {
  const std::optional<int> n = uttsPortug::ParseInteger(value);
  if (n && *n >= lowest && *n <= highest) {
    target = *n;
    return true;
  }
  Say(std::string(option) + " pede um número inteiro de " + std::to_string(lowest) + " a " +
      std::to_string(highest) + std::string(unit) + ", não \"" + std::string(value) + "\"" +
      std::string(kSeeHelp));
  return false;
}

bool Level(std::string_view option, std::string_view value, int lowest, int highest,
           std::optional<int>& target) {
  int level = 0;
  if (!Number(option, value, lowest, highest, "", level)) return false;
  target = level;
  return true;
}

using Setter = bool (*)(Options& o, std::string_view name, std::string_view value);

struct OptionRow {
  std::string_view name;
  bool takesValue;
  Setter set;
};

// name                 value  what it sets
constexpr OptionRow kOptions[] = {
    {"--help", false, [](Options& o, auto, auto) { return o.help = true; }},
    {"-h", false, [](Options& o, auto, auto) { return o.help = true; }},
    {"--version", false, [](Options& o, auto, auto) { return o.version = true; }},
    {"--vozes", false, [](Options& o, auto, auto) { return o.voices = true; }},
    {"--voices", false, [](Options& o, auto, auto) { return o.voices = true; }},
    {"--pho", false, [](Options& o, auto, auto) { return o.pho = true; }},
    {"-q", false, [](Options& o, auto, auto) { return o.quiet = true; }},
    {"-m", false, [](Options& o, auto, auto) { return o.ssml = true; }},
    {"--forca", false, [](Options& o, auto, auto) { return o.force = true; }},
    {"-x", false, [](Options& o, auto, auto) { return o.mnemonics = true; }},
    {"-X", false, [](Options& o, auto, auto) { return o.trace = true; }},
    {"--ipa", false, [](Options& o, auto, auto) { return o.ipa = true; }},
    {"--stdin", false, [](Options& o, auto, auto) { o.textFile = "-"; return true; }},
    {"--stdout", false, [](Options& o, auto, auto) { o.waveFile = "-"; return true; }},
    {"--punct", false, [](Options& o, auto, auto) { return o.punctuation = true; }},
    {"--dados", true, [](Options& o, auto, auto v) { o.dataFolder = v; return true; }},
    {"-d", true, [](Options& o, auto, auto v) { o.dataFolder = v; return true; }},
    {"-f", true, [](Options& o, auto, auto v) { o.textFile = v; return true; }},
    {"-w", true, [](Options& o, auto, auto v) { o.waveFile = v; return true; }},
    {"-v", true, [](Options& o, auto, auto v) { o.voice = v; return true; }},
    {"-s", true,
     [](Options& o, auto n, auto v) {
       return Number(n, v, kSlowestWpm, kFastestWpm, " (palavras por minuto)", o.wordsPerMinute);
     }},
    {"-p", true,
     [](Options& o, auto n, auto v) { return Number(n, v, kLowestPitch, kHighestPitch, "", o.pitch); }},
    {"-a", true,
     [](Options& o, auto n, auto v) { return Number(n, v, 0, kLoudestAmplitude, "", o.amplitude); }},
    {"-g", true,
     [](Options& o, auto n, auto v) {
       return Number(n, v, 0, kLongestWordGap, " (em centésimos de segundo)", o.wordGap);
     }},
    {"-k", true, [](Options& o, auto n, auto v) { return Number(n, v, 0, 100, "", o.capitals); }},
    {"-b", true,
     [](Options&, auto n, auto v) {
       // the text's code is found by looking at it: UTF-8, else Windows-1252
       int code = 0;
       return Number(n, v, 1, 2, " (1 UTF-8, 2 8 bits; UTF-16 não é lido)", code);
     }},
    {"--nivel-velocidade", true,
     [](Options& o, auto n, auto v) {
       return Level(n, v, uttsOrvia::kSlowestSpeed, uttsOrvia::kFastestSpeed, o.speedLevel);
     }},
    {"--nivel-tom", true,
     [](Options& o, auto n, auto v) {
       return Level(n, v, uttsOrvia::kLowestPitch, uttsOrvia::kHighestPitch, o.pitchLevel);
     }},
};

const OptionRow* Find(std::string_view name) {
  for (const OptionRow& row : kOptions)
    if (row.name == name) return &row;
  return nullptr;
}

// A point of a mapping: the option's value and its effect.
struct Point {
  int value;
  double effect;
};

// Measured with espeak-ng 1.51 (voice pt-br) on a paragraph of four sentences: the length of
// the sound for each -s, against -s 175 (espeak-ng -s N -w x.wav; soxi -D x.wav).
constexpr Point kDurations[] = {
    {80, 2.2102},  {100, 1.8429}, {120, 1.5168}, {140, 1.2756}, {160, 1.1032},
    {175, 1.0},    {200, 0.8655}, {225, 0.7593}, {250, 0.6830}, {275, 0.6133},
    {300, 0.5576}, {350, 0.4723}, {400, 0.4250}, {450, 0.3896},
};
// The mean of the pitch points espeak-ng gives MBROLA (voice mb-br4, --pho) for each -p,
// against -p 50.
constexpr Point kPitches[] = {
    {0, 0.6512}, {25, 0.7982}, {50, 1.0}, {75, 1.2886}, {99, 1.6757},
};
// The RMS level of the sound for each -a, against -a 100 (sox stat).
constexpr Point kLoudness[] = {
    {0, 0.0}, {10, 0.0777}, {50, 0.4869}, {100, 1.0}, {200, 1.8895},
};

double Along(std::span<const Point> table, int value) {
  if (value <= table.front().value) return table.front().effect;
  for (size_t i = 1; i < table.size(); ++i)
    if (value <= table[i].value) {
      const Point& a = table[i - 1];
      const Point& b = table[i];
      return a.effect + (b.effect - a.effect) * (value - a.value) / (b.value - a.value);
    }
  return table.back().effect;
}

constexpr double kNormalDuration = 0.8;    // ORVIA's duration factor at its normal speed
constexpr double kRisePerStep = 1.0 / 100; // -k 20 says a capitalised word 20% higher

}  // namespace

bool ParseArguments(int argc, const char* const* argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") {
      for (++i; i < argc; ++i) options.text.emplace_back(argv[i]);
      break;
    }
    const bool looksLikeOption = arg.size() > 1 && arg[0] == '-' && options.text.empty();
    if (!looksLikeOption) {
      options.text.emplace_back(arg);
      continue;
    }
    // "--punct=,." and "--dados=PASTA", "-s120" and "-k20": the value joined to the name
    std::string_view name = arg, joined;
    bool hasJoined = false;
    if (const size_t equals = arg.find('='); arg.starts_with("--") && equals != arg.npos) {
      name = arg.substr(0, equals);
      joined = arg.substr(equals + 1);
      hasJoined = true;
    } else if (!Find(arg) && !arg.starts_with("--") && arg.size() > 2) {
      name = arg.substr(0, 2);
      joined = arg.substr(2);
      hasJoined = true;
    }
    const OptionRow* row = Find(name);
    if (row && row->name == "--punct") {
      options.punctuation = true;
      options.punctuationSigns = std::string(joined);
      continue;
    }
    if (!row || (hasJoined && !row->takesValue)) {
      Say("opção desconhecida: " + std::string(arg) + std::string(kSeeHelp));
      return false;
    }
    std::string_view value = joined;
    if (row->takesValue && !hasJoined) {
      if (i + 1 >= argc) {
        Say("falta um valor depois de " + std::string(arg) + std::string(kSeeHelp));
        return false;
      }
      value = argv[++i];
    }
    if (!row->set(options, name, value)) return false;
  }
  return true;
}

double DurationFactorForWpm(int wordsPerMinute) {
  return kNormalDuration * Along(kDurations, wordsPerMinute);
}
double PitchFactorFor(int pitch) { return Along(kPitches, pitch); }
double VolumeRatioFor(int amplitude) { return Along(kLoudness, amplitude); }

EngineSettings SettingsFor(const Options& options) {
  EngineSettings s;
  s.durationFactor = options.speedLevel ? uttsOrvia::DurationFactorFor(*options.speedLevel)
                                        : DurationFactorForWpm(options.wordsPerMinute);
  s.pitchFactor = options.pitchLevel ? uttsOrvia::PitchFactorFor(*options.pitchLevel)
                                     : PitchFactorFor(options.pitch);
  s.volumeRatio = VolumeRatioFor(options.amplitude);
  s.wordGapMs = options.wordGap * 10;
  s.capitals = options.capitals == 0   ? Capitals::kNone
               : options.capitals <= 2 ? Capitals::kWord
                                       : Capitals::kPitchRise;
  if (s.capitals == Capitals::kPitchRise) s.capitalPitchFactor = 1 + options.capitals * kRisePerStep;
  if (options.punctuation && options.punctuationSigns.empty())
    s.punctuation = uttsPreproc::Punctuation::kAll;
  s.namedSigns = platform::Utf8ToCp1252(options.punctuationSigns);
  return s;
}

TextKind KindOf(std::string_view firstBytes) {
  const std::string_view head = firstBytes.substr(0, kSniffBytes);
  size_t controls = 0;
  for (unsigned char c : head) {
    if (c == 0) return TextKind::kBinary;
    // tabs, line and page ends are text; other controls are what a program's bytes hold
    const bool layout = c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
    if ((c < ' ' && !layout) || c == 0x7F) ++controls;
  }
  if (!head.empty() && controls > kMostlyControls * head.size()) return TextKind::kBinary;
  return uttsSsml::LooksLikeSsml(head) ? TextKind::kSsml : TextKind::kPlain;
}

}  // namespace orviaCli
