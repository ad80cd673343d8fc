// TIRLA: tones and beeps on an SDL audio device of their own.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/tone.h"

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

uint32_t Read32(std::string_view b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
         static_cast<uint8_t>(b[at + 2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}

uint16_t Read16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

struct WavFormat {
  int rate = 0, channels = 0, bits = 0;
  std::string_view data;
};

// Reads the format and data chunks of a RIFF/WAVE PCM image.
bool ParseWav(std::string_view image, WavFormat* format) {
  if (image.size() < 12 || image.substr(0, 4) != "RIFF" || image.substr(8, 4) != "WAVE")
    return false;
  size_t at = 12;
  bool have_format = false;
  while (at + 8 <= image.size()) {
    const std::string_view id = image.substr(at, 4);
    const uint32_t size = Read32(image, at + 4);
    const size_t body = at + 8;
    const size_t available = image.size() - body;
    if (id == "fmt " && size >= 16 && available >= 16) {
      if (Read16(image, body) != 1) return false;  // PCM only
      format->channels = Read16(image, body + 2);
      format->rate = static_cast<int>(Read32(image, body + 4));
      format->bits = Read16(image, body + 14);
      have_format = true;
    } else if (id == "data") {
      format->data = image.substr(body, std::min<size_t>(size, available));
      return have_format && format->rate > 0 && format->channels > 0 &&
             (format->bits == 8 || format->bits == 16);
    }
    if (size > available) return false;
    at = body + size + (size & 1);
  }
  return false;
}

void Stop() {
  TonePlayer& p = Player();
  if (!p.device) return;
  SDL_LockAudioDevice(p.device);
  p.samples.clear();
  p.position = 0;
  p.loop = false;
  SDL_UnlockAudioDevice(p.device);
}

bool OpenFor(const WavFormat& format) {
  TonePlayer& p = Player();
  const SDL_AudioFormat wanted = format.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  if (p.device && p.obtained.freq == format.rate && p.obtained.channels == format.channels &&
      p.obtained.format == wanted)
    return true;
  if (p.device) {
    SDL_CloseAudioDevice(p.device);
    p.device = 0;
  }
  if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    if (!p.failed) std::fprintf(stderr, "tirla: não foi possível abrir o som: %s\n", SDL_GetError());
    p.failed = true;
    return false;
  }
  SDL_AudioSpec want{};
  want.freq = format.rate;
  want.format = wanted;
  want.channels = static_cast<Uint8>(format.channels);
  want.samples = 512;
  want.callback = Callback;
  p.device = SDL_OpenAudioDevice(nullptr, 0, &want, &p.obtained, 0);
  if (!p.device) {
    if (!p.failed) std::fprintf(stderr, "tirla: não foi possível abrir o som: %s\n", SDL_GetError());
    p.failed = true;
    return false;
  }
  SDL_PauseAudioDevice(p.device, 0);
  return true;
}

}  // namespace

void PlayWavImage(std::string_view image, bool loop) {
  WavFormat format;
  if (image.empty() || !ParseWav(image, &format)) {
    Stop();
    return;
  }
  if (!OpenFor(format)) return;
  TonePlayer& p = Player();
  SDL_LockAudioDevice(p.device);
  p.samples.assign(format.data.begin(), format.data.end());
  p.position = 0;
  p.loop = loop;
  SDL_UnlockAudioDevice(p.device);
}

std::string SquareWaveImage(int frequency, int ms) {
  const int rate = 11025;
  const int count = std::max(ms, 0) * rate / 1000;
  const int half = std::max(rate / std::max(frequency, 1) / 2, 1);
  std::string image(44 + count, '\0');
  for (int i = 0; i < count; ++i) image[44 + i] = static_cast<char>((i / half) % 2 ? 160 : 96);
  auto put = [&](size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) image[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  image.replace(0, 4, "RIFF");
  put(4, count + 36, 4);
  image.replace(8, 8, "WAVEfmt ");
  put(16, 16, 4);
  put(20, 1, 2);
  put(22, 1, 2);
  put(24, rate, 4);
  put(28, rate, 4);
  put(32, 1, 2);
  put(34, 8, 2);
  image.replace(36, 4, "data");
  put(40, count, 4);
  return image;
}

void PlayBeep() { PlayWavImage(SquareWaveImage(kBeepFrequency, kBeepMs), false); }

}  // namespace platform
