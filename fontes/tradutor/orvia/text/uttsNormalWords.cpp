// TIRLA: ORVIA normalisation of words: abbreviations written with signs or at the end of the
// text, Roman numerals after the words that take them, and acronyms.
#include <string>

#include "orvia/text/uttsNormalParts.h"
#include "orvia/text/uttsPreprocParts.h"
#include "platform/codepage.h"

namespace uttsNormal {
namespace {

constexpr char kMasculineOrdinal = '\xBA';  // º
constexpr char kFeminineOrdinal = '\xAA';   // ª
constexpr size_t kShortestEndAbbreviation = 2;  // letters of an abbreviation read at the end
constexpr std::uint64_t kLastOrdinalRoman = 10;  // above: the cardinal
constexpr size_t kLongestSpelledInMixedText = 2;  // letters of a capitalised word spelled
                                                  // even when it could be said: state and
                                                  // short codes ("BA", "TO"); longer capitals
                                                  // in mixed text are emphasis ("Eu te AMO")

bool At(std::string_view text, size_t pos, char c) { return pos < text.size() && text[pos] == c; }

bool IsUpperLetter(unsigned char c) {
  return uttsPreproc::IsWordLetter(c) && platform::LowerCp1252(c) != c;
}

// Where the run of letters at pos ends.
size_t WordEnd(std::string_view text, size_t pos) {
  while (IsLetterAt(text, pos)) ++pos;
  return pos;
}

// Writes a word and remembers it for the Roman numerals.
void Emit(Walk& w, std::string_view words, size_t end) {
  w.out += words;
  w.wordBefore = w.lastWord;
  w.lastWord = w.text.substr(w.pos, end - w.pos);
  w.pos = end;
}

// The value of a Roman numeral in capitals (I V X L C D M, subtractive pairs); 0 when the
// letters are not one.
std::uint64_t RomanValue(std::string_view letters) {
  auto value = [](char c) -> int {
    switch (c) {
      case 'I': return 1;
      case 'V': return 5;
      case 'X': return 10;
      case 'L': return 50;
      case 'C': return 100;
      case 'D': return 500;
      case 'M': return 1000;
      default: return 0;
    }
  };
  int total = 0;
  for (size_t i = 0; i < letters.size(); ++i) {
    int v = value(letters[i]);
    if (v == 0) return 0;
    int next = i + 1 < letters.size() ? value(letters[i + 1]) : 0;
    total += next > v ? -v : v;
  }
  if (total <= 0 || total >= 4000) return 0;
  // Only the canonical spelling counts: "IIII" or "VX" are not numerals.
  static constexpr struct { int v; const char* s; } kParts[] = {
      {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
      {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},  {1, "I"}};
  std::string canonical;
  for (int rest = total; const auto& part : kParts)
    while (rest >= part.v) {
      canonical += part.s;
      rest -= part.v;
    }
  return canonical == letters ? static_cast<std::uint64_t>(total) : 0;
}

// How a numeral after the last words is read; false when they do not take one.
bool ReadingAfter(const Walk& w, size_t letters, RomanReading& reading) {
  const Tables& t = T();
  if (w.lastWord.empty()) return false;
  auto found = t.roman.find(platform::UpperCp1252(w.lastWord));
  if (found != t.roman.end()) {
    reading = found->second;
    return true;
  }
  // A name after a word that takes a numeral ("Dom Pedro II"), or any capitalised name
  // before a numeral of two letters or more ("Luís XIV").
  if (!IsUpperLetter(w.lastWord[0])) return false;
  if (!w.wordBefore.empty()) {
    found = t.roman.find(platform::UpperCp1252(w.wordBefore));
    if (found != t.roman.end()) {
      reading = found->second;
      return true;
    }
  }
  if (!t.romanAfterNames || letters < 2) return false;
  reading = t.properName;
  return true;
}

// Whether a word in capitals could be said as a Portuguese word: its consonants group as in
// Portuguese syllables (a vowel, then consonant clusters such as BR or a final S).
bool Pronounceable(std::string_view word) {
  auto vowel = [](char c) { return std::string_view("AEIOU").find(c) != std::string_view::npos; };
  auto coda = [](char c) { return std::string_view("LMNRSXZ").find(c) != std::string_view::npos; };
  auto cluster = [](char a, char b) {  // two consonants that open a syllable together
    return ((b == 'L' || b == 'R') && std::string_view("BCDFGKPTV").find(a) != std::string_view::npos) ||
           (b == 'H' && std::string_view("CLN").find(a) != std::string_view::npos);
  };
  bool anyVowel = false;
  size_t i = 0;
  while (i < word.size()) {
    if (vowel(word[i])) {
      anyVowel = true;
      ++i;
      continue;
    }
    size_t j = i;
    while (j < word.size() && !vowel(word[j])) ++j;
    const std::string_view run = word.substr(i, j - i);
    const bool start = i == 0, end = j == word.size();
    bool ok;
    if (start && run == "TCH") ok = !end;  // TCHAU
    else if (end) ok = !start && coda(run[0]) && (run.size() == 1 || run == "NS" || run == "RS");
    else if (run.size() == 1) ok = true;
    else if (run.size() == 2) ok = cluster(run[0], run[1]) || (!start && coda(run[0]));
    else ok = run.size() == 3 && !start && coda(run[0]) && cluster(run[1], run[2]);
    if (!ok) return false;
    i = j;
  }
  return anyVowel;
}

}  // namespace

bool SignedAbbreviation(Walk& w) {
  const std::string_view text = w.text;
  // The token: letters, and the periods and ordinal signs inside or after them.
  size_t end = w.pos;
  bool signs = false;
  while (end < text.size()) {
    if (IsLetterAt(text, end)) {
      ++end;
    } else if ((text[end] == '.' && end > w.pos &&
                (IsLetterAt(text, end + 1) || At(text, end + 1, kMasculineOrdinal) ||
                 At(text, end + 1, kFeminineOrdinal))) ||
               text[end] == kMasculineOrdinal || text[end] == kFeminineOrdinal) {
      signs = true;
      ++end;
    } else {
      break;
    }
  }
  const bool period = At(text, end, '.');
  const bool atTheEnd = period && (end + 1 == text.size() || text[end + 1] == '\n' ||
                                   text[end + 1] == '\r' || text[end + 1] == ')');
  if (!signs && !(atTheEnd && end - w.pos >= kShortestEndAbbreviation)) return false;
  const std::string_view token = text.substr(w.pos, end - w.pos);
  std::string withPeriod(token);
  withPeriod += '.';
  const std::string* expansion = nullptr;
  if (period && !(expansion = &uttsPreproc::LookupAbbreviation(withPeriod))->empty()) {
    ++end;  // the period belongs to the abbreviation ("S.A.", "p.ex.")
  } else {
    expansion = &uttsPreproc::LookupAbbreviation(token);
    if (expansion->empty()) return false;
    if (period && (signs || atTheEnd)) ++end;
  }
  // At the end of the text the sentence still ends: its period is kept.
  const bool keepStop = end == text.size() && text[end - 1] == '.';
  Emit(w, *expansion, end);
  if (keepStop) w.out += '.';
  return true;
}

bool Roman(Walk& w) {
  const std::string_view text = w.text;
  if (std::string_view("IVXLCDM").find(text[w.pos]) == std::string_view::npos) return false;
  const size_t end = WordEnd(text, w.pos);
  const std::string_view letters = text.substr(w.pos, end - w.pos);
  const std::uint64_t value = RomanValue(letters);
  RomanReading reading;
  if (value == 0 || !ReadingAfter(w, letters.size(), reading)) return false;
  std::string words;
  if (reading == RomanReading::Cardinal || value > kLastOrdinalRoman) {
    words = CardinalFor(value, false);
  } else {
    words = uttsPreproc::OrdinalWords(value, reading == RomanReading::Feminine
                                                 ? uttsPreproc::Gender::Feminine
                                                 : uttsPreproc::Gender::Masculine);
  }
  Emit(w, words, end);
  return true;
}

bool Acronym(Walk& w) {
  const std::string_view text = w.text;
  if (!IsUpperLetter(text[w.pos]) || !IsLetterAt(text, w.pos + 1) ||
      !IsUpperLetter(text[w.pos + 1]))
    return false;
  const size_t end = WordEnd(text, w.pos);
  const std::string_view word = text.substr(w.pos, end - w.pos);
  for (unsigned char c : word)  // capitals without accents only
    if (!(c >= 'A' && c <= 'Z')) return false;
  if (IsDigitAt(text, end) || T().spokenAcronyms.contains(std::string(word))) return false;
  const bool spell = T().spelledAcronyms.contains(std::string(word)) ||
                     (word.size() <= kLongestSpelledInMixedText && MixedCase(w)) ||
                     !Pronounceable(word);
  if (!spell) return false;
  std::string spelled(1, ' ');
  for (unsigned char c : word) {
    spelled += uttsPreproc::CharName(c);
    spelled += ' ';
  }
  Emit(w, spelled, end);
  return true;
}

}  // namespace uttsNormal
