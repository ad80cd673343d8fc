// TIRLA: ORVIA names of emoji, for UTF-8 text before it becomes code page 1252.
#include <string>

#include "orvia/text/uttsNormal.h"
#include "orvia/text/uttsNormalParts.h"
#include "platform/codepage.h"

namespace uttsNormal {
namespace {

// Regional indicator letters: two of them make a flag.
constexpr char32_t kFirstIndicator = 0x1F1E6, kLastIndicator = 0x1F1FF;

// Code points that only change the emoji before them: the joiner, variation selectors,
// skin tones and the tag characters of subdivision flags.
bool IsModifier(char32_t c) {
  return c == 0x200D || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0x1F3FB && c <= 0x1F3FF) ||
         (c >= 0xE0020 && c <= 0xE007F) || c == 0x20E3;
}

// The ranges where emoji live (pictographs, symbols, dingbats, regional indicators).
bool IsEmoji(char32_t c) {
  return (c >= 0x1F000 && c <= 0x1FAFF) || (c >= 0x2600 && c <= 0x27BF) ||
         (c >= 0x2B00 && c <= 0x2BFF) || (c >= 0x2300 && c <= 0x23FF);
}

// Decodes one UTF-8 character at i; its length, or 0 for a byte that does not start one.
size_t Decode(std::string_view s, size_t i, char32_t& c) {
  const unsigned char b = s[i];
  size_t length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
  if (length == 0 || i + length > s.size()) return 0;
  c = length == 1 ? b : b & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    const unsigned char next = s[i + k];
    if ((next & 0xC0) != 0x80) return 0;
    c = c << 6 | (next & 0x3F);
  }
  return length;
}

}  // namespace

std::string NameEmoji(std::string_view utf8) {
  const Tables& t = T();
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t c = 0;
    const size_t length = Decode(utf8, i, c);
    if (length < 3) {  // ASCII, Latin letters and stray bytes pass as they are
      out += utf8[i++];
      continue;
    }
    i += length;
    if (IsModifier(c)) continue;
    if (!IsEmoji(c)) {
      out.append(utf8.substr(i - length, length));
      continue;
    }
    auto found = t.emoji.find(c);
    if (found == t.emoji.end() && c >= kFirstIndicator && c <= kLastIndicator)
      found = t.emoji.find(kFirstIndicator);  // a flag the table does not name
    const std::string& name = found != t.emoji.end() ? found->second : t.unknownEmoji;
    if (name.empty()) continue;
    // A flag is two regional indicators: one name for the pair.
    if (c >= kFirstIndicator && c <= kLastIndicator) {
      char32_t second = 0;
      const size_t n = i < utf8.size() ? Decode(utf8, i, second) : 0;
      if (n && second >= kFirstIndicator && second <= kLastIndicator) i += n;
    }
    out += ' ';
    out += platform::Cp1252ToUtf8(name);
    out += ' ';
  }
  return out;
}

}  // namespace uttsNormal
