// TIRLA: rewriting a word with the letter-to-sound rules and their context symbols.
#include <cstddef>

#include "diphone/rules.h"
#include "diphone/translator_chars.h"
#include "diphone/translator_word.h"

namespace translator {
namespace {

using Pos = std::ptrdiff_t;  // 0-based position in the word; may stand outside it

using platform::ByteSet;

inline constexpr ByteSet kLeftLiquidNasalS("nrsNRS");                               // left |
inline constexpr ByteSet kRightLiquidNasal("lmnrzLMNRZ");                           // right &
inline constexpr ByteSet kConsonantsNotRL("BCDFGHJKMNPQSTVWXYZbcdfghjkmnpqstvwxyz");  // right *
inline constexpr ByteSet kConsonantsNotH("BCDFGJKLMNPQRSTVWXYZbcdfgjklmnpqrstvwxyz");  // right [
inline constexpr ByteSet kVowelOrMark("AEIOUaeiou\"'^`~");                          // # on both sides

struct WordView {
  std::string_view w;
  bool Inside(Pos i) const { return i >= 0 && i < static_cast<Pos>(w.size()); }
  bool Is(Pos i, const ByteSet& set) const { return Inside(i) && set.Has(w[i]); }
};

// Tests one character of Left at `cur`, moving `cur` leftwards on success.
bool MatchLeftSymbol(const WordView& v, char symbol, Pos& cur) {
  switch (symbol) {
    case '#':  // one or more vowels or accent marks
      if (!v.Is(cur, kVowelOrMark)) return false;
      while (v.Is(cur, kVowelOrMark)) --cur;
      return true;
    case '%':  // start of the word
      return cur < 0;
    case ']':  // a or o, possibly with its accent mark
      if (v.Is(cur, kBackVowels)) {
        cur -= 1;
        return true;
      }
      if (v.Is(cur, kAccentMarks) && v.Is(cur - 1, kBackVowels)) {
        cur -= 2;
        return true;
      }
      return false;
    case '_':  // start of the word, or a vowel possibly with its accent mark
      if (cur < 0) return true;
      if (v.Is(cur, kVowels)) {
        cur -= 1;
        return true;
      }
      if (v.Is(cur, kAccentMarks) && v.Is(cur - 1, kVowels)) {
        cur -= 2;
        return true;
      }
      return false;
    case '|':  // n, r or s
      if (!v.Is(cur, kLeftLiquidNasalS)) return false;
      cur -= 1;
      return true;
    default:
      if (!v.Inside(cur) || UpperAscii(v.w[cur]) != symbol) return false;
      cur -= 1;
      return true;
  }
}

// Tests one character of Right at `cur`, moving `cur` rightwards on success.
bool MatchRightSymbol(const WordView& v, char symbol, Pos& cur) {
  switch (symbol) {
    case '#':  // one or more vowels or accent marks
      if (!v.Is(cur, kVowelOrMark)) return false;
      while (v.Is(cur, kVowelOrMark)) ++cur;
      return true;
    case '%':  // end of the word
      return cur >= static_cast<Pos>(v.w.size());
    case '&':  // l, m, n, r or z
      if (!v.Is(cur, kRightLiquidNasal)) return false;
      cur += 1;
      return true;
    case '*':  // a consonant other than r and l, not consumed
      return v.Is(cur, kConsonantsNotRL);
    case '+':  // e or i, with its accent mark
      if (!v.Is(cur, kFrontVowels)) return false;
      cur += 1;
      if (v.Is(cur, kAccentMarks)) cur += 1;
      return true;
    case '[':  // end of the word or a consonant other than h, not consumed
      return cur >= static_cast<Pos>(v.w.size()) || v.Is(cur, kConsonantsNotH);
    case '\\':  // anything, stepping over one s
      if (v.Inside(cur) && (v.w[cur] == 's' || v.w[cur] == 'S')) cur += 1;
      return true;
    default:
      if (!v.Inside(cur) || UpperAscii(v.w[cur]) != symbol) return false;
      cur += 1;
      return true;
  }
}

bool RuleApplies(const WordView& v, const RuleRecord& rule, Pos p) {
  const Pos n = static_cast<Pos>(rule.Match.size());
  if (p + n > static_cast<Pos>(v.w.size())) return false;
  for (Pos i = 0; i < n; ++i) {
    if (UpperAscii(v.w[p + i]) != rule.Match[i]) return false;
  }
  Pos cur = p - 1;
  for (auto it = rule.Left.rbegin(); it != rule.Left.rend(); ++it) {
    if (!MatchLeftSymbol(v, *it, cur)) return false;
  }
  cur = p + n;
  for (char symbol : rule.Right) {
    if (!MatchRightSymbol(v, symbol, cur)) return false;
  }
  return true;
}

// Upper-cases the first vowel of a segment: the letter it stands for was stressed.
void StressSegment(std::string& segment) {
  for (char& c : segment) {
    if (kVowels.Has(c)) {
      c = UpperAscii(c);
      return;
    }
  }
}

}  // namespace

void TranslateWord(std::string_view word, std::string& out) {
  const WordView v{word};
  const Pos length = static_cast<Pos>(word.size());
  std::string segment;
  out += '[';
  for (Pos p = 0; p < length;) {
    const char letter = UpperAscii(word[p]);
    segment.assign(" /_");
    segment += letter;
    Pos step = 1;
    for (const RuleRecord& rule : RuleList(letter)) {
      if (RuleApplies(v, rule, p)) {
        segment = rule.Output;
        step = static_cast<Pos>(rule.Match.size());
        break;
      }
    }
    const char stored = word[p];
    if (stored >= 'A' && stored <= 'Z' && kVowels.Has(stored)) StressSegment(segment);
    out += segment;
    p += step;
    if (p < length) out += '/';
  }
  out += ']';
}

}  // namespace translator
