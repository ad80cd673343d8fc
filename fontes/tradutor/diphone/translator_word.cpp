// TIRLA: normalisation, words, exceptions, stress and spelling.
#include "diphone/translator_word.h"

#include <array>

#include "diphone/rules.h"
#include "diphone/translator_chars.h"

namespace translator {
namespace {

// Appended in place of a character that has no spelling of its own.
constexpr std::string_view kNoSpellingPiece = " \x01 ";

// States of the stress scan, read from the end of the word towards its start.
enum StressState : unsigned char { S0, S1, S2, S3, S4, S5, S6, S7, S8 };

// Letter classes that drive the stress scan.
enum LetterClass : unsigned char {
  kAE,        // a e
  kO,         // o
  kIU,        // i u
  kLNRXZ,     // l n r x z
  kM,         // m
  kS,         // s
  kOtherConsonant,
  kUpperVowel,  // a vowel already marked
  kOther,
  kClassCount
};

LetterClass ClassOf(char c) {
  switch (c) {
    case 'a': case 'e': return kAE;
    case 'o': return kO;
    case 'i': case 'u': return kIU;
    case 'l': case 'n': case 'r': case 'x': case 'z': return kLNRXZ;
    case 'm': return kM;
    case 's': return kS;
    default: break;
  }
  if (kConsonants.Has(c)) return kOtherConsonant;
  if (kVowels.Has(c)) return kUpperVowel;
  return kOther;
}

// Next state for states S0 to S5 and S8 by letter class; S3 and S8 have extra tests below.
//                                          a/e  o   i/u lnrxz m   s   cons UPV other
constexpr StressState kStressTable[][kClassCount] = {
    /* S0 */ {S5, S5, S3, S1, S2, S4, S0, S0, S0},
    /* S1 */ {S6, S6, S6, S1, S1, S1, S1, S6, S1},
    /* S2 */ {S5, S6, S3, S2, S2, S2, S2, S2, S2},
    /* S3 */ {S6, S6, S6, S7, S7, S7, S7, S6, S6},
    /* S4 */ {S5, S5, S3, S4, S4, S4, S4, S4, S4},
    /* S5 */ {S6, S6, S8, S5, S5, S5, S5, S5, S5},
    /* S6 */ {S6, S6, S6, S6, S6, S6, S6, S6, S6},
    /* S7 */ {S7, S7, S7, S7, S7, S7, S7, S7, S7},
    /* S8 */ {S6, S6, S6, S7, S7, S7, S7, S6, S6},
};
static_assert(std::size(kStressTable) == S8 + 1);

// The character at 0-based `i`, or 0 outside the word.
char At(std::string_view w, std::ptrdiff_t i) {
  return (i >= 0 && i < static_cast<std::ptrdiff_t>(w.size())) ? w[i] : '\0';
}

// A u after g or q: the u of gue/gui/que/qui, which leaves the stress to the next vowel.
bool IsSilentU(std::string_view w, std::ptrdiff_t c) {
  const char before = At(w, c - 1);
  return w[c] == 'u' && (before == 'g' || before == 'q');
}

// The extra test of S8: a falling diphthong closed by l, m, n, r or z before a consonant.
bool ClosesHeavySyllable(std::string_view w, std::ptrdiff_t c) {
  const char c2 = At(w, c + 2);
  const char c3 = At(w, c + 3);
  if (c2 == '\0' || std::string_view("lmnrz").find(c2) == std::string_view::npos) return false;
  if ((c2 == 'n' && c3 == 'h') || (c2 == 'r' && c3 == 'r')) return true;
  return c3 != '\0' && c3 != 'h' && kConsonants.Has(c3);
}

StressState NextStressState(StressState s, std::string_view w, std::ptrdiff_t c) {
  if ((s == S3 || s == S8) && IsSilentU(w, c)) return S7;
  if (s == S8 && kStressTable[s][ClassOf(w[c])] == S6 && ClosesHeavySyllable(w, c)) return S7;
  return kStressTable[s][ClassOf(w[c])];
}

}  // namespace

std::string NormaliseText(std::string_view text) {
  std::string source(text);
  std::string out;
  out.reserve(source.size() + source.size() / 4);
  for (std::size_t i = 0; i < source.size(); ++i) {
    const char before = i > 0 ? source[i - 1] : '\0';
    const char after = i + 1 < source.size() ? source[i + 1] : '\0';
    const bool letter_beside = kLetters.Has(before) || kLetters.Has(after);
    char& c = source[i];
    if ((c == 'W' || c == 'w') && letter_beside) c = 'u';
    if ((c == 'Y' || c == 'y') && letter_beside) c = 'i';
    const auto b = static_cast<unsigned char>(c);
    if (c == '\'' && (before == 'D' || before == 'd')) continue;
    std::string_view piece;
    if (b >= 128) {
      piece = CharSpelling(b);
      if (piece == "\xE7" || piece == "\xC7") piece = "ss";
    } else if (b >= 32) {
      piece = std::string_view(&c, 1);
    }
    out += piece.empty() ? kNoSpellingPiece : piece;
  }
  return out;
}

bool NextWord(std::string_view text, std::size_t& pos, Word& word) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
  if (pos >= text.size()) return false;
  word.Buffer.clear();
  word.VowelCount = 0;
  word.HasAccent = false;
  const char first = LowerAscii(text[pos]);
  if (!kLetters.Has(first)) {
    word.Buffer.push_back(first);
    ++pos;
    return true;
  }
  while (pos < text.size() && kWordChars.Has(text[pos]) && word.Buffer.size() < kMaxWordLength) {
    const char c = LowerAscii(text[pos]);
    if (!word.Buffer.empty() && kAccentMarks.Has(c) && c != '"') word.HasAccent = true;
    if (kVowels.Has(c)) ++word.VowelCount;
    word.Buffer.push_back(c);
    ++pos;
  }
  return true;
}

