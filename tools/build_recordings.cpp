// TIRLA: builds the recorded sounds of the letters folder from the manifest: each text is
// spoken by the project's ORVIA engine through MBROLA, trimmed of its silences, levelled and
// converted to 8-bit unsigned mono at 11025 samples per second; telephone tones are made
// from their two frequencies. The loudness is the units': a letter spelled among words
// sounds as loud as they do.
//   build_recordings --manifest FILE --orvia DIR --output DIR --units DIR/DIFONESn [--voice br4]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "orvia/engine/uttsOrvia.h"
#include "orvia/engine/uttsOrviaEngine.h"
#include "orvia/text/uttsPortugStages.h"
#include "orvia/text/uttsPreprocParts.h"
#include "platform/folders.h"
#include "recordings.h"
#include "sound_tools.h"
#include "unit_files.h"

namespace {

constexpr int kSoundRate = 11025;
constexpr float kSilenceOfPeak = 0.02f;  // the sound starts and ends where it passes this
constexpr size_t kMarginMs = 10;         // kept before and after the sound
constexpr float kHighestPeak = 0.98f;
constexpr size_t kShortestUnit = 400;    // units that hold a vowel and this many samples set the loudness
constexpr double kShortestSeconds = 0.25;  // shorter sounds (one-letter names) are said slower
constexpr double kMostSlowing = 3.0;
constexpr int kToneMs = 150;             // a telephone tone
constexpr int kToneRampMs = 5;
constexpr float kToneAmplitude = 0.42f;  // of each of the two sines

struct Options {
  std::string manifest, orvia, output, units, voice = "br4";
};

[[noreturn]] void Fail(const std::string& message) {
  fprintf(stderr, "build_recordings: %s\n", message.c_str());
  exit(1);
}

std::vector<int16_t> spoken;  // the samples of the text being spoken

bool Keep(void*, const int16_t* samples, size_t count, int) {
  spoken.insert(spoken.end(), samples, samples + count);
  return true;
}

std::string CharNameOf(int code) { return uttsPreproc::CharName(static_cast<unsigned char>(code)); }

// The loudness of the diphone units: the median over those that hold a vowel (a unit name's
// capital vowel), measured as the recordings are.
float UnitLoudness(const std::string& base) {
  unitfiles::Units units;
  std::string error;
  if (!unitfiles::ReadUnitFiles(base, units, error)) Fail(error);
  std::vector<float> loudness;
  for (const auto& [name, samples] : units)
    if (samples.size() >= kShortestUnit && name.find_first_of("AEIOU", 1) != std::string::npos)
      loudness.push_back(soundtools::LoudRms(soundtools::FromUnsigned8(samples)));
  if (loudness.empty()) Fail("nenhuma vogal entre as unidades de " + base);
  std::nth_element(loudness.begin(), loudness.begin() + static_cast<long>(loudness.size() / 2), loudness.end());
  return loudness[loudness.size() / 2];
}

struct Levels {
  float target = 0;  // the loudness every recording is brought to
  int limited = 0;   // recordings whose peak kept them below it
};

// The sound of `text` at `durationFactor`, without its leading and trailing silence.
soundtools::Signal SpeakTrimmed(const std::string& text, double durationFactor) {
  spoken.clear();
  uttsOrvia::OrviaSetFactors(durationFactor, uttsOrvia::PitchFactorFor(0));
  if (!uttsOrvia::OrviaSpeak(text)) Fail("o ORVIA falhou em: " + text + " (" + uttsOrvia::OrviaEngineError() + ")");
  soundtools::Signal s = soundtools::FromInt16(spoken.data(), spoken.size());
  const float floor = kSilenceOfPeak * soundtools::Peak(s);
  const size_t margin = kMarginMs * uttsOrvia::OrviaRate() / 1000, window = margin / 2;
  const size_t start = soundtools::SoundStart(s, floor, window);
  const size_t end = soundtools::SoundEnd(s, floor, window);
  if (start >= end) Fail("o ORVIA não disse nada para: " + text);
  const size_t from = soundtools::NearestZeroCrossing(s, start > margin ? start - margin : 0, margin / 2);
  const size_t to = soundtools::NearestZeroCrossing(s, std::min(s.size(), end + margin), margin / 2);
  s = soundtools::Signal(s.begin() + static_cast<long>(from), s.begin() + static_cast<long>(std::max(from, to)));
  soundtools::Fade(s, margin, margin);
  return s;
}

std::vector<uint8_t> Speak(const std::string& text, const soundtools::Resampler& resampler, Levels& levels) {
  // ORVIA says short words unstressed: a letter's name alone would pass unheard.
  const double normal = uttsOrvia::DurationFactorFor(0);
  soundtools::Signal s = SpeakTrimmed(text, normal);
  const double seconds = static_cast<double>(s.size()) / uttsOrvia::OrviaRate();
  if (seconds < kShortestSeconds)
    s = SpeakTrimmed(text, normal * std::min(kMostSlowing, kShortestSeconds / seconds));
  s = resampler.Run(s);
  const float rms = soundtools::LoudRms(s), peak = soundtools::Peak(s);
  const float wanted = rms > 0 ? levels.target / rms : 1.0f, highest = peak > 0 ? kHighestPeak / peak : 1.0f;
  if (highest < wanted) ++levels.limited;
  return soundtools::ToUnsigned8(s, std::min(wanted, highest));
}

std::vector<uint8_t> Tone(int lowHz, int highHz) {
  const size_t n = static_cast<size_t>(kToneMs * kSoundRate / 1000);
  soundtools::Signal s(n);
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kSoundRate;
    s[i] = static_cast<float>(kToneAmplitude * (std::sin(2 * M_PI * lowHz * t) + std::sin(2 * M_PI * highHz * t)));
  }
  const size_t ramp = static_cast<size_t>(kToneRampMs * kSoundRate / 1000);
  soundtools::Fade(s, ramp, ramp);
  return soundtools::ToUnsigned8(s, 1.0f);
}

Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string arg = argv[i], value = argv[i + 1];
    if (arg == "--manifest") o.manifest = value;
    else if (arg == "--orvia") o.orvia = value;
    else if (arg == "--output") o.output = value;
    else if (arg == "--voice") o.voice = value;
    else if (arg == "--units") o.units = value;
    else Fail("opção desconhecida: " + arg);
  }
  if (o.manifest.empty() || o.orvia.empty() || o.output.empty() || o.units.empty() || argc % 2 == 0)
    Fail("uso: build_recordings --manifest ARQUIVO --orvia PASTA --output PASTA "
         "--units PASTA/DIFONESn [--voice br4]");
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = ParseOptions(argc, argv);
  const auto start = std::chrono::steady_clock::now();
  std::vector<recordings::Recording> list;
  std::string error;
  if (!recordings::ReadManifest(o.manifest, CharNameOf, list, error)) Fail(error);

  uttsOrvia::StartOrvia();
  const uttsPortug::TextDataFiles files = uttsPortug::DataFilesIn(o.orvia);
  if (!uttsOrvia::OrviaStart(o.voice, files.rules, files.exceptions, files.abbreviations, files.prosody,
                             files.diphones))
    Fail("o ORVIA não iniciou: " + uttsOrvia::OrviaLastError() + uttsOrvia::OrviaEngineError());
  uttsOrvia::OrviaSetOutput({.sink = {.context = nullptr, .Samples = Keep}});

  Levels levels{.target = UnitLoudness(o.units)};
  const soundtools::Resampler resampler(uttsOrvia::OrviaRate(), kSoundRate);
  size_t bytes = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    const recordings::Recording& r = list[i];
    const std::vector<uint8_t> samples =
        r.pauseMs > 0 ? std::vector<uint8_t>(static_cast<size_t>(r.pauseMs * kSoundRate / 1000), 128)
        : r.text.empty() ? Tone(r.lowHz, r.highHz)
                         : Speak(r.text, resampler, levels);
    if (!soundtools::WriteWav8(platform::JoinPath(o.output, r.name + ".wav"), kSoundRate, samples))
      Fail("não foi possível escrever " + r.name + ".wav em " + o.output);
    bytes += samples.size();
    if ((i + 1) % 100 == 0) printf("gravações: %zu/%zu\n", i + 1, list.size()), fflush(stdout);
  }
  uttsOrvia::OrviaClose();
  printf("gravações: %zu arquivos, %zu bytes de som (%.1f s), no nível dos difones (%.1f dB; "
         "%d abaixo dele pelo pico); %.1f s\n", list.size(), bytes, bytes / static_cast<double>(kSoundRate),
         20 * std::log10(levels.target), levels.limited,
         std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  return 0;
}
