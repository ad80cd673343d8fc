// TIRLA: ORVIA normalisation of numbers by their shape (document and phone numbers, codes,
// fractions, scores), numbers that agree with a feminine noun, and the words of the word
// list (chat abbreviations, loanwords written with signs), hashtags.
#include <string>

#include "orvia/text/uttsNormalParts.h"
#include "orvia/text/uttsPreprocParts.h"
#include "platform/codepage.h"

namespace uttsNormal {
namespace {

constexpr size_t kShortestCode = 5;     // digits of a run read as a code, not as a number
constexpr size_t kShortestZeroCode = 4;  // the same for a run that starts with a zero
constexpr size_t kCodeGroup = 3;        // digits of a group of a code
constexpr size_t kLongestScore = 2;     // digits of each side of a score
constexpr size_t kLongestNumerator = 2;
constexpr size_t kLongestDenominator = 4;
constexpr const char* kGroupPause = ", ";
constexpr const char* kAnyDenominator = "*";  // [FRACOES]: the denominators not listed

bool At(std::string_view text, size_t pos, char c) { return pos < text.size() && text[pos] == c; }

// Whether what was read ends at pos: no digit or letter there, and no separator that goes on
// with a digit ("1-2", "1.2", "1/2").
bool Boundary(std::string_view text, size_t pos) {
  if (IsDigitAt(text, pos) || IsLetterAt(text, pos)) return false;
  const bool separator = At(text, pos, '/') || At(text, pos, '-') || At(text, pos, '.') ||
                         At(text, pos, ',') || At(text, pos, ':');
  return !(separator && IsDigitAt(text, pos + 1));
}

bool DigitBefore(const Walk& w) { return w.pos > 0 && IsDigitAt(w.text, w.pos - 1); }

// The length of the shape matched at pos, or 0.
size_t MatchShape(std::string_view text, size_t pos, std::string_view shape) {
  if (text.size() - pos < shape.size()) return 0;
  for (size_t i = 0; i < shape.size(); ++i) {
    const char s = shape[i], c = text[pos + i];
    if (s == 'd' || s == 'n' ? !uttsPreproc::IsDigit(c) : c != s) return 0;
  }
  return Boundary(text, pos + shape.size()) ? shape.size() : 0;
}

// Digits one by one, each after a blank but the first: "1 2 3" (the preprocessing says them).
void WriteDigits(std::string& out, std::string_view digits) {
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0) out += ' ';
    out += digits[i];
  }
}

// The word after the blank at pos, or empty.
std::string_view WordAfter(std::string_view text, size_t pos) {
  if (!At(text, pos, ' ')) return {};
  size_t end = pos + 1;
  while (IsLetterAt(text, end)) ++end;
  return text.substr(pos + 1, end - pos - 1);
}

// Whether a noun is feminine: the noun itself, else its longest listed ending.
bool IsFeminine(std::string_view noun) {
  const auto& table = T().feminine;
  if (table.empty() || noun.empty()) return false;
  const std::string lower = platform::LowerCp1252(noun);
  if (auto found = table.find(lower); found != table.end()) return found->second;
  for (size_t from = 1; from < lower.size(); ++from) {
    auto found = table.find("-" + lower.substr(from));
    if (found != table.end()) return found->second;
  }
  return false;
}

}  // namespace

bool DigitGroups(Walk& w) {
  const std::string_view text = w.text;
  if (DigitBefore(w)) return false;
  for (const std::string& shape : T().digitShapes) {
    const size_t length = MatchShape(text, w.pos, shape);
    if (length == 0) continue;
    // One group per run of d or n; every sign between groups is a pause.
    bool first = true;
    for (size_t i = 0; i < length;) {
      const char kind = shape[i];
      if (kind != 'd' && kind != 'n') {
        ++i;
        continue;
      }
      size_t end = i;
      while (end < length && shape[end] == kind) ++end;
      if (!first) w.out += kGroupPause;
      first = false;
      const std::string_view digits = text.substr(w.pos + i, end - i);
      if (kind == 'd') WriteDigits(w.out, digits);
      else w.out += digits;
      i = end;
    }
    w.pos += length;
    return true;
  }
  return false;
}

