// TIRLA: speech from inside the line editor: the item at the cursor, the speed change, and
// the field dialled as telephone tones.
#include <string>

#include "console/keyboard.h"
#include "diphone/synth.h"
#include "diphone/waveout.h"
#include "frontend/editor_field.h"
#include "frontend/sound.h"
#include "frontend/speech.h"
#include "frontend/state.h"
#include "platform/byteset.h"
#include "platform/messages.h"

namespace frontend::editor {
namespace {

constexpr int kWaitSliceMs = 50;
constexpr uint16_t kToneGapMs = 100;     // after each tone
constexpr uint16_t kCommaPauseMs = 1000;  // a comma waits, as a telephone's pause key does

constexpr platform::ByteSet kDigits = platform::ByteSet().AddRange('0', '9');
// Letters of an item: A..Z in either case, and every code from 128.
constexpr platform::ByteSet kItemLetters =
    platform::ByteSet().AddRange('A', 'Z').AddRange('a', 'z').AddRange(128, 255);
// A run of only these has no vowel (an abbreviation): it is spelled.
constexpr platform::ByteSet kConsonants = platform::ByteSet("BCDFGHJKLMNPQRSTVXZ");
// Characters that have a telephone tone.
constexpr platform::ByteSet kToneKeys = platform::ByteSet("#*").AddRange('0', '9');

bool In(const platform::ByteSet& set, char c) { return set.Has(static_cast<unsigned char>(c)); }

bool IsItemLetter(char c) { return In(kItemLetters, c); }

void WaitWhileSpeaking() {
  while (IsSpeaking()) platform::WaitMessages(kWaitSliceMs);
}

}  // namespace

void SpeakItem(Field& f) {
  int p = f.cursor;
  while (p <= f.maxLength && At(f, p) == ' ') ++p;
  if (p > f.maxLength) {
    Beep();
    return;
  }
  const int start = p;
  const char first = At(f, p);
  if (first == '-' || In(kDigits, first)) {
    if (first == '-') ++p;
    while (p <= f.maxLength && In(kDigits, At(f, p))) ++p;
    SpeakText(f.text.substr(start - 1, p - start));
  } else if (IsItemLetter(first)) {
    while (p <= f.maxLength && IsItemLetter(At(f, p))) ++p;
    const std::string item = f.text.substr(start - 1, p - start);
    bool vowel = false;
    for (const char c : UpperCaseLatin1(item)) vowel = vowel || !In(kConsonants, c);
    if (vowel)
      SpeakText(item);
    else
      SpellText(item);
  } else {
    ++p;
    SpellText(std::string(1, first));
  }
  f.cursor = p;
}

// A speed digit 1..5 restarts speech at that level; Escape or Enter keep it; any other key
// restarts at the configured speed.
void ChangeSpeed(Field&) {
  SpeakSoundFile("_VELOC");
  uint8_t key = SpeakKey();
  while (console::KeyWaiting()) key = SpeakKey();
  if (key == 27 || key == 13) return;
  const int speed = key >= '1' && key <= '5' ? key - '0' : 0;
  const std::string soundDirectory = State().soundDirectory;
  EndSpeech();
  StartSpeech(speed, soundDirectory);
}

// Tones are played at their own rate; a key stops the dialling.
void Dial(Field& f) {
  waveout::WaveFlags& flags = waveout::Flags();
  const bool fastRate = flags.FastRate;
  flags.FastRate = false;
  for (const char c : f.text) {
    if (console::KeyWaiting()) break;
    if (In(kToneKeys, c)) {
      WaitEngineSpeech();
      waveout::PlayWavFile(synth::LettersDir() + "dtmf_" + (c == '*' ? 'X' : c) + ".wav");
      WaitWhileSpeaking();
      console::Pause(kToneGapMs);
    } else if (c == ',') {
      console::Pause(kCommaPauseMs);
    }
  }
  flags.FastRate = fastRate;
}

}  // namespace frontend::editor
