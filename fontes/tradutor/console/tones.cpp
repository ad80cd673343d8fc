// TIRLA: the looping square-wave tone that announces the Braille keyboard modes.
#include <algorithm>
#include <string>

#include "console/backend.h"
#include "console/internal.h"
#include "console/keyboard.h"
#include "platform/wav.h"

namespace console {
namespace {

constexpr int kHeaderSize = 44;         // RIFF/WAVE PCM header
constexpr int kSampleRate = 11025;      // samples per second, 8-bit mono
constexpr int kBufferSize = 11071;      // header, one second of samples and two spare bytes
constexpr uint8_t kLow = 96, kHigh = 160, kSilence = 128;

struct ToneState {
  bool playing = false;  // a tone buffer exists and plays
};

ToneState& State() {
  static ToneState state;
  return state;
}

}  // namespace

std::string BuildToneImage(uint16_t frequency) {
  const int f = std::max<int>(frequency, 1);  // 0 Hz would divide by zero
  const int period = kSampleRate / f;
  std::string buffer(kBufferSize, '\0');
  int k = 0;
  int start = kHeaderSize;
  while (start <= kSampleRate - period) {
    std::fill_n(buffer.begin() + start, period / 2 + 1, static_cast<char>(kLow));
    std::fill_n(buffer.begin() + start + period / 2, period - period / 2 + 1,
                static_cast<char>(kHigh));
    ++k;
    start = kHeaderSize + static_cast<int>((static_cast<int64_t>(k) * kSampleRate) / f);
  }
  buffer[start - 1] = static_cast<char>(kSilence);
  const int data_length = start - kHeaderSize;
  platform::WriteWavHeader(reinterpret_cast<uint8_t*>(buffer.data()), kSampleRate, 8, 1,
                           static_cast<uint32_t>(data_length));
  buffer.resize(kHeaderSize + data_length);
  return buffer;
}

void StartTone(uint16_t frequency) {
  if (State().playing) StopTone();
  backend::PlaySound(BuildToneImage(frequency), true);
  State().playing = true;
}

void StopTone() {
  if (!State().playing) return;
  backend::PlaySound({}, false);
  State().playing = false;
}

namespace detail {

void StartTones() { State() = ToneState{}; }

void ShortenToneImage(std::string& image, int ms) {
  const int samples = std::clamp(ms, 1, 1000) * kSampleRate / 1000;
  if (static_cast<int>(image.size()) <= kHeaderSize + samples) return;
  image.resize(kHeaderSize + samples);
  image.back() = static_cast<char>(kSilence);
  platform::WriteWavHeader(reinterpret_cast<uint8_t*>(image.data()), kSampleRate, 8, 1,
                           static_cast<uint32_t>(samples));
}

}  // namespace detail
}  // namespace console