bool DigitCode(Walk& w) {
  const std::string_view text = w.text;
  if (DigitBefore(w)) return false;
  size_t end = w.pos;
  while (IsDigitAt(text, end)) ++end;
  const size_t n = end - w.pos;
  const std::string_view digits = text.substr(w.pos, n);
  // a leading zero makes a code of four digits too ("0482"); no number is written so
  const size_t shortest = digits[0] == '0' ? kShortestZeroCode : kShortestCode;
  if (n < shortest || !Boundary(text, end)) return false;
  // A round number written without separators ("10000", "12500") is a number.
  if (digits[0] != '0' && digits.ends_with("00")) return false;
  // Groups of three; the end in twos where a lone digit would be left.
  for (size_t from = 0; from < n;) {
    const size_t left = n - from;
    const size_t size = left == 4 || left == 2 ? 2 : kCodeGroup;
    if (from > 0) w.out += kGroupPause;
    WriteDigits(w.out, digits.substr(from, std::min(size, left)));
    from += std::min(size, left);
  }
  w.pos = end;
  return true;
}

bool Fraction(Walk& w) {
  const std::string_view text = w.text;
  if (DigitBefore(w) || (w.pos > 0 && text[w.pos - 1] == '/')) return false;
  std::uint64_t numerator = 0, denominator = 0;
  const size_t n1 = ReadDigits(text, w.pos, numerator);
  if (n1 == 0 || n1 > kLongestNumerator || !At(text, w.pos + n1, '/')) return false;
  const size_t n2 = ReadDigits(text, w.pos + n1 + 1, denominator);
  const size_t end = w.pos + n1 + 1 + n2;
  // a proper fraction only: "24/7" is not one
  if (n2 == 0 || n2 > kLongestDenominator || numerator == 0 || numerator >= denominator ||
      !Boundary(text, end) || At(text, end, '/'))
    return false;
  const auto& units = T().fractions;
  const auto named = units.find(std::to_string(denominator));
  const auto other = units.find(kAnyDenominator);
  if (named == units.end() && other == units.end()) return false;
  w.out += std::to_string(numerator);
  w.out += ' ';
  if (named == units.end()) {  // "trÃªs onze avos"
    w.out += std::to_string(denominator);
    w.out += ' ';
  }
  w.out += UnitWord(named != units.end() ? named->second : other->second, numerator == 1);
  w.pos = end;
  return true;
}

bool Score(Walk& w) {
  const std::string_view text = w.text;
  if (DigitBefore(w)) return false;
  std::uint64_t a = 0, b = 0;
  const size_t n1 = ReadDigits(text, w.pos, a);
  size_t pos = w.pos + n1;
  if (n1 == 0 || n1 > kLongestScore || !At(text, pos, ' ') ||
      !(At(text, pos + 1, 'x') || At(text, pos + 1, 'X')) || !At(text, pos + 2, ' '))
    return false;
  const size_t n2 = ReadDigits(text, pos + 3, b);
  const size_t end = pos + 3 + n2;
  if (n2 == 0 || n2 > kLongestScore || !Boundary(text, end)) return false;
  // "3 x 4 m" is a size: "três por quatro metros"
  const std::string_view next = WordAfter(text, end);
  const bool size = !next.empty() && T().units.contains(std::string(next));
  w.out.append(text, w.pos, n1);
  w.out += size ? " por " : " a ";
  w.out.append(text, pos + 3, n2);
  w.pos = end;
  return true;
}

