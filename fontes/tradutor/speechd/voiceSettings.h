// TIRLA: the server's SET parameters, checked and kept, and how they map onto ORVIA: speed,
// pitch, loudness, the signs read, spelling, capital letters and the voice.
#pragma once
#include <string>
#include <vector>

#include "orvia/text/uttsPreproc.h"

namespace sdOrvia {

// How a capital letter said alone (CHAR, KEY, spelling) is told apart.
enum class Capitals : int { kNone, kSpell, kIcon };

struct VoiceSettings {
  int rate = 0;            // -100..100; 0 ORVIA's normal speed
  int pitch = 0;           // -100..100; 0 the voice's own pitch
  int pitchRange = 0;      // -100..100; kept (ORVIA's contour has no range setting)
  int volume = 100;        // -100..100; 100 the engine's full level
  uttsPreproc::Punctuation punctuation = uttsPreproc::Punctuation::kSome;
  bool spelling = false;   // spell the text letter by letter
  Capitals capitals = Capitals::kNone;
  std::string language;    // the client's language tag (lower case); empty: none given
  std::string voiceType;   // male1 .. child_female; empty: none given
  std::string voice;       // synthesis voice (a name of LIST VOICES); empty: the default
};

enum class SetResult : int {
  kOk,        // every line understood (unknown names are noted and skipped)
  kBadValue,  // a known name with a value out of its range or set
  kBadSyntax  // a line without '='
};

// Applies a SET block's "name=value" lines to `settings`, all or none: on a failure nothing
// changes, and `problem` names the line.
SetResult ApplySettings(VoiceSettings& settings, const std::vector<std::string>& lines,
                        std::string& problem);

// ORVIA's factors for a setting: the duration factor is ORVIA's normal 0.8 divided by 3 at
// rate 100 (three times as fast) and multiplied by 2 at rate -100 (half as fast), along an
// exponential curve; the pitch factor goes from 0.62 (-100) to 1.62 (100) the same way.
double DurationFactorFor(int rate);
double PitchFactorFor(int pitch);

// The factor the samples are multiplied by: 1 at volume 100, 0.5 at 0, silence at -100.
double GainFor(int volume);

}  // namespace sdOrvia
