// TIRLA: speed of the diphone synthesizer on the whole fortunes-br text (phonetic text to
// samples, with the database built in the build tree), and how the unit look-ups end: the
// report counts those that fell to noise or to silence, by name.
//   build/bin/bench_synth     (prints the real-time factor and the counts at the end)
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "diphone/synth.h"
#include "diphone/translator.h"
#include "platform/codepage.h"

namespace {

constexpr const char* kFortunes = "/usr/share/games/fortunes/brasil";
constexpr const char* kLevel = "DIFONES3";  // the middle speed

struct Measure {
  double seconds = 0;            // synthesis time of all passes
  uint64_t samples = 0;          // samples made in them
  std::map<std::string, int> noise, dropped;  // missed names of one pass, and how often
  bool counting = false;         // only the first pass counts
} measure;

void CountSamples(const uint8_t*, size_t size) { measure.samples += size - synth::kHeaderSize; }

void NoteMissed(void*, std::string_view name, synth::UnitOutcome outcome) {
  if (!measure.counting) return;
  auto& table = outcome == synth::UnitOutcome::kNoise ? measure.noise : measure.dropped;
  ++table[std::string(name)];
}

std::vector<std::string> PhoneticLines() {
  std::ifstream in(kFortunes, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(translator::TranslateToPhonetic(platform::Utf8ToCp1252(line)));
  return lines;
}

void BM_SynthFortunes(benchmark::State& state) {
  synth::StartSynth();
  synth::SetUnitBaseName(kLevel);
  synth::SetSoundHooks({.MakeWaveHeader = nullptr, .PlayWaveBuffer = CountSamples, .IsSpeaking = nullptr});
  synth::SetUnitObserver({.context = nullptr, .Collect = nullptr, .Missed = NoteMissed});
  if (synth::InitDiphoneSynth() != synth::kStarted) {
    state.SkipWithError("the unit database is not built (build the tirla_sounds target)");
    return;
  }
  const std::vector<std::string> lines = PhoneticLines();
  if (lines.empty()) {
    state.SkipWithError("fortunes-br is not installed");
    return;
  }
  measure.counting = measure.seconds == 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& line : lines) synth::SpeakPhonetic(line, false);
    measure.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    measure.counting = false;
  }
  state.counters["x_real_time"] = measure.samples / double(synth::kSampleRate) / measure.seconds;
  synth::CloseDiphoneSynth();
}
BENCHMARK(BM_SynthFortunes)->Unit(benchmark::kMillisecond)->UseRealTime();

void PrintTable(const char* title, const std::map<std::string, int>& table) {
  int letters = 0, sounds = 0;
  for (const auto& [name, count] : table) (name.starts_with('$') ? letters : sounds) += count;
  printf("%s: %d of word units, %d of recorded sounds\n", title, letters, sounds);
  for (const auto& [name, count] : table) printf("  %s x%d\n", name.c_str(), count);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  if (measure.seconds > 0) {
    printf("\nsynthesis of fortunes-br (%s): %.1f s of sound in %.3f s: %.0f times faster than real time (goal: 5000)\n",
           kLevel, measure.samples / double(synth::kSampleRate), measure.seconds,
           measure.samples / double(synth::kSampleRate) / measure.seconds);
    PrintTable("look-ups ending in noise", measure.noise);
    PrintTable("look-ups ending in silence (dropped)", measure.dropped);
  }
  benchmark::Shutdown();
  return 0;
}
