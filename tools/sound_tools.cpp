// TIRLA: sound shaping for the data builders.
#include "sound_tools.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "platform/wav.h"

namespace soundtools {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kCutoffOfNyquist = 0.9;  // pass band edge, as a part of the lower Nyquist
constexpr int kTapsPerSide = 40;          // at the output rate: about 60 dB down past the cutoff
constexpr double kKaiserBeta = 5.65;      // the window for that attenuation

double Sinc(double x) { return x == 0 ? 1.0 : std::sin(kPi * x) / (kPi * x); }

double Kaiser(double x) {  // x in -1..1
  if (x <= -1 || x >= 1) return 0;
  return std::cyl_bessel_i(0.0, kKaiserBeta * std::sqrt(1 - x * x)) /
         std::cyl_bessel_i(0.0, kKaiserBeta);
}

}  // namespace

Signal FromInt16(const int16_t* samples, size_t count) {
  Signal s(count);
  for (size_t i = 0; i < count; ++i) s[i] = samples[i] / 32768.0f;
  return s;
}

Resampler::Resampler(int inRate, int outRate) {
  const int common = std::gcd(inRate, outRate);
  up_ = outRate / common;
  down_ = inRate / common;
  // The filter runs at the input rate; its width grows when the output is the slower side.
  const double lowerNyquist = std::min(inRate, outRate) / 2.0;
  const double cutoff = kCutoffOfNyquist * lowerNyquist / inRate;  // cycles per input sample
  const double stretch = std::max(1.0, static_cast<double>(inRate) / outRate);
  halfWidth_ = static_cast<int>(std::ceil(kTapsPerSide * stretch));
  const int taps = 2 * halfWidth_;
  phases_.assign(static_cast<size_t>(up_) * taps, 0.0f);
  for (int p = 0; p < up_; ++p) {
    const double frac = static_cast<double>(p) / up_;
    double sum = 0;
    std::vector<double> w(taps);
    for (int j = 0; j < taps; ++j) {
      const double d = (j - halfWidth_ + 1) - frac;  // input sample minus output instant
      w[j] = 2 * cutoff * Sinc(2 * cutoff * d) * Kaiser(d / halfWidth_);
      sum += w[j];
    }
    for (int j = 0; j < taps; ++j) phases_[static_cast<size_t>(p) * taps + j] = static_cast<float>(w[j] / sum);
  }
}

Signal Resampler::Run(const Signal& in) const {
  const size_t outCount = (in.size() * up_ + down_ - 1) / down_;
  Signal out(outCount);
  const int taps = 2 * halfWidth_;
  const long last = static_cast<long>(in.size()) - 1;
  for (size_t m = 0; m < outCount; ++m) {
    const uint64_t position = static_cast<uint64_t>(m) * down_;
    const long base = static_cast<long>(position / up_);
    const float* w = &phases_[(position % up_) * taps];
    double acc = 0;
    for (int j = 0; j < taps; ++j) {
      const long i = base + j - halfWidth_ + 1;
      if (i >= 0 && i <= last) acc += w[j] * in[static_cast<size_t>(i)];
    }
    out[m] = static_cast<float>(acc);
  }
  return out;
}

size_t NearestZeroCrossing(const Signal& s, size_t at, size_t radius) {
  if (s.size() < 2) return at;
  auto crosses = [&s](size_t i) {
    return i > 0 && i < s.size() && ((s[i - 1] < 0) != (s[i] < 0) || s[i] == 0);
  };
  for (size_t d = 0; d <= radius; ++d) {
    if (at + d < s.size() && crosses(at + d)) return at + d;
    if (d <= at && crosses(at - d)) return at - d;
  }
  return at;
}

void Fade(Signal& s, size_t in, size_t out) {
  in = std::min(in, s.size());
  out = std::min(out, s.size());
  for (size_t i = 0; i < in; ++i)
    s[i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * i / in));
  for (size_t i = 0; i < out; ++i)
    s[s.size() - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * i / out));
}

size_t SoundEnd(const Signal& s, float threshold, size_t window) {
  window = std::max<size_t>(window, 1);
  for (size_t end = s.size(); end > 0;) {
    const size_t start = end > window ? end - window : 0;
    if (Peak(s, start, end) >= threshold) {
      size_t last = end;
      while (last > start && std::fabs(s[last - 1]) < threshold) --last;
      return last;
    }
    end = start;
  }
  return 0;
}

size_t SoundStart(const Signal& s, float threshold, size_t window) {
  window = std::max<size_t>(window, 1);
  for (size_t start = 0; start < s.size(); start += window) {
    const size_t end = std::min(start + window, s.size());
    if (Peak(s, start, end) >= threshold) {
      size_t first = start;
      while (first < end && std::fabs(s[first]) < threshold) ++first;
      return first;
    }
  }
  return s.size();
}

