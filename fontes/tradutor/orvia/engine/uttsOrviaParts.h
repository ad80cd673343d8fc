// TIRLA: cutting a text that arrives bit by bit into the parts spoken one after another.
#pragma once
#include <cstddef>
#include <string_view>

#include "orvia/text/uttsPortugStages.h"

namespace uttsOrvia {

// What is known of the text after the bytes read so far.
// Only sentence ends cut a text that is not typed: a cut elsewhere (at a line end) starts a
// new phrase, so the pitch after it would depend on when the bytes came.
enum class InputState {
  kMoreComing,  // more is ready to be read: cut only after whole sentences
  kWaiting,     // nothing more is there yet: a sentence that ends the bytes read is whole
  kTyped,       // a person types at a terminal: each line is spoken when it ends, too
  kEnded,       // the text ends here: everything is spoken
};

// Longest part, in bytes: what one part costs in the text stages and MBROLA stays small
// whatever the text, and the first sound of a long text comes soon.
constexpr size_t kLongestPart = 4096;

// How many leading bytes of `text` (UTF-8 or cp1252, as read) can be spoken now as one part;
// 0 when they must wait for more. A part ends after a sentence (".", "!" or "?" and a blank
// that is not followed by a small letter), else, for typed text, after a line. Text
// that goes on for kLongestPart bytes without either is cut at a blank, else where a UTF-8
// character begins.
size_t ReadyPartLength(std::string_view text, InputState input);

// Gives every part of `text` that can be spoken now to `take(part, place)`, in order; `first`
// says whether nothing of the text was given before, and is kept up to date. The last part of
// an ended text has place.last. Returns the bytes given.
template <typename Take>
size_t TakeReadyParts(std::string_view text, InputState input, bool& first, Take take) {
  size_t given = 0;
  for (size_t length; (length = ReadyPartLength(text.substr(given), input)) > 0;) {
    const bool last = input == InputState::kEnded && given + length == text.size();
    take(text.substr(given, length), uttsPortug::PlaceInText{.first = first, .last = last});
    first = false;
    given += length;
  }
  return given;
}

}  // namespace uttsOrvia
