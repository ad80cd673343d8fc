// TIRLA: speed of the diphone translator against espeak-ng's phoneme output, on the whole
// fortunes-br collection, both measured in the same run.
//   build-translator/bench/bench_translator      (prints the speed ratio at the end)
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "diphone/translator.h"
#include "platform/codepage.h"

namespace {

constexpr const char* kFortunes = "/usr/share/games/fortunes/brasil";

struct Timing {
  double seconds = 0;  // wall time of all iterations
  long runs = 0;       // iterations measured
  double PerRun() const { return runs ? seconds / runs : 0; }
};
Timing translator_timing;
Timing espeak_timing;

std::vector<std::string> ReadLines(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

void BM_TranslatorFortunes(benchmark::State& state) {
  const std::vector<std::string> lines = ReadLines(kFortunes);
  if (lines.empty()) {
    state.SkipWithError("fortunes-br is not installed");
    return;
  }
  translator::StartTranslator();
  if (!translator::LoadTranslatorFiles(std::string(TIRLA_SOURCE_DIR) + "/data/diphone")) {
    state.SkipWithError("rules not found");
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    std::size_t out = 0;
    for (const auto& line : lines) {
      out += platform::Cp1252ToUtf8(translator::TranslateToPhonetic(platform::Utf8ToCp1252(line))).size();
      bytes += line.size();
    }
    benchmark::DoNotOptimize(out);
    translator_timing.seconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ++translator_timing.runs;
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_TranslatorFortunes)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EspeakPhonemesFortunes(benchmark::State& state) {
  if (ReadLines(kFortunes).empty()) {
    state.SkipWithError("fortunes-br is not installed");
    return;
  }
  const std::string command = std::string("espeak-ng -v pt-br -q -x -f ") + kFortunes;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
      state.SkipWithError("espeak-ng cannot be started");
      return;
    }
    char buffer[65536];
    std::size_t out = 0;
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out += n;
    if (pclose(pipe) != 0 || out == 0) {
      state.SkipWithError("espeak-ng failed");
      return;
    }
    espeak_timing.seconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ++espeak_timing.runs;
  }
}
BENCHMARK(BM_EspeakPhonemesFortunes)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (translator_timing.runs && espeak_timing.runs) {
    std::printf("fortunes-br: translator %.2f ms, espeak-ng -x %.1f ms per pass: %.0f times faster\n",
                translator_timing.PerRun() * 1000, espeak_timing.PerRun() * 1000,
                espeak_timing.PerRun() / translator_timing.PerRun());
  }
  return 0;
}
