// TIRLA: the speech-service bridges: how long Speak takes to hand over a 2000-character text
// (target: at most 20 ms), and how long from a key to silence while a long text plays
// (target: at most 50 ms). eSpeak NG and RHVoice play through the wave output on SDL's dummy
// driver, which plays in real time without a sound card; Speech Dispatcher is a private
// instance started here (scripts/speechd-private.sh), silent when its cancel event comes.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bridges/espeakBridge.h"
#include "bridges/rhvoiceBridge.h"
#include "bridges/speechdBridge.h"
#include "diphone/waveout.h"
#include "platform/messages.h"

namespace {

using Clock = std::chrono::steady_clock;

bool keyPressed = false;  // what the stop token answers
bool KeyPressed(void*) { return keyPressed; }

std::string LongText() {
  std::string text;
  while (text.size() < 2000) text += "Bom dia, tudo bem? Hoje o dia est\xE1 bonito. ";
  return text.substr(0, 2000);
}

// One bridge as the benchmarks drive it.
struct Bridge {
  const char* name;
  void (*SetOutput)(const platform::SpeechOutput&);
  bool (*Start)();
  void (*Speak)(std::string_view);
  bool (*IsSpeaking)();
  void (*Stop)();
  void (*End)();
  bool servicePlays;  // the service plays the sound: silence is its cancel event
};

const Bridge kBridges[] = {
    {"eSpeak NG", bridges::Sapi4SetOutput, [] { return bridges::Sapi4Start(1, 0, 0, ""); },
     bridges::Sapi4Speak, [] { return bridges::Sapi4IsSpeaking(0); }, bridges::Sapi4Stop,
     bridges::Sapi4End, false},
    {"Speech Dispatcher", bridges::Sapi5SetOutput, [] { return bridges::Sapi5Start(1, 0, ""); },
     bridges::Sapi5Speak, bridges::Sapi5IsSpeaking, bridges::Sapi5Stop, bridges::Sapi5End, true},
    {"RHVoice", bridges::Sapi54SetOutput, [] { return bridges::Sapi54Start(1, 0, ""); },
     bridges::Sapi54Speak, bridges::Sapi54IsSpeaking, bridges::Sapi54Stop, bridges::Sapi54End,
     false},
};

bool StartBridge(benchmark::State& state, const Bridge& bridge) {
  platform::ResetMessages();
  waveout::StartWaveOut();
  keyPressed = false;
  platform::SpeechOutput output;
  output.stop = {.context = nullptr, .Requested = KeyPressed};
  waveout::SetStopToken(output.stop);
  bridge.SetOutput(output);
  if (bridge.Start()) return true;
  state.SkipWithError((std::string(bridge.name) + " did not start").c_str());
  return false;
}

void SpeakReturns(benchmark::State& state) {
  const Bridge& bridge = kBridges[state.range(0)];
  state.SetLabel(bridge.name);
  if (!StartBridge(state, bridge)) return;
  const std::string text = LongText();
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    bridge.Speak(text);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    bridge.Stop();
  }
  bridge.End();
}
BENCHMARK(SpeakReturns)
    ->DenseRange(0, 2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

void KeyToSilence(benchmark::State& state) {
  const Bridge& bridge = kBridges[state.range(0)];
  state.SetLabel(bridge.name);
  if (!StartBridge(state, bridge)) return;
  const std::string text = LongText();
  for (auto _ : state) {
    keyPressed = false;
    bridge.Speak(text);
    // let the sound start and play a little
    const Clock::time_point playing = Clock::now() + std::chrono::milliseconds(700);
    while (Clock::now() < playing) {
      bridge.IsSpeaking();
      platform::PumpFor(10);
    }
    const Clock::time_point key = Clock::now();
    keyPressed = true;
    const bool still = bridge.IsSpeaking();  // the next look sees the key and stops
    Clock::time_point silent = Clock::now();
    if (bridge.servicePlays) silent = bridges::Sapi5LastEventTime();
    if (still || waveout::QueuedCount() != 0 || silent < key) {
      state.SkipWithError("the sound did not stop");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(silent - key).count());
  }
  keyPressed = false;
  bridge.End();
}
BENCHMARK(KeyToSilence)
    ->DenseRange(0, 2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);  // real-time playing without a sound card
  const std::string dir = "/tmp/tirla-bench-speechd-" + std::to_string(getpid());
  const std::string script =
      "SD_ORVIA=none " + std::string(TIRLA_SOURCE_DIR) + "/scripts/speechd-private.sh ";
  std::string address;
  if (FILE* pipe = popen((script + "start " + dir).c_str(), "r")) {
    char line[512];
    if (fgets(line, sizeof line, pipe)) address = line;
    pclose(pipe);
  }
  while (!address.empty() && address.back() == '\n') address.pop_back();
  if (!address.empty()) setenv("SPEECHD_ADDRESS", address.c_str(), 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::system((script + "stop " + dir + " && rm -rf " + dir).c_str());
}
