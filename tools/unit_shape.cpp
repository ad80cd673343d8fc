// TIRLA: rendered units cut, faded, resampled and levelled.
#include "unit_shape.h"

#include <algorithm>
#include <cmath>

namespace unitshape {
namespace {

constexpr double kSamplesPerMs = kVoiceRate / 1000.0;
constexpr size_t kCrossingRadius = 32;     // 2 ms each way to find a zero crossing
constexpr double kKeptFadeOfSilence = 0.6;  // how far into the final silence the fade may run
constexpr float kFadeEndOfPeak = 0.02f;     // the fade ends where the sound falls below this
constexpr size_t kEnvelopeWindow = 80;      // 5 ms
constexpr size_t kEdgeFadeIn = 24;          // 1.5 ms: no jump where the unit starts
constexpr size_t kEdgeFadeOut = 48;         // 3 ms: nor where it ends
constexpr float kHighestGain = 0.98f;       // of full scale, for the loudest sample

constexpr size_t kCutReach = 22;           // 2 ms at kUnitRate, each way
constexpr size_t kQuietAround = 3;         // samples each side that say how quiet a crossing is
constexpr size_t kOutRateFadeOut = 33;     // 3 ms at kUnitRate

}  // namespace

void AlignCut(soundtools::Signal& unit, size_t cut, size_t minimum) {
  const size_t n = unit.size();
  if (cut == 0 || n < cut + std::max(minimum, kCutReach + kQuietAround) + kCutReach + 1) return;
  // The synthesizer keeps the first n - cut samples; the crossing must be its last pair.
  const size_t kept = n - cut;
  size_t best = 0;
  float quietest = 0;
  for (size_t last = std::max(kept - kCutReach, minimum); last <= kept + kCutReach && last + kQuietAround < n; ++last) {
    if ((unit[last - 1] < 0) == (unit[last] < 0)) continue;
    float around = 0;
    for (size_t i = last - kQuietAround; i <= last + kQuietAround; ++i) around += std::fabs(unit[i]);
    if (best == 0 || around < quietest) best = last, quietest = around;
  }
  if (best == 0) return;
  const size_t end = best + 1 + cut;
  if (end < n) {
    unit.resize(end);
    soundtools::Fade(unit, 0, kOutRateFadeOut);
  } else {
    unit.resize(end, 0.0f);
  }
}

ShapedUnit ShapeUnit(const unitplan::Plan& plan, const soundtools::Signal& rendered,
                     const soundtools::Resampler& resampler) {
  // Phone boundaries in samples; MBROLA's length may differ from the lines' by a few samples.
  double totalMs = 0;
  for (const unitplan::Phone& p : plan.phones) totalMs += p.ms;
  const double stretch = rendered.size() / (totalMs * kSamplesPerMs);
  std::vector<size_t> at(plan.phones.size() + 1, 0);
  double ms = 0;
  for (size_t i = 0; i < plan.phones.size(); ++i) {
    at[i] = static_cast<size_t>(std::lround(ms * kSamplesPerMs * stretch));
    ms += plan.phones[i].ms;
  }
  at[plan.phones.size()] = rendered.size();

  size_t from = soundtools::NearestZeroCrossing(rendered, at[plan.first], kCrossingRadius);
  size_t to = at[plan.last];
  if (plan.fadesOut) {
    const double silence = plan.phones[plan.last].ms * kSamplesPerMs * stretch;
    to = std::min(rendered.size(), to + static_cast<size_t>(silence * kKeptFadeOfSilence));
    const soundtools::Signal tail(rendered.begin() + static_cast<long>(from), rendered.begin() + static_cast<long>(to));
    to = from + soundtools::SoundEnd(tail, kFadeEndOfPeak * soundtools::Peak(tail), kEnvelopeWindow);
  }
  to = std::max(from, soundtools::NearestZeroCrossing(rendered, to, kCrossingRadius));

  soundtools::Signal unit(rendered.begin() + static_cast<long>(from), rendered.begin() + static_cast<long>(to));
  soundtools::Fade(unit, kEdgeFadeIn, kEdgeFadeOut);

  // The nucleus is the unit's longest vowel (a glide beside a vowel is shorter).
  ShapedUnit shaped;
  size_t nucleus = plan.last;
  for (size_t i = plan.first; i < plan.last; ++i)
    if (plan.phones[i].vowel && (nucleus == plan.last || plan.phones[i].ms > plan.phones[nucleus].ms))
      nucleus = i;
  if (nucleus < plan.last) {
    const size_t a = std::clamp(at[nucleus], from, to) - from;
    const size_t b = std::clamp(at[nucleus + 1], from, to) - from;
    shaped.nucleusRms = soundtools::Rms(unit, a, b);
  }
  shaped.samples = resampler.Run(unit);
  shaped.peak = soundtools::Peak(shaped.samples);
  return shaped;
}

std::vector<float> LevelGains(const std::vector<ShapedUnit>& units, float peakTarget) {
  // The typical crest factor of the vowels sets the loudness all vowels are brought to.
  std::vector<float> crest;
  for (const ShapedUnit& u : units)
    if (u.nucleusRms > 0 && u.peak > 0) crest.push_back(u.peak / u.nucleusRms);
  std::vector<float> gains(units.size(), 1.0f);
  if (crest.empty()) return gains;
  std::nth_element(crest.begin(), crest.begin() + static_cast<long>(crest.size() / 2), crest.end());
  const float targetRms = peakTarget / crest[crest.size() / 2];
  std::vector<float> vowelGains;
  for (size_t i = 0; i < units.size(); ++i) {
    if (units[i].nucleusRms <= 0) continue;
    gains[i] = targetRms / units[i].nucleusRms;
    vowelGains.push_back(gains[i]);
  }
  std::nth_element(vowelGains.begin(), vowelGains.begin() + static_cast<long>(vowelGains.size() / 2),
                   vowelGains.end());
  const float middle = vowelGains[vowelGains.size() / 2];
  for (size_t i = 0; i < units.size(); ++i) {
    if (units[i].nucleusRms <= 0) gains[i] = middle;
    if (units[i].peak > 0) gains[i] = std::min(gains[i], kHighestGain / units[i].peak);
  }
  return gains;
}

}  // namespace unitshape
