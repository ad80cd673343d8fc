// TIRLA: ORVIA tokens with class codes and phrase boundaries, and their pitch patterns.
#include <algorithm>

#include "orvia/text/uttsPortugCase.h"
#include "orvia/text/uttsProsodia.h"
#include "orvia/text/uttsProsodiaState.h"
#include "platform/byteset.h"

namespace uttsProsodia {
namespace {

constexpr const char* kBoundary = "[--]";  // phrase boundary token line
constexpr const char* kDefaultPitch = "555";

// Letters of a word token: ASCII and the accented letters of Portuguese, both cases.
constexpr platform::ByteSet kLetters =
    platform::ByteSet()
        .AddRange('A', 'Z')
        .AddRange('a', 'z')
        .Add("\xC0\xC1\xC2\xC3\xC7\xC9\xCA\xCC\xCD\xD1\xD3\xD4\xD5\xD9\xDA\xDC"
             "\xE0\xE1\xE2\xE3\xE7\xE9\xEA\xEC\xED\xF1\xF3\xF4\xF5\xF9\xFA\xFC");

// Class code of a token line (its characters 2 and 3), packed; 0 for no line.
uint32_t CodeOf(const std::string& line) {
  return line.size() >= 3 ? PackClass(std::string_view(line).substr(1, 2)) : 0;
}

bool Fits(uint32_t pattern, uint32_t code) { return pattern == 0 || pattern == code; }

std::string PitchFor(uint32_t previous, uint32_t current, uint32_t next) {
  for (const TProsodia& p : State().patterns) {
    if (Fits(p.keys[0], previous) && Fits(p.keys[1], current) && Fits(p.keys[2], next))
      return p.pitch;
  }
  return kDefaultPitch;
}

}  // namespace

bool IsTokenLetter(unsigned char c) { return kLetters.Has(c); }

Lines Tokenize(const std::string& text) {
  Lines tokens{kBoundary};
  tokens.reserve(text.size() / 4 + 2);  // about one token per word and mark
  size_t n = text.size();
  size_t pos = 0;
  size_t sentenceStart = 1;  // first token after the last boundary
  while (pos < n) {
    while (pos < n && text[pos] == ' ') ++pos;
    if (pos >= n) break;
    std::string code, token;
    if (text[pos] == '.' && pos + 1 < n && text[pos + 1] == '.') {
      code.assign(".-", 2);
      token.assign(1, '.');
      while (pos < n && text[pos] == '.') ++pos;
    } else if (!kLetters.Has(text[pos])) {
      code = std::string(2, text[pos]);
      token = std::string(1, text[pos]);
      ++pos;
    } else {
      size_t start = pos;
      while (pos < n && kLetters.Has(text[pos])) ++pos;
      token = text.substr(start, pos - start);
      code = ClassOf(token);
      if (code.empty()) code = "XX";
    }
    if (token[0] == '?' && OpensWhQuestion(tokens, sentenceStart)) code = kWhQuestionCode;
    tokens.push_back(uttsPortug::Concat({"[", code, "]", token}));
    if (token[0] == '!' || token[0] == '.' || token[0] == '?') {
      tokens.push_back(kBoundary);
      sentenceStart = tokens.size();
    }
  }
  return tokens;
}

Lines AssignPatterns(const Lines& tokens, bool enabled) {
  return AssignPatterns(Lines(tokens), enabled);
}

Lines AssignPatterns(Lines&& tokens, bool enabled) {
  // Each line is rewritten where it stands: "[CC]" (or "[C]" and the first letter of the text
  // after a one-character class) becomes "ppp|". The codes are read before the rewriting.
  char lastDigit = '5';
  uint32_t previous = 0;
  uint32_t current = tokens.empty() ? 0 : CodeOf(tokens[0]);
  for (size_t i = 0; i < tokens.size(); ++i) {
    uint32_t next = i + 1 < tokens.size() ? CodeOf(tokens[i + 1]) : 0;
    std::string pitch = enabled ? PitchFor(previous, current, next) : kDefaultPitch;
    if (!pitch.empty() && pitch[0] == '?') pitch[0] = lastDigit;
    lastDigit = pitch.size() >= 3 ? pitch[2] : '5';
    pitch += '|';
    std::string& line = tokens[i];
    line.replace(0, std::min<size_t>(4, line.size()), pitch);
    previous = current;
    current = next;
  }
  return std::move(tokens);
}

}  // namespace uttsProsodia
