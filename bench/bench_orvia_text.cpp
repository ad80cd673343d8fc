// TIRLA: speed of ORVIA's text stages on the whole fortunes-br text, side by side with
// `espeak-ng -v mb-br4 -q --pho` on the same text (the target is at least ten times faster).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "orvia/text/uttsPortugStages.h"
#include "platform/codepage.h"

namespace {

constexpr const char* kFortunes = "/usr/share/games/fortunes/brasil";

std::string ReadAll(const char* path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Loads the data files afresh, so that no word is remembered from an earlier pass.
bool LoadData() {
  uttsPortug::StartTextStages();
  std::string folder = std::string(TIRLA_SOURCE_DIR) + "/data/orvia";
  return uttsPortug::LoadTextData(uttsPortug::DataFilesIn(folder)).empty();
}

void OrviaTextStages(benchmark::State& state) {
  std::string text = platform::Utf8ToCp1252(ReadAll(kFortunes));
  if (text.empty() || !LoadData()) {
    state.SkipWithError("fortunes-br or the ORVIA data files are missing");
    return;
  }
  size_t lines = 0;
  for (auto _ : state) {
    state.PauseTiming();
    LoadData();
    state.ResumeTiming();
    auto out = uttsPortug::TextToMbrolaLines(text, 1.0, 1.0);
    lines = out.size();
    benchmark::DoNotOptimize(out);
  }
  state.counters["lines"] = static_cast<double>(lines);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(OrviaTextStages)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void EspeakPho(benchmark::State& state) {
  std::string command = std::string("espeak-ng -v mb-br4 -q --pho -f ") + kFortunes + " > /dev/null 2>&1";
  if (std::system("command -v espeak-ng > /dev/null 2>&1") != 0) {
    state.SkipWithError("espeak-ng is not installed");
    return;
  }
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("espeak-ng failed");
      return;
    }
  }
}
BENCHMARK(EspeakPho)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