float Peak(const Signal& s, size_t from, size_t to) {
  to = std::min(to, s.size());
  float peak = 0;
  for (size_t i = from; i < to; ++i) peak = std::max(peak, std::fabs(s[i]));
  return peak;
}

float Rms(const Signal& s, size_t from, size_t to) {
  to = std::min(to, s.size());
  if (from >= to) return 0;
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += static_cast<double>(s[i]) * s[i];
  return static_cast<float>(std::sqrt(sum / static_cast<double>(to - from)));
}

float LoudRms(const Signal& s) {
  constexpr float kLoudPartOfPeak = 0.1f;
  const float floor = kLoudPartOfPeak * Peak(s);
  double sum = 0;
  size_t n = 0;
  for (const float v : s)
    if (std::fabs(v) >= floor) sum += static_cast<double>(v) * v, ++n;
  return n ? static_cast<float>(std::sqrt(sum / static_cast<double>(n))) : 0;
}

namespace {

// The pitch of one frame by normalised autocorrelation: the shortest period whose match is
// nearly the best (a longer one would be an octave below); 0 when nothing matches well.
float FramePitch(const Signal& s, size_t from, size_t length, int rate) {
  constexpr float kLowestHz = 60, kHighestHz = 400;
  constexpr double kVoicedMatch = 0.6, kNearlyBest = 0.9;
  const size_t shortest = static_cast<size_t>(rate / kHighestHz);
  const size_t longest = static_cast<size_t>(rate / kLowestHz);
  std::vector<double> match(longest + 1, 0.0);
  double best = 0;
  for (size_t lag = shortest; lag <= longest; ++lag) {
    double cross = 0, a = 0, b = 0;
    for (size_t i = from; i + lag < from + length; ++i) {
      cross += static_cast<double>(s[i]) * s[i + lag];
      a += static_cast<double>(s[i]) * s[i];
      b += static_cast<double>(s[i + lag]) * s[i + lag];
    }
    match[lag] = a > 0 && b > 0 ? cross / std::sqrt(a * b) : 0;
    best = std::max(best, match[lag]);
  }
  if (best < kVoicedMatch) return 0;
  for (size_t lag = shortest; lag <= longest; ++lag)
    if (match[lag] >= kNearlyBest * best) {
      // a local peak: step on while the match still grows
      while (lag < longest && match[lag + 1] > match[lag]) ++lag;
      return static_cast<float>(rate) / static_cast<float>(lag);
    }
  return 0;
}

}  // namespace

std::vector<float> VoicedPitches(const Signal& s, int rate, size_t every) {
  constexpr float kLoudPartOfLoudness = 0.5f;
  const size_t frame = static_cast<size_t>(rate) / 25;  // 40 ms: two periods at 60 Hz
  const size_t hop = frame / 2;
  const float floor = kLoudPartOfLoudness * LoudRms(s);
  std::vector<float> pitches;
  for (size_t at = 0, n = 0; at + frame <= s.size(); at += hop, ++n) {
    if (n % std::max<size_t>(every, 1) != 0 || Rms(s, at, at + frame) < floor) continue;
    const float hz = FramePitch(s, at, frame, rate);
    if (hz > 0) pitches.push_back(hz);
  }
  return pitches;
}

float MedianPitch(std::vector<float> pitches) {
  if (pitches.empty()) return 0;
  std::nth_element(pitches.begin(), pitches.begin() + pitches.size() / 2, pitches.end());
  return pitches[pitches.size() / 2];
}

Signal FromUnsigned8(const std::vector<uint8_t>& samples) {
  Signal s(samples.size());
  for (size_t i = 0; i < s.size(); ++i) s[i] = (samples[i] - 128) / 128.0f;
  return s;
}

std::vector<uint8_t> ToUnsigned8(const Signal& s, float gain) {
  std::vector<uint8_t> out(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const long v = std::lround(128.0 + 128.0 * gain * s[i]);
    out[i] = static_cast<uint8_t>(std::clamp<long>(v, 1, 255));
  }
  return out;
}

bool WriteWav8(const std::string& path, int rate, const std::vector<uint8_t>& samples) {
  const std::string image = platform::MakeWavImage(
      rate, 8, 1, std::string_view(reinterpret_cast<const char*>(samples.data()), samples.size()));
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = fwrite(image.data(), 1, image.size(), f) == image.size();
  return fclose(f) == 0 && written;
}

}  // namespace soundtools