bool Counted(Walk& w) {
  const std::string_view text = w.text;
  if (DigitBefore(w)) return false;
  std::uint64_t value = 0, part = 0;
  size_t pos = w.pos, n = ReadDigits(text, pos, value);
  if (n == 0 || (text[pos] == '0' && n > 1)) return false;
  pos += n;
  while (At(text, pos, '.') && ReadDigits(text, pos + 1, part) == 3 && !IsDigitAt(text, pos + 4)) {
    value = value * 1000 + part;
    pos += 4;
  }
  if (!Boundary(text, pos)) return false;
  const std::string_view noun = WordAfter(text, pos);
  if (noun.empty() || !IsFeminine(noun)) return false;
  w.out += CardinalFor(value, true);
  w.pos = pos;
  return true;
}

bool ListedWord(Walk& w) {
  const Tables& t = T();
  const std::string_view text = w.text;
  if (!t.wordStarts.MayHave(text.substr(w.pos, 2))) return false;
  // The token: letters, with a hyphen between letters ("e-mail") and a closing slash ("p/").
  size_t end = w.pos;
  bool lower = false;
  while (true) {
    while (IsLetterAt(text, end)) {
      if (platform::UpperCp1252(static_cast<unsigned char>(text[end])) !=
          static_cast<unsigned char>(text[end]))
        lower = true;
      ++end;
    }
    if (At(text, end, '-') && IsLetterAt(text, end + 1)) ++end;
    else break;
  }
  if (At(text, end, '/') && !IsLetterAt(text, end + 1) && !IsDigitAt(text, end + 1)) ++end;
  if (end - w.pos > t.longestWord) return false;
  // Capitals of two letters or more are acronyms, not chat ("TD", "MT").
  if (!lower && end - w.pos > 1 && IsLetterAt(text, end - 1)) return false;
  const std::string key = platform::LowerCp1252(text.substr(w.pos, end - w.pos));
  auto found = t.words.end();
  const std::string_view next = WordAfter(text, end);
  if (!next.empty() && key.size() + 1 + next.size() <= t.longestWord) {
    found = t.words.find(key + ' ' + platform::LowerCp1252(next));
    if (found != t.words.end()) end += 1 + next.size();
  }
  if (found == t.words.end()) found = t.words.find(key);
  if (found == t.words.end()) return false;
  w.out += found->second;
  w.wordBefore = w.lastWord;
  w.lastWord = text.substr(w.pos, end - w.pos);
  w.pos = end;
  return true;
}

bool Hashtag(Walk& w) {
  const std::string_view text = w.text;
  if (!At(text, w.pos, '#') || !IsLetterAt(text, w.pos + 1)) return false;
  const auto found = T().words.find("hashtag");
  w.out += ' ';
  w.out += found != T().words.end() ? found->second : std::string("hashtag");
  w.out += ' ';
  ++w.pos;
  return true;
}

bool VerbForm(Walk& w) {
  const Tables& t = T();
  if (t.verbs.empty() || w.lastWord.empty() || w.lastWord.size() > t.longestSubject) return false;
  // only right after the pronoun: "eu gosto", not "eu, gosto" nor "eu ... gosto"
  const std::string_view text = w.text;
  if (w.pos == 0 || text[w.pos - 1] != ' ' || w.pos < w.lastWord.size() + 1 ||
      text.substr(w.pos - 1 - w.lastWord.size(), w.lastWord.size()) != w.lastWord)
    return false;
  if (!t.verbStarts.MayHave(text.substr(w.pos, 2)) || !t.subjectStarts.MayHave(w.lastWord) ||
      !t.subjects.contains(platform::LowerCp1252(w.lastWord)))
    return false;
  size_t end = w.pos;
  while (IsLetterAt(text, end)) ++end;
  const auto found = t.verbs.find(platform::LowerCp1252(text.substr(w.pos, end - w.pos)));
  if (found == t.verbs.end()) return false;
  w.out += found->second;
  w.wordBefore = w.lastWord;
  w.lastWord = text.substr(w.pos, end - w.pos);
  w.pos = end;
  return true;
}

}  // namespace uttsNormal
