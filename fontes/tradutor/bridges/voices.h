// TIRLA: the voices of a speech service as a bridge numbers them, and the text it hands over.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace bridges {

// One voice a bridge can select. Texts are cp1252.
struct VoiceEntry {
  std::string name;      // what the service calls it
  std::string language;  // its language code, as the service gives it
  std::string detail;    // what else tells it apart: module, gender, file
};

// Puts the voices in the order they are numbered in (voice 1 first): Brazilian Portuguese,
// then other Portuguese, then the rest, each group in the service's own order. A program
// for Brazilian users should speak Portuguese when no voice number is configured.
void OrderVoices(std::vector<VoiceEntry>& voices);

// Whether a language code is Portuguese (pt, pt-BR, pt_PT...; not "ptx" or "pap").
bool IsPortuguese(std::string_view language);

// The longest text handed to a library at once, in characters.
constexpr size_t kLongestText = 64000;

// A text as the libraries take it: control characters become blanks (they mean nothing to a
// voice, and a zero byte would cut the text short), then UTF-8.
std::string SpeakableUtf8(std::string_view cp1252);

// `text` cut into pieces of at most `most` bytes, each ending after a blank where the piece
// has one, so that no text is lost to a fixed buffer. Empty text: no piece.
std::vector<std::string_view> TextPieces(std::string_view text, size_t most = kLongestText);

}  // namespace bridges
