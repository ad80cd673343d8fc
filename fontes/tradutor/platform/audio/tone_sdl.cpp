// TIRLA: tones and beeps on an SDL audio device of their own, beside the PCM device.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/audio/sdl_audio.h"
#include "platform/audio/tone_sdl.h"
#include "platform/codepage.h"
#include "platform/report.h"
#include "platform/wav.h"

namespace platform {
namespace {

constexpr int kBeepFrequency = 880;
constexpr int kBeepMs = 100;

struct TonePlayer {
  SDL_AudioDeviceID device = 0;   // open device, 0 when none
  SDL_AudioSpec obtained{};         // the format the device gave
  std::vector<uint8_t> samples;   // what plays (guarded by the device lock)
  size_t position = 0;            // next byte to play
  bool loop = false;              // start again at the end
  bool failed = false;            // opening failed once: said so, not said again
};

// Never destroyed: the audio thread may still read it while the process ends.
TonePlayer& Player() {
  static TonePlayer& player = *new TonePlayer;
  return player;
}

void Callback(void*, Uint8* stream, int length) {
  TonePlayer& p = Player();
  int done = 0;
  while (done < length) {
    if (p.position >= p.samples.size()) {
      if (p.loop && !p.samples.empty()) {
        p.position = 0;
      } else {
        std::memset(stream + done, p.obtained.silence, length - done);
        return;
      }
    }
    const size_t n = std::min<size_t>(length - done, p.samples.size() - p.position);
    std::memcpy(stream + done, p.samples.data() + p.position, n);
    p.position += n;
    done += static_cast<int>(n);
  }
}

// The samples of a WAV image and their format; false for what cannot be played.
bool ParseWav(std::string_view image, WavInfo* format, std::string_view* data) {
  if (!ReadWavImage(reinterpret_cast<const uint8_t*>(image.data()), image.size(), *format))
    return false;
  *data = image.substr(static_cast<size_t>(format->dataOffset),
                       static_cast<size_t>(format->dataSize));
  return true;
}

void TellOpenFailure() {
  TonePlayer& p = Player();
  if (!p.failed)
    Report(Severity::kError,
           Utf8ToCp1252(std::string("não foi possível abrir o som: ") +
                        (SdlAudio() ? SdlAudio()->GetError() : SdlAudioProblem())));
  p.failed = true;
}

void Stop() {
  TonePlayer& p = Player();
  if (!p.device) return;
  SdlAudio()->LockAudioDevice(p.device);
  p.samples.clear();
  p.position = 0;
  p.loop = false;
  SdlAudio()->UnlockAudioDevice(p.device);
}

bool OpenFor(const WavInfo& format) {
  TonePlayer& p = Player();
  const SDL_AudioFormat wanted = format.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  if (p.device && p.obtained.freq == format.rate && p.obtained.channels == format.channels &&
      p.obtained.format == wanted)
    return true;
  if (p.device) {
    SdlAudio()->CloseAudioDevice(p.device);
    p.device = 0;
  }
  if (!SdlAudio() ||
      (!SdlAudio()->WasInit(SDL_INIT_AUDIO) && SdlAudio()->InitSubSystem(SDL_INIT_AUDIO) != 0)) {
    TellOpenFailure();
    return false;
  }
  SDL_AudioSpec want{};
  want.freq = format.rate;
  want.format = wanted;
  want.channels = static_cast<Uint8>(format.channels);
  want.samples = 512;
  want.callback = Callback;
  p.device = SdlAudio()->OpenAudioDevice(nullptr, 0, &want, &p.obtained, 0);
  if (!p.device) {
    TellOpenFailure();
    return false;
  }
  SdlAudio()->PauseAudioDevice(p.device, 0);
  return true;
}

// An 8-bit 11025 Hz square wave of `frequency` Hz lasting `ms` milliseconds, as a WAV image.
std::string SquareWaveImage(int frequency, int ms) {
  const int rate = 11025;
  const int count = std::max(ms, 0) * rate / 1000;
  const int half = std::max(rate / std::max(frequency, 1) / 2, 1);
  std::string samples(count, '\0');
  for (int i = 0; i < count; ++i) samples[i] = static_cast<char>((i / half) % 2 ? 160 : 96);
  return MakeWavImage(rate, 8, 1, samples);
}

}  // namespace

void PlayWavImage(std::string_view image, bool loop) {
  WavInfo format;
  std::string_view data;
  if (image.empty() || !ParseWav(image, &format, &data)) {
    Stop();
    return;
  }
  if (!OpenFor(format)) return;
  TonePlayer& p = Player();
  SdlAudio()->LockAudioDevice(p.device);
  p.samples.assign(data.begin(), data.end());
  p.position = 0;
  p.loop = loop;
  SdlAudio()->UnlockAudioDevice(p.device);
}

void PlayBeep() { PlayWavImage(SquareWaveImage(kBeepFrequency, kBeepMs), false); }

bool ToneDeviceFailed() { return Player().failed; }

const Tone& SdlTone() {
  static constexpr Tone kTone = {.Play = PlayWavImage, .Beep = PlayBeep};
  return kTone;
}

}  // namespace platform
