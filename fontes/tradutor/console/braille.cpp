// TIRLA: the six-key Braille chord keyboard (F D S J K L and the space bar).
#include <array>

#include "console/backend.h"
#include "console/internal.h"
#include "console/keyboard.h"
#include "platform/report.h"

namespace console {
namespace {

constexpr int kSpaceBit = 64;             // the space bar's bit in a chord
constexpr uint8_t kCapitalSign = 123;     // '{', dots 4 6
constexpr uint8_t kNumberSign = 35;       // '#', dots 3 4 5 6
constexpr uint8_t kNoCharacter = 254;     // a completed chord that adds nothing
constexpr uint16_t kOffTone = 100;        // the mode-off tone, also "not available"

struct BrailleState {
  int32_t mode = 0;          // 0 off, 1 computer Braille, 2 literary Braille
  uint8_t chord = 0;         // dots pressed since the chord began
  uint8_t held = 0;          // chord keys still down
  bool capital = false;      // the next letter is a capital
  bool capitals_lock = false;  // letters are capitals until the lock ends
  bool number = false;       // letters a..j are digits
};

BrailleState& State() {
  static BrailleState state;
  return state;
}

// Character of each cell, indexed by its six dot bits (dot 1 = bit 0 .. dot 6 = bit 5).
constexpr std::array<uint8_t, 64> kBrailleCellTable = {
    // dots 1-3: none  1    2    12   3    13   23   123      dots 4-6
    32,  97,  44,  98,  39,  107, 59,  108,  // none
    94,  99,  105, 102, 237, 109, 115, 112,  // 4
    126, 101, 58,  104, 42,  111, 33,  114,  // 5
    172, 100, 106, 103, 227, 110, 116, 113,  // 4 5
    253, 226, 63,  234, 45,  117, 34,  118,  // 6
    123, 238, 245, 224, 243, 120, 232, 231,  // 4 6
    36,  251, 255, 252, 125, 122, 61,  225,  // 5 6
    95,  244, 119, 239, 35,  121, 250, 233,  // 4 5 6
};
static_assert(kBrailleCellTable.size() == 64);

// Chord keys and their bits.
struct ChordKey {
  int vk;
  int bit;
};
constexpr std::array<ChordKey, 7> kChordKeys = {{
    {'F', 1}, {'D', 2}, {'S', 4}, {'J', 8}, {'K', 16}, {'L', 32}, {' ', kSpaceBit},
}};

// The literary Braille reading of one cell's character.
uint8_t LiteraryRules(uint8_t ch) {
  BrailleState& s = State();
  if (s.number) {
    if (ch == '\'') ch = '.';
    else if (ch >= 'a' && ch <= 'i') ch = static_cast<uint8_t>('1' + (ch - 'a'));
    else if (ch == 'j') ch = '0';
    else if (ch == '~') s.number = false;
  }
  if ((s.capital || s.capitals_lock) && ch >= 'a' && ch <= 'z') ch = static_cast<uint8_t>(ch - 32);
  if (ch == kNumberSign) {
    s.number = true;
    return kNoCharacter;
  }
  if (ch == kCapitalSign) {
    if (s.capital) s.capitals_lock = true;
    s.capital = true;
    return kNoCharacter;
  }
  s.capital = false;
  return ch;
}

// Sounds `frequency` Hz for 200 ms.
void Sound(uint16_t frequency) {
  StartTone(frequency);
  Pause(200);
  StopTone();
}

}  // namespace

void SetBrailleMode(int32_t mode) {
  BrailleState& s = State();
  if (mode > 2) mode = 1;
  if (mode < 0) mode = 0;
  if (mode != 0 && !backend::ReportsKeyUps()) {
    // Chords are made of keys held together: without key releases there are none.
    Sound(kOffTone);
    platform::Report(platform::Severity::kWarning,
                     "teclado Braille indispon\xEDvel: este terminal n\xE3o informa quando as "
                     "teclas s\xE3o soltas");
    mode = s.mode = 0;  // the configuration's mode too, without a second tone
  }
  if (mode == 0) {
    s.chord = s.held = 0;
    detail::ClearBrailleFlags();
    if (s.mode != 0) Sound(kOffTone);
  } else {
    Sound(800);
    Sound(mode == 1 ? 1600 : 400);
  }
  s.mode = mode;
}

int32_t BrailleMode() { return State().mode; }

namespace detail {

void StartBraille() { State() = BrailleState{}; }

void SetBrailleModeValue(int32_t mode) { State().mode = mode; }

void ClearBrailleFlags() {
  BrailleState& s = State();
  s.capital = s.capitals_lock = s.number = false;
}

int ChordBit(int vk) {
  for (const ChordKey& key : kChordKeys)
    if (key.vk == vk) return key.bit;
  return 0;
}

void BrailleKeyDown(int bit) {
  BrailleState& s = State();
  s.chord = static_cast<uint8_t>(s.chord | bit);
  s.held = static_cast<uint8_t>(s.held | bit);
}

bool BrailleKeyUp(int vk, unsigned modifiers) {
  BrailleState& s = State();
  const bool letter = vk >= 'A' && vk <= 'Z';
  if ((modifiers & platform::kModCtrl) || !(vk == ' ' || letter)) {
    ClearBrailleFlags();
    return false;
  }
  s.held = static_cast<uint8_t>(s.held & ~ChordBit(vk));
  if (s.held != 0) return true;
  uint8_t ch;
  if (s.chord & kSpaceBit) {
    ClearBrailleFlags();
    ch = s.chord == kSpaceBit ? ' ' : (kBrailleCellTable[s.chord & 63] & 31);
  } else {
    ch = kBrailleCellTable[s.chord & 63];
    if (s.mode == 2) ch = LiteraryRules(ch);
  }
  if (ch != kNoCharacter) QueueAppend(ch);
  s.chord = 0;
  return true;
}

// The display's keyboard gives whole cells: the same table and rules as a chord. Dot 7 alone is
// Backspace and dot 8 alone Enter, as on the displays' own keyboards; no dots is the space bar.
void TypeBrailleCell(int dots) {
  BrailleState& s = State();
  uint8_t ch;
  if (dots == 0x40) {
    ch = 8;
  } else if (dots == 0x80) {
    ch = 13;
  } else if ((dots & 63) == 0) {
    ClearBrailleFlags();
    ch = ' ';
  } else {
    ch = kBrailleCellTable[dots & 63];
    if (s.mode == 2) ch = LiteraryRules(ch);
  }
  if (ch != kNoCharacter) QueueAppend(ch);
}

}  // namespace detail
}  // namespace console
