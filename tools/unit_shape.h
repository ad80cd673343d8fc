// TIRLA: one rendered unit made ready for joining: cut at its phone boundaries (on zero
// crossings), its fade kept where it ends in silence, faded at both edges so that joins have
// no jumps, and brought to 11025 samples per second.
#pragma once
#include <cstdint>
#include <vector>

#include "sound_tools.h"
#include "unit_plan.h"

namespace unitshape {

constexpr int kVoiceRate = 16000;  // br4's rate (the phone boundaries follow any voice's)
constexpr int kUnitRate = 11025;   // the database's rate

struct ShapedUnit {
  soundtools::Signal samples;  // at kUnitRate, -1..1
  float nucleusRms = 0;        // loudness of the vowel (0 for consonant units)
  float peak = 0;
};

// Cuts `rendered` (the plan spoken by the voice, at kVoiceRate) down to the unit.
ShapedUnit ShapeUnit(const unitplan::Plan& plan, const soundtools::Signal& rendered,
                     const soundtools::Resampler& resampler);

// Moves the end of a unit (at kUnitRate) so that the synthesizer's unstressed cut, `cut`
// samples from the end, lands on the quietest zero crossing within 2 ms: the cut unit then
// ends where its wave meets silence. The end is faded again, or padded with silence. A unit
// the cut would shorten below `minimum` (the synthesizer keeps `minimum` then) stays as it is.
void AlignCut(soundtools::Signal& unit, size_t cut, size_t minimum);

// The gains that give the vowels of all units one loudness (the consonant units get the
// middle gain), none letting a unit clip: `peakTarget` is the loudness the typical unit's
// peak reaches.
std::vector<float> LevelGains(const std::vector<ShapedUnit>& units, float peakTarget);

}  // namespace unitshape
