// TIRLA: ORVIA normalisation: the walk over the text that hands each place to the handler of
// its kind (money, dates, times, units, abbreviations with signs, Roman numerals, acronyms).
#include "orvia/uttsNormal.h"

#include "orvia/uttsNormalParts.h"
#include "orvia/uttsPreprocParts.h"
#include "platform/codepage.h"

namespace uttsNormal {
namespace {

using Handler = bool (*)(Walk&);

// Handlers tried where a number starts, in this order.
constexpr Handler kAtDigit[] = {Date, Time, Money, NumberAndUnit};
// Handlers tried where a word starts.
constexpr Handler kAtLetter[] = {Money, SignedAbbreviation, Roman, Acronym};
// Handlers tried at any other character (a currency sign before the amount).
constexpr Handler kAtOther[] = {Money};

// Room for what the text usually grows to.
constexpr size_t kGrowthGuess = 2;

bool IsLowerLetter(unsigned char c) {
  return uttsPreproc::IsWordLetter(c) && platform::UpperCp1252(c) != c;
}


template <size_t N>
bool TryEach(Walk& w, const Handler (&handlers)[N]) {
  for (Handler handler : handlers)
    if (handler(w)) return true;
  return false;
}

// Copies the word at the position and remembers it; a word inside a longer run of letters and
// digits ("MP3") is copied whole.
void CopyWord(Walk& w) {
  const size_t start = w.pos;
  while (w.pos < w.text.size() && (IsLetterAt(w.text, w.pos) || IsDigitAt(w.text, w.pos))) ++w.pos;
  w.out.append(w.text, start, w.pos - start);
  w.wordBefore = w.lastWord;
  w.lastWord = w.text.substr(start, w.pos - start);
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

const std::string& UnitWord(const Unit& unit, bool one) { return one ? unit.singular : unit.plural; }

std::string NormalizeText(const std::string& text) {
  if (!T().loaded) return text;  // no normalisation file: nothing to do
  Walk w;
  w.text = text;
  w.out.reserve(text.size() * kGrowthGuess);
  for (unsigned char c : text) {
    if (IsLowerLetter(c)) {
      w.mixedCase = true;
      break;
    }
  }
  while (w.pos < w.text.size()) {
    const unsigned char c = w.text[w.pos];
    if (uttsPreproc::IsDigit(c)) {
      const bool inWord = w.pos > 0 && IsLetterAt(w.text, w.pos - 1);
      if (!inWord && TryEach(w, kAtDigit)) continue;
      while (IsDigitAt(w.text, w.pos)) w.out += w.text[w.pos++];
    } else if (uttsPreproc::IsWordLetter(c)) {
      if (TryEach(w, kAtLetter)) continue;
      CopyWord(w);
    } else {
      if (TryEach(w, kAtOther)) continue;
      w.out += static_cast<char>(c);
      ++w.pos;
    }
  }
  return w.out;
}

}  // namespace uttsNormal
