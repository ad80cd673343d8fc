// TIRLA: the orvia program's command line: its options (eSpeak NG's where they mean the same),
// what each one asks of the engine, and the look of the text it is given.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvia/text/uttsPreproc.h"

namespace orviaCli {

// espeak-ng's ranges and normal values.
constexpr int kSlowestWpm = 80, kNormalWpm = 175, kFastestWpm = 450;
constexpr int kLowestPitch = 0, kNormalPitch = 50, kHighestPitch = 99;
constexpr int kNormalAmplitude = 100, kLoudestAmplitude = 200;
constexpr int kLongestWordGap = 500;  // -g, in 10 ms: five seconds between words at most

struct Options {
  bool help = false;             // --help
  bool pho = false;              // --pho: print the MBROLA lines instead of speaking
  bool quiet = false;            // -q: no sound device
  bool version = false;          // --version
  bool voices = false;           // --vozes
  bool ssml = false;             // -m: the text is SSML (also when it opens with <speak>)
  bool force = false;            // --forca: speak a text that looks like no text
  bool mnemonics = false;        // -x: phoneme names on standard output
  bool trace = false;            // -X: each word with its phonemes on standard output
  bool ipa = false;              // --ipa: IPA transcription on standard output
  std::string dataFolder;        // empty: [ORVIATTS] DIR, else the shared data folder
  std::string textFile;          // -f: read the text from this file ("-": standard input)
  std::string waveFile;          // -w: write the sound here instead of playing it ("-": stdout)
  std::string voice;             // -v: MBROLA voice id or path; empty: [ORVIATTS] MBROLA_DB
  int wordsPerMinute = kNormalWpm;
  std::optional<int> speedLevel; // --nivel-velocidade: ORVIA's own level, before -s
  int pitch = kNormalPitch;
  std::optional<int> pitchLevel; // --nivel-tom: ORVIA's own level, before -p
  int amplitude = kNormalAmplitude;
  int wordGap = 0;               // -g, in 10 ms
  int capitals = 0;              // -k: 0 nothing, 1 or 2 the word, more a pitch rise
  bool punctuation = false;      // --punct given
  std::string punctuationSigns;  // --punct=SIGNS (UTF-8); empty: every sign
  std::vector<std::string> text; // words of the text, UTF-8
};

// Reads the arguments; false, with a Portuguese message that points at --help, on a bad one.
bool ParseArguments(int argc, const char* const* argv, Options& options);

// How capital letters are told.
enum class Capitals : int { kNone, kWord, kPitchRise };

// What the options ask of the engine and of the lines it makes.
struct EngineSettings {
  double durationFactor = 0.8;  // ORVIA's factor (0.8 its normal speed)
  double pitchFactor = 1.0;
  double volumeRatio = 1.0;     // MBROLA's loudness factor
  int wordGapMs = 0;            // silence put between two words
  Capitals capitals = Capitals::kNone;
  double capitalPitchFactor = 1.0;  // kPitchRise: a word with a capital is said this much higher
  uttsPreproc::Punctuation punctuation = uttsPreproc::Punctuation::kMost;
  std::string namedSigns;       // cp1252 signs read by name besides what the mode reads
};
EngineSettings SettingsFor(const Options& options);

// The mappings, each a table of espeak-ng's measured effect with straight lines between:
// durations relative to 175 words per minute, pitch relative to 50, loudness relative to 100.
// The values given are within range (ParseArguments keeps them so).
double DurationFactorForWpm(int wordsPerMinute);
double PitchFactorFor(int pitch);
double VolumeRatioFor(int amplitude);

// What the first bytes of a text look like.
enum class TextKind : int { kPlain, kSsml, kBinary };
// Bytes looked at, and the share of control bytes beyond which a text is no text.
constexpr size_t kSniffBytes = 4096;
constexpr double kMostlyControls = 0.10;
TextKind KindOf(std::string_view firstBytes);

}  // namespace orviaCli
