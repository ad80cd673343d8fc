// TIRLA: cutting a text that arrives bit by bit into the parts spoken one after another.
#include "orvia/engine/uttsOrviaParts.h"

#include <algorithm>

#include "orvia/text/uttsPreproc.h"
#include "platform/byteset.h"
#include "platform/codepage.h"

namespace uttsOrvia {
namespace {

constexpr platform::ByteSet kSentenceEnds = platform::ByteSet().Add(".!?");
constexpr platform::ByteSet kBlanks = platform::ByteSet().Add(" \t\r\n\f\v");
constexpr platform::ByteSet kSmallLetters = platform::ByteSet().AddRange('a', 'z');
// Bytes of a word: ASCII letters, and every byte of an accented letter in UTF-8 or cp1252.
constexpr platform::ByteSet kWordBytes =
    platform::ByteSet().AddRange('a', 'z').AddRange('A', 'Z').AddRange(0x80, 0xFF);

bool IsUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Whether the point at text[point] closes an abbreviation ("Sr."), which ends no sentence.
bool AfterAbbreviation(std::string_view text, size_t point) {
  if (text[point] != '.') return false;
  size_t start = point;
  while (start > 0 && kWordBytes.Has(static_cast<unsigned char>(text[start - 1]))) --start;
  return start < point &&
         uttsPreproc::IsAbbreviation(platform::Utf8ToCp1252(text.substr(start, point - start + 1)));
}

// Just past the blank that closes the last sentence ending within text[0, limit); 0 when
// none does. What follows the blank may lie beyond `limit`: a small letter there says the
// point belonged to an abbreviation. Nothing after the blank counts as a sentence start only
// when `openEnd` (no more text is near).
size_t LastSentenceEnd(std::string_view text, size_t limit, bool openEnd) {
  for (size_t blank = std::min(limit, text.size()); blank-- > 1;) {
    if (!kBlanks.Has(static_cast<unsigned char>(text[blank]))) continue;
    // a point before a quote is read out ("ponto"): the sentence goes on
    const size_t mark = blank;
    if (!kSentenceEnds.Has(static_cast<unsigned char>(text[mark - 1]))) continue;
    if (AfterAbbreviation(text, mark - 1)) continue;
    size_t next = blank + 1;
    while (next < text.size() && kBlanks.Has(static_cast<unsigned char>(text[next]))) ++next;
    if (next == text.size() ? openEnd : !kSmallLetters.Has(static_cast<unsigned char>(text[next])))
      return blank + 1;
  }
  return 0;
}

// Where a text that went on too long is cut: after its last blank, else before a character.
size_t ForcedCut(std::string_view text) {
  for (size_t i = kLongestPart; i > 0; --i)
    if (kBlanks.Has(static_cast<unsigned char>(text[i - 1]))) return i;
  size_t cut = kLongestPart;
  for (int back = 0; back < 3 && IsUtf8Continuation(static_cast<unsigned char>(text[cut])); ++back)
    --cut;
  return cut;
}

}  // namespace

size_t ReadyPartLength(std::string_view text, InputState input) {
  const bool tooLong = text.size() > kLongestPart;
  if (input == InputState::kEnded && !tooLong) return text.size();
  const size_t limit = std::min(text.size(), kLongestPart);
  size_t cut = LastSentenceEnd(text, limit, input != InputState::kMoreComing);
  if (input == InputState::kTyped) {
    const size_t line = text.substr(0, limit).rfind('\n');
    if (line != std::string_view::npos) cut = std::max(cut, line + 1);
  }
  if (cut == 0 && tooLong) cut = ForcedCut(text);
  return cut;
}

}  // namespace uttsOrvia
