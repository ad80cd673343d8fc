// TIRLA: the builders' sound shaping: the resampler's pass and stop bands, cuts, fades and
// 8-bit samples.
#include <gtest/gtest.h>

#include <cmath>

#include "sound_tools.h"

namespace {

soundtools::Signal Sine(double hz, int rate, double seconds, double amplitude = 0.5) {
  soundtools::Signal s(static_cast<size_t>(rate * seconds));
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<float>(amplitude * std::sin(2 * M_PI * hz * i / rate));
  return s;
}

// Sign changes per second in the middle half of a signal.
double CrossingsPerSecond(const soundtools::Signal& s, int rate) {
  int n = 0;
  for (size_t i = s.size() / 4 + 1; i < 3 * s.size() / 4; ++i) n += (s[i - 1] < 0) != (s[i] < 0);
  return n / (static_cast<double>(s.size()) / 2 / rate);
}

TEST(Resampler, KeepsSpeechFrequenciesAndStopsWhatWouldFoldBack) {
  const soundtools::Resampler down(16000, 11025);
  struct Case {
    double hz;
    double lowestGain, highestGain;
  } cases[] = {{200, 0.98, 1.02}, {1000, 0.98, 1.02}, {4000, 0.95, 1.02},
               {6000, 0, 0.01}, {7500, 0, 0.01}};  // above 5512 Hz: 40 dB down at least
  for (const Case& c : cases) {
    const soundtools::Signal out = down.Run(Sine(c.hz, 16000, 1.0));
    EXPECT_EQ(out.size(), 11025u);
    const float middle = soundtools::Peak(out, 1000, 10000) / 0.5f;
    EXPECT_GE(middle, c.lowestGain) << c.hz;
    EXPECT_LE(middle, c.highestGain) << c.hz;
    if (c.hz < 5000) {
      EXPECT_NEAR(CrossingsPerSecond(out, 11025), 2 * c.hz, 4) << c.hz;
    }
  }
}

TEST(SoundTools, CutsFadesAndBytes) {
  soundtools::Signal s = {0.5f, 0.25f, -0.25f, -0.5f, 0.1f, 0.2f};
  EXPECT_EQ(soundtools::NearestZeroCrossing(s, 1, 3), 2u);
  EXPECT_EQ(soundtools::NearestZeroCrossing(s, 5, 1), 4u);
  EXPECT_EQ(soundtools::NearestZeroCrossing(s, 0, 0), 0u);  // none within reach: unchanged
  soundtools::Signal quiet = {0.001f, 0.0f, 0.3f, 0.4f, 0.002f, 0.001f};
  EXPECT_EQ(soundtools::SoundStart(quiet, 0.01f, 2), 2u);
  EXPECT_EQ(soundtools::SoundEnd(quiet, 0.01f, 2), 4u);
  soundtools::Signal flat(100, 0.8f);
  soundtools::Fade(flat, 10, 20);
  EXPECT_EQ(flat.front(), 0.0f);
  EXPECT_NEAR(flat.back(), 0.0f, 1e-6);
  EXPECT_FLOAT_EQ(flat[50], 0.8f);
  EXPECT_EQ(soundtools::ToUnsigned8({0.0f, 0.5f, -0.5f, 2.0f, -2.0f}, 1.0f),
            (std::vector<uint8_t>{128, 192, 64, 255, 1}));
}

}  // namespace
