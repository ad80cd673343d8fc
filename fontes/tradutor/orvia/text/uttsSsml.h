// TIRLA: an SSML text (or a plain one, UTF-8) as the pieces the engine speaks: text in cp1252,
// the index mark reached at its end, and the pauses and spelling the markup asks for.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace uttsSsml {

struct Piece {
  std::string text;  // cp1252, emoji already named
  std::string mark;  // mark name as it came (UTF-8); empty: none
  bool toneBefore = false;  // a short tone comes first (a capital letter, told by a sound)
  int pauseAfterMs = 0;     // a <break> after the text (kSpoken only): its silence in ms
  bool spell = false;       // inside <say-as interpret-as="characters"> (kSpoken only)
};

// How much of the markup is honoured. A speech service hears marks only (its breaks and
// say-as leave the text as it was); a reader of a whole document hears breaks and spelling.
enum class Reading : int { kMarks, kSpoken };

// Longest <break> honoured, ms: a typing slip must not silence the rest of a document.
constexpr int kLongestBreakMs = 10000;

// Pieces end at every <mark name="..."/> and, so that the first sound comes soon and a stop
// is heard at once whatever the length, after every sentence and at a blank once a piece grows
// long. Entities (&lt; &#233; &#xE9; ...) are decoded, comments and CDATA handled, every other
// tag dropped (<break>, <p> and <s> leave a blank). Malformed markup never fails: a '<' that
// opens no tag and an '&' that starts no entity are text.
// With kSpoken, a <break> also ends its piece and gives it pauseAfterMs (time="500ms" or
// "2s", else by strength: none 0, x-weak 100, weak 250, medium 400, strong 700, x-strong
// 1200), and the text of <say-as interpret-as="characters|spell-out|letters"> comes in pieces
// of its own with spell set.
std::vector<Piece> SsmlToPieces(std::string_view utf8, Reading reading = Reading::kMarks);

// Whether a text is an SSML document: it opens (after blanks, a UTF-8 byte-order mark and an
// XML declaration or comments) with a <speak> element.
bool LooksLikeSsml(std::string_view text);

// The text alone, in cp1252, marks dropped.
std::string SsmlText(std::string_view utf8);

}  // namespace uttsSsml
