// TIRLA: reading numbers out of a text: digit strings with dashes, leading zeros, thousands
// separators and ordinal suffixes.
#include <string>
#include <string_view>

#include "orvia/text/uttsPreprocParts.h"
#include "platform/codepage.h"

namespace uttsPreproc {
namespace {

constexpr int kThousandsGroupDigits = 3;

const std::string& DashWord() {
  static const std::string word = platform::Utf8ToCp1252("traço");
  return word;
}

bool DigitAt(std::string_view text, std::size_t pos) {
  return pos < text.size() && IsDigit(text[pos]);
}

// The length of the run of digits and dashes at pos, and whether it holds a dash.
std::size_t ScanDigitsAndDashes(std::string_view text, std::size_t pos, bool& sawDash) {
  std::size_t end = pos;
  sawDash = false;
  for (; end < text.size() && (IsDigit(text[end]) || text[end] == '-'); ++end)
    if (text[end] == '-') sawDash = true;
  return end - pos;
}

// A telephone-like string: every digit by its unit word, every dash as "traço", each word
// after one blank.
std::string ReadDigitByDigit(std::string_view text, std::size_t& pos, std::size_t length) {
  std::string words;
  for (std::size_t end = pos + length; pos < end; ++pos) {
    words += ' ';
    words += text[pos] == '-' ? DashWord() : UnitWord(text[pos] - '0');
  }
  return words;
}

// A "." that separates thousands: followed by exactly three digits.
bool IsThousandsSeparator(std::string_view text, std::size_t pos) {
  if (pos >= text.size() || text[pos] != '.') return false;
  for (int i = 1; i <= kThousandsGroupDigits; ++i)
    if (!DigitAt(text, pos + i)) return false;
  return !DigitAt(text, pos + kThousandsGroupDigits + 1);
}

// Reads up to fifteen digits, skipping thousands separators.
std::uint64_t ReadValue(std::string_view text, std::size_t& pos) {
  std::uint64_t value = 0;
  int digits = 0;
  while (digits < MaxNumberDigits && pos < text.size()) {
    if (IsDigit(text[pos])) {
      value = value * 10 + static_cast<unsigned>(text[pos] - '0');
      ++digits;
      ++pos;
    } else if (IsThousandsSeparator(text, pos)) {
      ++pos;
    } else {
      break;
    }
  }
  return value;
}

// An ordinal suffix at pos: its gender, its length and whether it is plural.
struct OrdinalSuffix {
  Gender gender;
  std::size_t length;
  bool plural;
};

// Suffixes in the order they are tried: the ordinal signs, then "o." "a." "os." "as.".
bool MatchOrdinalSuffix(std::string_view text, std::size_t pos, OrdinalSuffix& suffix) {
  static constexpr struct {
    std::string_view text;
    Gender gender;
    bool plural;
  } kSuffixes[] = {
      {"\xBA", Gender::Masculine, false},  // º
      {"\xAA", Gender::Feminine, false},   // ª
      {"o.", Gender::Masculine, false},   {"a.", Gender::Feminine, false},
      {"os.", Gender::Masculine, true},   {"as.", Gender::Feminine, true},
  };
  const std::string_view rest = text.substr(pos);
  for (const auto& candidate : kSuffixes) {
    if (rest.starts_with(candidate.text)) {
      suffix = {candidate.gender, candidate.text.size(), candidate.plural};
      return true;
    }
  }
  return false;
}

}  // namespace

std::string ReadNumber(std::string_view text, std::size_t& pos, NumberScan& scan) {
  if (pos >= scan.dashFreeEnd) {
    bool sawDash = false;
    const std::size_t run = ScanDigitsAndDashes(text, pos, sawDash);
    if (sawDash) return ReadDigitByDigit(text, pos, run);
    scan.dashFreeEnd = pos + run;
  }

  std::string zeros;
  while (pos + 1 < text.size() && text[pos] == '0' && IsDigit(text[pos + 1])) {
    zeros += UnitWord(0);
    zeros += ' ';
    ++pos;
  }
  const std::uint64_t value = ReadValue(text, pos);

  OrdinalSuffix suffix{};
  if (pos < text.size() && text[pos] != ' ' && MatchOrdinalSuffix(text, pos, suffix)) {
    pos += suffix.length;
    std::string words = OrdinalWords(value, suffix.gender);
    // A plural ending only fits an ordinal word; from 2000 up the words are a cardinal.
    if (suffix.plural && value < FirstCardinalOrdinal) words += 's';
    return words;
  }
  return zeros + CardinalWords(value);
}

}  // namespace uttsPreproc
