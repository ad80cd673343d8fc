// TIRLA: SSML to pieces: tags, entities, marks, breaks, spelling, and the cuts that keep pieces
// short.
#include "orvia/text/uttsSsml.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>

#include "orvia/text/uttsNormal.h"
#include "platform/byteset.h"
#include "platform/codepage.h"
#include "platform/text.h"

namespace uttsSsml {
namespace {

// Piece lengths (cp1252 bytes): from kPhraseCut on a piece ends after ", " or "; ", from
// kWordCut at any blank, and at kHardCut wherever it is.
constexpr size_t kPhraseCut = 200;
constexpr size_t kWordCut = 400;
constexpr size_t kHardCut = 800;
constexpr char32_t kLargestCodePoint = 0x10FFFF;

constexpr platform::ByteSet kBlanks(" \t\r\n");
constexpr platform::ByteSet kSentenceEnds(".!?");
constexpr platform::ByteSet kPhraseEnds(",;");
constexpr platform::ByteSet kNameChars = platform::ByteSet("-_:.").AddRange('a', 'z')
                                             .AddRange('A', 'Z').AddRange('0', '9');

struct NamedEntity {
  std::string_view name;
  char text;
};
constexpr NamedEntity kEntities[] = {
    {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''},
};

// Tags after which words must not run together.
constexpr std::string_view kSeparatingTags[] = {"break", "p", "s", "voice"};

// A break's strength and its silence, ms.
struct BreakStrength {
  std::string_view name;
  int ms;
};
constexpr BreakStrength kBreakStrengths[] = {
    {"none", 0},     {"x-weak", 100}, {"weak", 250},
    {"medium", 400}, {"strong", 700}, {"x-strong", 1200},
};
constexpr int kDefaultBreakMs = 400;  // a <break/> with neither time nor strength: medium

// say-as kinds read letter by letter.
constexpr std::string_view kSpelledKinds[] = {"characters", "spell-out", "letters"};

// What the walk has gathered.
struct Walk {
  Reading reading = Reading::kMarks;
  std::vector<Piece> pieces;
  std::string text;       // UTF-8 of the piece being gathered
  bool spelling = false;  // inside a say-as read letter by letter
};

// The code point of "#233" or "#xE9"; nothing when malformed or out of range.
std::optional<char32_t> NumericEntity(std::string_view body) {
  if (body.size() < 2 || body[0] != '#') return std::nullopt;
  const bool hex = body[1] == 'x' || body[1] == 'X';
  const std::string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  char32_t value = 0;
  for (char c : digits) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
  }
  if (value == 0 || value > kLargestCodePoint) return std::nullopt;
  return value;
}

// Decodes the entity at text[pos] ('&') into `out`; the bytes it took (0: no entity).
size_t DecodeEntity(std::string_view text, size_t pos, std::string& out) {
  const size_t end = text.find(';', pos);
  if (end == std::string_view::npos || end - pos > 12) return 0;
  const std::string_view body = text.substr(pos + 1, end - pos - 1);
  for (const NamedEntity& entity : kEntities)
    if (body == entity.name) {
      out += entity.text;
      return end - pos + 1;
    }
  const std::optional<char32_t> code = NumericEntity(body);
  if (!code) return 0;
  platform::AppendUtf8(out, *code < ' ' ? U' ' : *code);
  return end - pos + 1;
}

std::string DecodeText(std::string_view text) {
  std::string out;
  for (size_t pos = 0; pos < text.size();) {
    const size_t taken = text[pos] == '&' ? DecodeEntity(text, pos, out) : 0;
    if (taken == 0) out += text[pos++];
    else pos += taken;
  }
  return out;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// The tag's name, lower-cased, without a leading '/'.
std::string TagName(std::string_view tag) {
  size_t at = tag.starts_with('/') ? 1 : 0, end = at;
  while (end < tag.size() && kNameChars.Has(static_cast<unsigned char>(tag[end]))) ++end;
  return Lower(tag.substr(at, end - at));
}

// The value of attribute `name` in a tag's text, decoded; nothing when absent.
std::optional<std::string> Attribute(std::string_view tag, std::string_view name) {
  for (size_t at = tag.find(name); at != std::string_view::npos; at = tag.find(name, at + 1)) {
    if (at == 0 || !kBlanks.Has(static_cast<unsigned char>(tag[at - 1]))) continue;
    size_t pos = at + name.size();
    while (pos < tag.size() && kBlanks.Has(static_cast<unsigned char>(tag[pos]))) ++pos;
    if (pos >= tag.size() || tag[pos] != '=') continue;
    ++pos;
    while (pos < tag.size() && kBlanks.Has(static_cast<unsigned char>(tag[pos]))) ++pos;
    if (pos >= tag.size() || (tag[pos] != '"' && tag[pos] != '\'')) continue;
    const size_t close = tag.find(tag[pos], pos + 1);
    if (close == std::string_view::npos) return std::nullopt;
    std::string value = DecodeText(tag.substr(pos + 1, close - pos - 1));
    for (char& c : value)
      if (static_cast<unsigned char>(c) < ' ') c = ' ';  // a mark name is one protocol line
    return value;
  }
  return std::nullopt;
}

// Where a piece of `text` starting at `from` ends: after a sentence end and its blank, or at
// the cuts of long pieces.
size_t PieceEnd(std::string_view text, size_t from) {
  size_t lastBlank = 0;
  for (size_t pos = from; pos < text.size(); ++pos) {
    const unsigned char c = text[pos];
    const size_t length = pos - from;
    const bool blankNext = pos + 1 < text.size() && kBlanks.Has(text[pos + 1]);
    if (blankNext && (kSentenceEnds.Has(c) || (length >= kPhraseCut && kPhraseEnds.Has(c))))
      return pos + 2;
    if (c == '\n') return pos + 1;
    if (kBlanks.Has(c)) lastBlank = pos + 1;
    if (length >= kWordCut && lastBlank > from) return lastBlank;
    if (length >= kHardCut) return pos;
  }
  return text.size();
}

// Ends the piece being gathered, in as many pieces as its length asks; the mark goes with the
// last one.
void EndPiece(Walk& walk, std::string_view mark) {
  const std::string text = platform::Utf8ToCp1252(uttsNormal::NameEmoji(walk.text));
  walk.text.clear();
  for (size_t from = 0; from < text.size();) {
    const size_t end = PieceEnd(text, from);
    walk.pieces.push_back({text.substr(from, end - from), {}});
    walk.pieces.back().spell = walk.spelling;
    from = end;
  }
  if (mark.empty()) return;
  // marks one after another each keep a piece of their own
  if (walk.pieces.empty() || (text.empty() && !walk.pieces.back().mark.empty()))
    walk.pieces.push_back({});
  walk.pieces.back().mark = mark;
}

// The silence of a <break> tag, ms.
int BreakMs(std::string_view tag) {
  if (const std::optional<std::string> time = Attribute(tag, "time")) {
    const std::string_view value = platform::Trim(*time, kBlanks);
    const bool seconds = value.ends_with('s') && !value.ends_with("ms");
    const std::string_view number = value.substr(0, value.size() - (seconds ? 1 : 2));
    double amount = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), amount);
    if (error == std::errc() && end == number.data() + number.size() && amount >= 0 &&
        (seconds || value.ends_with("ms")))
      return static_cast<int>(std::min(amount * (seconds ? 1000 : 1), double{kLongestBreakMs}));
  }
  if (const std::optional<std::string> strength = Attribute(tag, "strength"))
    for (const BreakStrength& row : kBreakStrengths)
      if (Lower(*strength) == row.name) return row.ms;
  return kDefaultBreakMs;
}

