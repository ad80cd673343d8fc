// TIRLA fuzz target: any text through ORVIA's stages (preprocessing, tokens, patterns,
// phonemes, prosody) to the lines written to MBROLA, at the speeds and pitches the engine
// allows. Text must never reach MBROLA as a command or as a line break inside a line.
#include <algorithm>

#include "orvia/engine/uttsOrviaEngine.h"
#include "orvia_fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::QuietReports();
  fuzz::LoadOrviaData();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // the first byte picks the speed and pitch levels, the rest is the text
  const int level = size > 0 ? data[0] : 0;
  const std::string text(reinterpret_cast<const char*>(data) + (size > 0), size - (size > 0));
  const double duration = uttsOrvia::DurationFactorFor(level % 32 - 16);
  const double pitch = uttsOrvia::PitchFactorFor(level / 8 - 16);
  for (const std::string& line : uttsPortug::TextToMbrolaLines(text, duration, pitch)) {
    if (std::any_of(line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }))
      std::abort();
    if (!line.empty() && line[0] == '#') std::abort();  // a flush command
  }
  return 0;
}
