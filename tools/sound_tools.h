// TIRLA: sound shaping for the data builders: resampling with a low-pass, zero-crossing cuts,
// fades, silence trimming, levels, and the 8-bit unsigned samples the synthesizer joins.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace soundtools {

using Signal = std::vector<float>;  // samples in -1..1

// 16-bit samples as a signal.
Signal FromInt16(const int16_t* samples, size_t count);

// Changes the sample rate by a rational polyphase filter: a Kaiser-windowed sinc low-pass
// cut below the lower rate's Nyquist frequency, so nothing above it folds back.
class Resampler {
 public:
  Resampler(int inRate, int outRate);
  Signal Run(const Signal& in) const;

 private:
  int up_ = 1;                  // outRate / gcd
  int down_ = 1;                // inRate / gcd
  int halfWidth_ = 0;           // taps on each side of the output instant, at the input rate
  std::vector<float> phases_;   // up_ phases of 2 * halfWidth_ taps each
};

// The position within `radius` of `at` where the signal changes sign, closest first; `at`
// itself when there is none.
size_t NearestZeroCrossing(const Signal& s, size_t at, size_t radius);

// Raised-cosine fade in over the first `in` samples and out over the last `out`.
void Fade(Signal& s, size_t in, size_t out);

// The end of the sound: one past the last sample of the last `window`-long stretch whose peak
// reaches `threshold` (0 when none does).
size_t SoundEnd(const Signal& s, float threshold, size_t window);
// The start of the sound: the first sample of the first stretch that reaches `threshold`
// (the size when none does).
size_t SoundStart(const Signal& s, float threshold, size_t window);

float Peak(const Signal& s, size_t from = 0, size_t to = SIZE_MAX);
float Rms(const Signal& s, size_t from = 0, size_t to = SIZE_MAX);

// Loudness of a spoken sound: the RMS of its loud part (samples above a tenth of its peak), so
// that a short word and a long one compare alike.
float LoudRms(const Signal& s);

// The pitch in Hz of each voiced frame (40 ms, every 20 ms) of a spoken sound at `rate`
// samples per second, looking at one frame in `every` (a long corpus needs only a sample). A
// frame is voiced when it is loud and repeats itself closely within one period of 60 to 400 Hz.
std::vector<float> VoicedPitches(const Signal& s, int rate, size_t every = 1);

// The median of the pitches (0 for none).
float MedianPitch(std::vector<float> pitches);

// 8-bit unsigned samples (silence 128) as a signal.
Signal FromUnsigned8(const std::vector<uint8_t>& samples);

// 8-bit unsigned samples (silence 128) of `s` times `gain`, rounded and kept within 1..255.
std::vector<uint8_t> ToUnsigned8(const Signal& s, float gain);

// A WAV file of 8-bit mono samples; false when it cannot be written.
bool WriteWav8(const std::string& path, int rate, const std::vector<uint8_t>& samples);

}  // namespace soundtools
