// TIRLA: speed of ORVIA speaking through MBROLA: the whole fortunes-br text to a WAV file by
// the orvia program, side by side with `espeak-ng -v mb-br4 -w` on the same text (target: no
// slower), and the time from OrviaSpeak to the first block handed to the wave output for one
// sentence (target: at most 20 ms).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "orvia/engine/uttsOrvia.h"
#include "orvia/text/uttsPortugStages.h"
#include "platform/codepage.h"

namespace {

constexpr const char* kFortunes = "/usr/share/games/fortunes/brasil";
constexpr const char* kVoice = "/usr/share/mbrola/br4/br4";

using Clock = std::chrono::steady_clock;

std::string Scratch(const char* name) {
  return "/tmp/tirla-bench-" + std::to_string(getpid()) + "-" + name;
}

// Runs a command once per iteration; the WAV it wrote is removed afterwards.
void TimeCommand(benchmark::State& state, const std::string& command, const std::string& wav) {
  if (access(kFortunes, R_OK) != 0 || access(kVoice, R_OK) != 0) {
    state.SkipWithError("fortunes-br or the br4 voice is missing");
    return;
  }
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError(("failed: " + command).c_str());
      break;
    }
  }
  std::remove(wav.c_str());
}

void OrviaFortunesToWav(benchmark::State& state) {
  const std::string wav = Scratch("orvia.wav");
  TimeCommand(state,
              std::string(TIRLA_BUILD_DIR) + "/bin/orvia -f " + kFortunes + " -w " + wav +
                  " 2> /dev/null",
              wav);
}
BENCHMARK(OrviaFortunesToWav)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void EspeakFortunesToWav(benchmark::State& state) {
  if (std::system("command -v espeak-ng > /dev/null 2>&1") != 0) {
    state.SkipWithError("espeak-ng is not installed");
    return;
  }
  const std::string wav = Scratch("espeak.wav");
  TimeCommand(state,
              std::string("espeak-ng -v mb-br4 -f ") + kFortunes + " -w " + wav + " 2> /dev/null",
              wav);
}
BENCHMARK(EspeakFortunesToWav)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

Clock::time_point firstBlock;
bool blockSeen = false;

bool NoteFirstBlock(void*, const int16_t*, size_t, int) {
  if (!blockSeen) firstBlock = Clock::now();
  blockSeen = true;
  return true;
}

void OrviaFirstBlockLatency(benchmark::State& state) {
  const std::string data = std::string(TIRLA_SOURCE_DIR) + "/data/orvia";
  const uttsPortug::TextDataFiles files = uttsPortug::DataFilesIn(data);
  uttsOrvia::StartOrvia();
  if (access(kVoice, R_OK) != 0 ||
      !uttsOrvia::OrviaStart(kVoice, files.rules, files.exceptions, files.abbreviations,
                             files.prosody, files.diphones)) {
    state.SkipWithError("the engine does not start (mbrola, br4 or the data files missing)");
    return;
  }
  uttsOrvia::OrviaSetFactors(0.8, 1.0);
  uttsOrvia::OrviaSetOutput({.sink = {.context = nullptr, .Samples = NoteFirstBlock}});
  const std::string sentence = platform::Utf8ToCp1252("Bom dia, tudo bem? Hoje o tempo está bom.");
  for (auto _ : state) {
    blockSeen = false;
    const Clock::time_point start = Clock::now();
    uttsOrvia::OrviaSpeak(sentence);
    const auto latency = std::chrono::duration<double>(firstBlock - start).count();
    state.SetIterationTime(blockSeen ? latency : 1.0);
  }
  uttsOrvia::OrviaSetOutput({});
  uttsOrvia::OrviaClose();
}
BENCHMARK(OrviaFirstBlockLatency)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
