// TIRLA: ORVIA stress position of a Portuguese word.
#include "orvia/text/uttsTonica.h"

#include "orvia/text/uttsPortugCase.h"
#include "platform/byteset.h"
#include "platform/codepage.h"

namespace uttsTonica {
namespace {

// States of the right-to-left scan.
enum class Scan { Start, AfterAeo, SeekPenult, PenultIu, AeoAfterU, PenultIuAfterU, AfterU,
                  AfterI, AfterUi, AfterConsonant, AfterM };

// Vowels whose accent marks the stress: à á â ã é ê í ó ô õ ú.
constexpr platform::ByteSet kAccented("\xE0\xE1\xE2\xE3\xE9\xEA\xED\xF3\xF4\xF5\xFA");
constexpr platform::ByteSet kTilde("\xE3\xF5");  // � �
constexpr platform::ByteSet kVowels("aeiouwy\xFC");  // ü counts

}  // namespace

int FindStress(const std::string& word) {
  std::string w = platform::LowerCp1252(word);
  int n = static_cast<int>(w.size());
  bool anyVowel = false;
  int tilde = 0;  // a tilde marks the stress only when no acute or circumflex does: �rg�o
  for (int pos = n; pos >= 1; --pos) {
    char c = w[pos - 1];
    if (kTilde.Has(c)) {
      if (tilde == 0) tilde = pos;
    } else if (kAccented.Has(c)) {
      return pos;
    }
    if (kVowels.Has(c)) anyVowel = true;
  }
  if (tilde != 0) return tilde;
  if (!anyVowel) return 0;

  int r = 0;
  Scan s = Scan::Start;
  for (int pos = n; pos >= 1; --pos) {
    char c = w[pos - 1];
    bool aeo = c == 'a' || c == 'e' || c == 'o';
    bool gq = c == 'g' || c == 'q';
    switch (s) {
      case Scan::Start:
        if (aeo) { r = pos; s = Scan::AfterAeo; }
        else if (c == 'i') { r = pos; s = Scan::AfterI; }
        else if (c == 'u') { r = pos; s = Scan::AfterU; }
        else if (c == 's') {}
        else if (c == 'm') s = Scan::AfterM;
        else s = Scan::AfterConsonant;
        break;
      case Scan::AfterAeo:
        if (c == 'u') s = Scan::AeoAfterU;
        else if (kVowels.Has(c)) return pos;
        else s = Scan::SeekPenult;
        break;
      case Scan::SeekPenult:
        if (aeo) return pos;
        if (c == 'i' || c == 'u') { r = pos; s = Scan::PenultIu; }
        break;
      case Scan::PenultIu:
        if (aeo) return pos;
        if (c == 'u') s = Scan::PenultIuAfterU;
        else return r;
        break;
      case Scan::AeoAfterU:
        if (gq) { r = pos + 2; s = Scan::SeekPenult; }
        else return pos + 1;
        break;
      case Scan::PenultIuAfterU:
        return gq ? pos + 2 : pos + 1;
      case Scan::AfterU:
        if (aeo || c == 'i') return pos;
        return r;
      case Scan::AfterI:
        // a vowel before the a/e/o of a final diphthong is in hiatus with it: re-AIS, le-AIS
        if (aeo && pos >= 2 && kVowels.Has(w[pos - 2])) return pos;
        if (aeo) r = pos;
        else if (c == 'u') s = Scan::AfterUi;
        else return r;
        break;
      case Scan::AfterUi:
        return gq ? pos + 2 : pos + 1;
      case Scan::AfterConsonant:
        if (kVowels.Has(c)) return pos;
        break;
      case Scan::AfterM:
        if (c == 'i' || c == 'o' || c == 'u') return pos;
        if (c == 'a' || c == 'e') { r = pos; s = Scan::AfterAeo; }
        else s = Scan::Start;
        break;
    }
  }
  return r;
}

}  // namespace uttsTonica