// Breaks and say-as, for a reader that honours them: each ends the piece being gathered.
void TakeSpokenTag(std::string_view tag, const std::string& name, Walk& walk) {
  if (name == "break") {
    EndPiece(walk, {});
    if (walk.pieces.empty()) walk.pieces.push_back({});
    Piece& before = walk.pieces.back();
    before.pauseAfterMs = std::min(before.pauseAfterMs + BreakMs(tag), kLongestBreakMs);
  } else if (name == "say-as") {
    const std::optional<std::string> kind = Attribute(tag, "interpret-as");
    const bool closing = tag.starts_with('/');
    bool spelled = false;
    for (std::string_view k : kSpelledKinds) spelled = spelled || (kind && Lower(*kind) == k);
    if (!closing && !spelled) return;
    EndPiece(walk, {});
    walk.spelling = !closing && !tag.ends_with('/');
  }
}

// Takes the markup at text[pos] ('<'); the bytes it took (0: it opens no markup).
size_t TakeMarkup(std::string_view text, size_t pos, Walk& walk) {
  const std::string_view rest = text.substr(pos);
  if (rest.starts_with("<!--")) {
    const size_t end = rest.find("-->");
    return end == std::string_view::npos ? rest.size() : end + 3;
  }
  if (rest.starts_with("<![CDATA[")) {
    const size_t end = rest.find("]]>");
    const size_t stop = end == std::string_view::npos ? rest.size() : end;
    walk.text.append(rest.substr(9, stop - 9));
    return end == std::string_view::npos ? rest.size() : end + 3;
  }
  const size_t close = rest.find('>');
  const size_t reopen = rest.find('<', 1);
  if (close == std::string_view::npos || reopen < close) return 0;
  const std::string_view tag = rest.substr(1, close - 1);
  const std::string name = TagName(tag);
  if (name.empty() && !tag.starts_with('?') && !tag.starts_with('!')) return 0;  // "a < b"
  if (name == "mark") {
    const std::optional<std::string> markName = Attribute(tag, "name");
    if (markName && !markName->empty()) {
      // A blank after the mark goes before it: "Sr." is an abbreviation only when a blank
      // follows it in the same piece.
      const bool blankAfter =
          close + 1 < rest.size() && kBlanks.Has(static_cast<unsigned char>(rest[close + 1]));
      if (blankAfter) walk.text += ' ';
      EndPiece(walk, *markName);
      return close + (blankAfter ? 2 : 1);
    }
  }
  if (walk.reading == Reading::kSpoken && (name == "break" || name == "say-as")) {
    TakeSpokenTag(tag, name, walk);  // it ends the piece: no blank needed
    return close + 1;
  }
  for (std::string_view separating : kSeparatingTags)
    if (name == separating) walk.text += ' ';
  return close + 1;
}

