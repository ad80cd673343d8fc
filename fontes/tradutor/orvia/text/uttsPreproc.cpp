// TIRLA: ORVIA text preprocessing: the walk over the text that turns it into words to speak.
#include "orvia/text/uttsPreproc.h"

#include <string>
#include <string_view>

#include "orvia/text/uttsPreprocParts.h"
#include "platform/codepage.h"

namespace uttsPreproc {
namespace {

constexpr char kTab = 9, kLineFeed = 10, kCarriageReturn = 13;
constexpr std::string_view kEllipsis = "...";
// Room for what the text usually grows to, so that long texts are not copied over and over.
constexpr std::size_t kGrowthGuess = 2;

// Words said for signs inside numbers (cp1252).
struct Words {
  std::string minus = "menos ";
  std::string comma = platform::Utf8ToCp1252("vírgula ");
  std::string point = "ponto ";
  std::string innerPoint = " ponto ";
  std::string ellipsis = "... ";
  std::string ellipsisRead = platform::Utf8ToCp1252(" reticências... ");
};

const Words& W() {
  static const Words words;
  return words;
}

// Line breaks and tabs: they separate words like a blank.
bool IsLineBreakOrTab(char c) { return c == kTab || c == kLineFeed || c == kCarriageReturn; }

bool IsBlankAt(std::string_view text, std::size_t pos) {
  return pos < text.size() && (text[pos] == ' ' || IsLineBreakOrTab(text[pos]));
}

bool IsAt(std::string_view text, std::size_t pos, char c) {
  return pos < text.size() && text[pos] == c;
}

bool DigitAt(std::string_view text, std::size_t pos) {
  return pos < text.size() && IsDigit(text[pos]);
}

// A dash with a blank on each side: it becomes a comma (a pause).
bool IsLoneDash(std::string_view text, std::size_t pos) {
  return pos >= 1 && pos + 1 < text.size() && text[pos - 1] == ' ' && text[pos] == '-' &&
         text[pos + 1] == ' ';
}

// A number, then its decimal parts after "," or ".", each followed by one blank.
void AppendNumber(std::string& out, std::string_view text, std::size_t& pos, NumberScan& scan) {
  out += ReadNumber(text, pos, scan);
  out += ' ';
  while (pos + 1 < text.size() && (text[pos] == ',' || text[pos] == '.') &&
         IsDigit(text[pos + 1])) {
    out += text[pos] == ',' ? W().comma : W().point;
    ++pos;
    out += ReadNumber(text, pos, scan);
    out += ' ';
  }
}

// A word; an abbreviation followed by a period and a blank gives its expansion and takes the
// period.
void AppendWord(std::string& out, std::string_view text, std::size_t& pos) {
  const std::string word = ReadWord(text, pos);
  if (IsAt(text, pos, '.') && IsBlankAt(text, pos + 1)) {
    const std::string& expansion = LookupAbbreviation(word);
    if (!expansion.empty()) {
      out += expansion;
      ++pos;
      return;
    }
  }
  out += word;
}

bool ReadAloud(unsigned char c) { return CurrentPunctuation() >= LeastModeReading(c); }

// Any other character: kept punctuation as it stands (after its name, when the punctuation
// setting reads it, so that its pause follows), TAB/LF/CR as one blank, a sign the setting
// does not read as one blank, anything else by its name between blanks.
void AppendOther(std::string& out, unsigned char c) {
  if (IsKeptPunctuation(c)) {
    if (c != ' ' && ReadAloud(c)) {
      out += ' ';
      out += CharName(c);
    }
    out += static_cast<char>(c);
  } else if (IsLineBreakOrTab(static_cast<char>(c)) || !ReadAloud(c)) {
    out += ' ';
  } else {
    out += ' ';
    out += CharName(c);
    out += ' ';
  }
}

std::string Rewrite(std::string_view text) {
  std::string out;
  out.reserve(text.size() * kGrowthGuess);
  std::size_t pos = 0;
  NumberScan scan;
  while (pos < text.size()) {
    const unsigned char c = text[pos];
    if (IsLoneDash(text, pos)) {
      out += ',';
      ++pos;
    } else if (c == '-' && DigitAt(text, pos + 1)) {
      out += W().minus;
      ++pos;
    } else if (IsDigit(c)) {
      AppendNumber(out, text, pos, scan);
    } else if (IsWordLetter(c)) {
      AppendWord(out, text, pos);
    } else if (text.substr(pos).starts_with(kEllipsis)) {
      out += ReadAloud('.') ? W().ellipsisRead : W().ellipsis;
      pos += kEllipsis.size();
    } else if (c == '.' && pos + 1 < text.size() && !IsBlankAt(text, pos + 1)) {
      out += W().innerPoint;
      ++pos;
    } else {
      AppendOther(out, c);
      ++pos;
    }
  }
  return out;
}

}  // namespace

std::string ReadWord(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  bool hasVowel = false;
  while (pos < text.size() && IsWordLetter(text[pos])) {
    if (!IsConsonantLetter(text[pos])) hasVowel = true;
    ++pos;
    if (IsAt(text, pos, '-')) ++pos;
  }
  const std::string_view word = text.substr(start, pos - start);
  if (hasVowel || (IsAt(text, pos, '.') && !LookupAbbreviation(word).empty()))
    return std::string(word);
  std::string spelled;
  for (unsigned char c : word) spelled += CharName(c);
  return spelled;
}

std::string PreprocessText(const std::string& text) {
  if (text.size() == 1) return Rewrite(CharName(static_cast<unsigned char>(text[0])));
  return Rewrite(text);
}

std::string PreprocessWords(const std::string& text) { return Rewrite(text); }

}  // namespace uttsPreproc
