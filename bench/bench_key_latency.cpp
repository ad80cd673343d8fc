// TIRLA: how fast a key is heard and how fast it silences speech, through the front-end, the
// wave output and the sound device, on the build tree's unit database and recordings.
//   KeyToEcho: a typed key until its recorded sound is handed to the device (memory device).
//     /0: no braille display; /1: the braille display tirla offers, with no BRLTTY to answer
//     (what every user without one has: the console seeks it every few seconds).
//   KeyToSilence: a key pressed during a long text until SpeakText has returned and nothing
//     speaks (SDL's disk driver, so the real device code runs). The device's queue is emptied
//     at the first stop, before that; the period still playing (10 to 16 ms) comes on top and
//     is reported as a counter. /0: sentences, the key comes during a recorded comma or a
//     short phrase; /1: one phrase of some 40 s, the key comes while the synthesizer waits for
//     a free buffer of the wave output.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <string>

#include "console/braille_output.h"
#include "console/console.h"
#include "console/keyboard.h"
#include "diphone/synth.h"
#include "diphone/waveout.h"
#include "frontend/sound.h"
#include "frontend/speech.h"
#include "platform/audio/pcm.h"
#include "platform/brlapi/braille_brlapi.h"
#include "platform/memory/video_memory.h"
#include "platform/messages.h"

namespace {

using Clock = std::chrono::steady_clock;

void StartAll(bool memoryDevice, bool braille = false) {
  setenv("BRLAPI_HOST", "127.0.0.1:4000", 1);  // no BRLTTY listens there
  console::UseBrailleDisplay(braille ? &platform::BrlapiBrailleDisplay() : nullptr);
  setenv("TOLVAN_WINDIR", TIRLA_BUILD_DIR "/etc/tolvan", 0);
  setenv("TOLVAN_DATADIR", TIRLA_BUILD_DIR "/share/tolvan", 0);
  setenv("SDL_AUDIODRIVER", "disk", 0);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);
  platform::ResetMessages();
  platform::ResetMemoryVideo();
  console::StartConsole();
  console::UseVideoDriver(platform::MemoryVideoDriver());
  platform::PcmUseMemoryDevice(memoryDevice);
  waveout::StartWaveOut();
  waveout::SetStopToken({.context = nullptr, .Requested = [](void*) { return console::KeyWaiting(); }});
  synth::StartSynth();
  frontend::StartFrontEnd();
  frontend::StartSpeech(3, "");
}

void KeyToEcho(benchmark::State& state) {
  StartAll(true, state.range(0) != 0);
  for (auto _ : state) {
    platform::PcmForgetPlayed();
    platform::PushChar('a');
    const Clock::time_point typed = Clock::now();
    frontend::SpeakKey();
    if (platform::PcmPlayedBlocks().empty()) state.SkipWithError("no recording of 'a' played");
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - typed).count());
  }
  frontend::EndSpeech();
}
BENCHMARK(KeyToEcho)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);

struct KeyTimer {
  int waits = 0;
  Clock::time_point pressed;
};
KeyTimer keyTimer;

void KeyToSilence(benchmark::State& state) {
  StartAll(false);
  std::string text;
  for (int i = 0; i < 20; ++i)
    text += state.range(0) ? "bom dia tudo bem hoje o tempo est\xE1 bom para passear "
                           : "Bom dia, tudo bem? Hoje o tempo est\xE1 bom para passear. ";
  if (state.range(0)) text.resize(990);  // a phrase the translator takes whole
  for (auto _ : state) {
    keyTimer = KeyTimer{};
    // a key arrives while the text is being waited on, after a few waits
    platform::MemoryVideo().on_wait = [] {
      if (++keyTimer.waits == 10) {
        platform::PushChar('x');
        keyTimer.pressed = Clock::now();
      }
    };
    frontend::SpeakText(text);
    while (frontend::IsSpeaking()) platform::WaitMessages(10);
    const Clock::time_point silent = Clock::now();
    platform::MemoryVideo().on_wait = nullptr;
    while (console::KeyWaiting()) console::ReadKeyCode();
    if (keyTimer.waits < 10) state.SkipWithError("the text ended before the key");
    state.SetIterationTime(std::chrono::duration<double>(silent - keyTimer.pressed).count());
  }
  state.counters["period_ms"] = 1000.0 * 128 / 11025;
  frontend::EndSpeech();
}
BENCHMARK(KeyToSilence)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
