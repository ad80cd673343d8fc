// TIRLA: the front-end's sound waits.
#include "frontend/sound.h"

#include "console/keyboard.h"
#include "diphone/synth.h"
#include "diphone/waveout.h"
#include "platform/messages.h"
#include "platform/wav.h"

namespace frontend {
namespace {

constexpr int kPlayPollMs = 10;  // the wait for the end of a played image

}  // namespace

void MakeWaveHeader(uint8_t* buffer, uint32_t dataSize, int rate, int channels, int bits) {
  platform::WriteWavHeader(buffer, rate, bits, channels, dataSize);
}

void PlayWaveBuffer(const uint8_t* image, size_t size) {
  waveout::PlayWavImage(image, size);
  while (waveout::WavePlaying()) platform::PumpFor(kPlayPollMs);
}

void StopSpeaking() {
  waveout::WaveStop();
  platform::PostMessage(platform::kWakeUpStop);
}

bool IsSpeaking() {
  if (console::KeyWaiting()) {
    StopSpeaking();
    return false;
  }
  return waveout::WavePlaying();
}

void ConnectSynthesizer() {
  synth::SetSoundHooks({.MakeWaveHeader = MakeWaveHeader,
                        .PlayWaveBuffer = PlayWaveBuffer,
                        .IsSpeaking = IsSpeaking});
}

}  // namespace frontend