Walk WalkText(std::string_view utf8, Reading reading) {
  Walk walk;
  walk.reading = reading;
  for (size_t pos = 0; pos < utf8.size();) {
    size_t taken = 0;
    if (utf8[pos] == '<') taken = TakeMarkup(utf8, pos, walk);
    else if (utf8[pos] == '&') taken = DecodeEntity(utf8, pos, walk.text);
    if (taken == 0) walk.text += utf8[pos++];
    else pos += taken;
  }
  return walk;
}

}  // namespace

std::vector<Piece> SsmlToPieces(std::string_view utf8, Reading reading) {
  Walk walk = WalkText(utf8, reading);
  EndPiece(walk, {});
  return walk.pieces;
}

bool LooksLikeSsml(std::string_view text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  for (;;) {
    text = platform::Trim(text, kBlanks);
    // a declaration or a comment may come first; what it holds is not looked at
    const bool prolog = text.starts_with("<?") || text.starts_with("<!");
    if (!prolog) break;
    const size_t end = text.find('>');
    if (end == std::string_view::npos) return false;
    text.remove_prefix(end + 1);
  }
  if (!text.starts_with('<')) return false;
  return TagName(text.substr(1, text.find('>'))) == "speak";
}

std::string SsmlText(std::string_view utf8) {
  std::string text;
  for (const Piece& piece : SsmlToPieces(utf8)) text += piece.text;
  return text;
}

}  // namespace uttsSsml
