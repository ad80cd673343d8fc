// TIRLA: how one unit of the diphone database is rendered with the MBROLA voice: the unit
// name's phonetic letters as voice phonemes (docs/phonetic-alphabet.md), with stressed
// durations and a neutral pitch, between contexts the voice has pairs for.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace unitplan {

struct Phone {
  std::string name;    // voice phoneme
  double ms = 0;       // duration
  bool vowel = false;  // a vowel or glide (carries the level measure)
};

struct Plan {
  std::vector<Phone> phones;    // left context, the unit's own phones, right context
  size_t first = 0;             // the unit's phones are phones[first, last)
  size_t last = 0;
  bool fadesOut = false;        // the right context is silence: the unit keeps its fade
  int missingPairs = 0;         // pairs inside the unit the voice lacks (rendered as silence)
};

// The voice phonemes of a unit name ("$KA", "$AWTIL", "$TCHI"), with `vowel` marking vowels;
// false when the name holds a letter with no sound (the synthesizer then falls back).
bool UnitPhones(std::string_view name, std::vector<Phone>& phones);

// The rendering of a unit with durations times `scale`; the voice's pair list must be loaded
// (uttsProsodia::LoadDiphoneList) and so must its durations (LoadProsody).
bool PlanUnit(std::string_view name, double scale, Plan& plan);

// The plan as MBROLA lines with a flat pitch of `hertz`.
std::string PhoLines(const Plan& plan, int hertz);

}  // namespace unitplan
