// TIRLA: ORVIA normalisation: the walk over the text that hands each place to the handler of
// its kind (money, dates, times, units, abbreviations with signs, Roman numerals, acronyms).
#include "orvia/text/uttsNormal.h"

#include "orvia/text/uttsNormalParts.h"
#include "orvia/text/uttsPreprocParts.h"
#include "platform/codepage.h"

namespace uttsNormal {
namespace {

using Handler = bool (*)(Walk&);

// Handlers tried where a number starts, in this order.
constexpr Handler kAtDigit[] = {Date,          Time,     DigitGroups, Money, NumberAndUnit,
                                DigitCode,     Fraction, Score,       Counted};

// Handlers tried at a sign, by its byte.
constexpr Handler SignHandler(unsigned char c) {
  return c == '(' || c == '+' ? DigitGroups : c == '#' ? Hashtag : nullptr;
}

// Room for what the text usually grows to.
constexpr size_t kGrowthGuess = 2;

constexpr char kMasculineOrdinal = '\xBA', kFeminineOrdinal = '\xAA';

// A word: its handlers are tried only where its first letter or what follows it can start
// their kind of text, so most words are copied after one look. Roman numerals and acronyms
// are written in the capitals A to Z.
bool WordHandled(Walk& w, const Tables& t, size_t end) {
  const unsigned char first = w.text[w.pos];
  const char after = end < w.text.size() ? w.text[end] : '\0';
  if (t.currencyStart[first] && Money(w)) return true;
  if (ListedWord(w) || VerbForm(w)) return true;
  if ((after == '.' || after == kMasculineOrdinal || after == kFeminineOrdinal) &&
      SignedAbbreviation(w))
    return true;
  return first >= 'A' && first <= 'Z' && (Roman(w) || Acronym(w));
}

}  // namespace

bool IsDigitAt(std::string_view text, size_t pos) {
  return pos < text.size() && uttsPreproc::IsDigit(text[pos]);
}

bool IsLetterAt(std::string_view text, size_t pos) {
  return pos < text.size() && uttsPreproc::IsWordLetter(text[pos]);
}

size_t ReadDigits(std::string_view text, size_t pos, std::uint64_t& value) {
  value = 0;
  size_t n = 0;
  while (IsDigitAt(text, pos + n) && n < static_cast<size_t>(uttsPreproc::MaxNumberDigits)) {
    value = value * 10 + static_cast<unsigned>(text[pos + n] - '0');
    ++n;
  }
  return n;
}

std::string CardinalFor(std::uint64_t value, bool feminine) {
  std::string words = uttsPreproc::CardinalWords(value);
  while (!words.empty() && words.back() == ' ') words.pop_back();
  if (!feminine) return words;
  // The units and hundreds turn feminine; the scale words above a thousand keep theirs.
  std::string out;
  size_t from = 0;
  while (from < words.size()) {
    size_t blank = words.find(' ', from);
    if (blank == std::string::npos) blank = words.size();
    std::string word = words.substr(from, blank - from);
    const std::string_view next =
        blank < words.size() ? std::string_view(words).substr(blank + 1) : std::string_view();
    const bool beforeScale =
        next.starts_with("milh") || next.starts_with("bilh") || next.starts_with("trilh");
    if (!beforeScale) {
      if (word == "um") word = "uma";
      else if (word == "dois") word = "duas";
      else if (word.size() > 5 && word.ends_with("entos")) word.replace(word.size() - 2, 1, "a");
    }
    out += word;
    if (blank < words.size()) out += ' ';
    from = blank + 1;
  }
  return out;
}

bool MixedCase(Walk& w) {
  if (w.mixedCase == Walk::kUnknown) {
    w.mixedCase = Walk::kNo;
    for (unsigned char c : w.text) {
      if (uttsPreproc::kWordLetters.Has(c) && platform::UpperCp1252(c) != c) {
        w.mixedCase = Walk::kYes;
        break;
      }
    }
  }
  return w.mixedCase == Walk::kYes;
}

const std::string& UnitWord(const Unit& unit, bool one) { return one ? unit.singular : unit.plural; }

std::string NormalizeText(const std::string& text) {
  const Tables& tables = T();
  if (!tables.loaded) return text;  // no normalisation file: nothing to do
  Walk w;
  w.text = text;
  w.out.reserve(text.size() * kGrowthGuess);
  const std::string_view t = w.text;
  while (w.pos < t.size()) {
    const unsigned char c = t[w.pos];
    if (uttsPreproc::IsDigit(c)) {
      const bool inWord = w.pos > 0 && uttsPreproc::kWordLetters.Has(t[w.pos - 1]);
      bool handled = false;
      for (Handler handler : kAtDigit)
        if (!inWord && (handled = handler(w))) break;
      if (handled) continue;
      while (IsDigitAt(t, w.pos)) w.out += t[w.pos++];
    } else if (uttsPreproc::kWordLetters.Has(c)) {
      size_t end = w.pos + 1;
      while (end < t.size() && uttsPreproc::kWordLetters.Has(t[end])) ++end;
      if (WordHandled(w, tables, end)) continue;
      w.out.append(t, w.pos, end - w.pos);
      w.wordBefore = w.lastWord;
      w.lastWord = t.substr(w.pos, end - w.pos);
      w.pos = end;
    } else if (tables.currencyStart[c] && Money(w)) {
      continue;
    } else if (Handler sign = SignHandler(c); sign && sign(w)) {
      continue;
    } else {
      w.out += static_cast<char>(c);
      ++w.pos;
    }
  }
  return w.out;
}

}  // namespace uttsNormal
