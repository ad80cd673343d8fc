// TIRLA: speed of ORVIA's text preprocessing over the fortunes-br text and long lines.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "orvia/text/uttsPreproc.h"
#include "platform/codepage.h"

namespace {

constexpr const char* kFortunes = "/usr/share/games/fortunes/brasil";

std::string FortunesText() {
  std::ifstream file(kFortunes, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return platform::Utf8ToCp1252(content.str());
}

void LoadShippedAbbreviations() {
  uttsPreproc::StartPreproc();
  uttsPreproc::LoadAbbreviations(std::string(TIRLA_SOURCE_DIR) + "/data/orvia/portug.abr");
}

// The whole fortunes-br text, one fortune (between "%" lines) per call, as ORVIA gets it.
void BM_PreprocessFortunes(benchmark::State& state) {
  LoadShippedAbbreviations();
  const std::string text = FortunesText();
  if (text.empty()) {
    state.SkipWithError("fortunes-br not installed");
    return;
  }
  std::vector<std::string> fortunes;
  std::istringstream lines(text);
  std::string line, fortune;
  while (std::getline(lines, line)) {
    if (line == "%") {
      fortunes.push_back(fortune);
      fortune.clear();
    } else {
      fortune += line + "\n";
    }
  }
  for (auto _ : state)
    for (const std::string& one : fortunes) benchmark::DoNotOptimize(uttsPreproc::PreprocessText(one));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PreprocessFortunes)->Unit(benchmark::kMillisecond);

// One line of n characters of digits, or of mixed text, to show linear time.
void BM_PreprocessLongLine(benchmark::State& state) {
  LoadShippedAbbreviations();
  const std::string unit = state.range(1) == 0 ? "1234567890" : "Sr. Silva, 1.500 km - BR! ";
  std::string line;
  while (line.size() < static_cast<std::size_t>(state.range(0))) line += unit;
  for (auto _ : state) benchmark::DoNotOptimize(uttsPreproc::PreprocessText(line));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PreprocessLongLine)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
