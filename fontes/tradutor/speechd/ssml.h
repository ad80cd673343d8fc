// TIRLA: the text of a SPEAK message (SSML or plain, UTF-8) as the pieces the engine speaks:
// text in cp1252 and the index mark reached at its end.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace sdOrvia {

struct Piece {
  std::string text;  // cp1252, emoji already named
  std::string mark;  // mark name as it came (UTF-8); empty: none
  bool toneBefore = false;  // a short tone comes first (a capital letter, told by a sound)
};

// Pieces end at every <mark name="..."/> and, so that the first sound comes soon and a stop
// is heard at once whatever the length, after every sentence and at a blank once a piece grows
// long. Entities (&lt; &#233; &#xE9; ...) are decoded, comments and CDATA handled, every other
// tag dropped (<break>, <p> and <s> leave a blank). Malformed markup never fails: a '<' that
// opens no tag and an '&' that starts no entity are text.
std::vector<Piece> SsmlToPieces(std::string_view utf8);

// The text alone, in cp1252, marks dropped.
std::string SsmlText(std::string_view utf8);

}  // namespace sdOrvia