void ApplyExceptions(Word& word) {
  std::string w = word.Buffer;
  std::string suffix;
  for (;;) {
    if (const std::string* value = FindException(w)) {
      w = *value;
      break;
    }
    if (w.empty() || (w.back() != 's' && w.back() != 'm')) break;
    suffix.insert(suffix.begin(), w.back());
    w.pop_back();
    if (w.empty()) break;
  }
  word.Buffer = w + suffix;
  if (word.Buffer.size() > kMaxWordLength) word.Buffer.resize(kMaxWordLength);
}

void MarkStress(Word& word) {
  std::string& w = word.Buffer;
  if (word.HasAccent || word.VowelCount == 0 || w.empty()) return;
  if (word.VowelCount == 1 && w.back() != 'l') return;
  StressState state = S0;
  for (auto c = static_cast<std::ptrdiff_t>(w.size()) - 1; c >= 0; --c) {
    if (state == S6) {
      w[c + 1] = UpperAscii(w[c + 1]);
      return;
    }
    if (state == S7) {
      w[c + 2] = UpperAscii(w[c + 2]);
      return;
    }
    state = NextStressState(state, w, c);
  }
  // A mark decided at the first letter is applied only when it falls on a later letter: the
  // first letter itself stays unmarked (ano), but the i of vida or the u of lua is marked.
  if (state == S7) w[1] = UpperAscii(w[1]);
}

bool IsSpelledWord(std::string_view word) {
  if (word.empty()) return false;
  if (word[0] == kSpellMark) return true;
  for (char c : word) {
    if (!kConsonants.Has(c) && !kPunctuation.Has(c)) return false;
  }
  return true;
}

void SpellWord(std::string_view word, std::string& out) {
  for (char c : word) {
    out += "[ /_";
    out += c;
    out += ']';
  }
}

}  // namespace translator
