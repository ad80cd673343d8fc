// TIRLA: shared set-up of the bridge tests: clean messages and wave output, reports kept, a
// stop token the test sets, samples kept by a sink, and bounded waits.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "diphone/waveout.h"
#include "platform/audio/pcm.h"
#include "platform/messages.h"
#include "platform/report.h"
#include "platform/speech.h"

namespace bridges_test {

struct Kept {
  std::vector<std::string> reports;
  std::vector<int16_t> samples;
  int rate = 0;
  bool stop = false;  // what the stop token answers
};

inline Kept& Keep() {
  static Kept kept;
  return kept;
}

inline void KeepReport(void*, platform::Severity, std::string_view text) {
  Keep().reports.emplace_back(text);
}

inline bool KeepSamples(void*, const int16_t* samples, size_t count, int rate) {
  Keep().samples.insert(Keep().samples.end(), samples, samples + count);
  Keep().rate = rate;
  return true;
}

inline bool StopAsked(void*) { return Keep().stop; }

// Output to the kept samples, or (no sink) to the wave output; stopped when the test says.
inline platform::SpeechOutput Output(bool sink) {
  platform::SpeechOutput output;
  if (sink) output.sink = {.context = nullptr, .Samples = KeepSamples};
  output.stop = {.context = nullptr, .Requested = StopAsked};
  return output;
}

// Calls `speaking` while it answers true, `seconds` at most; whether it stopped answering true.
template <typename Speaking>
bool WaitQuiet(Speaking speaking, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (speaking()) {
    if (std::chrono::steady_clock::now() > end) return false;
    platform::PumpFor(10);
  }
  return true;
}

// Whether any report holds `part`.
inline bool Reported(const std::string& part) {
  for (const std::string& r : Keep().reports)
    if (r.find(part) != std::string::npos) return true;
  return false;
}

class BridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Keep() = Kept{};
    platform::ResetMessages();
    platform::SetReportSink({.context = nullptr, .Write = KeepReport, .Ask = nullptr});
    waveout::StartWaveOut();
    waveout::SetStopToken({.context = nullptr, .Requested = StopAsked});
  }
  void TearDown() override {
    platform::PcmUseMemoryDevice(false);
    platform::SetStandardErrorSink();
  }
};

}  // namespace bridges_test
