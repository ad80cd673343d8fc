// TIRLA: what each kind of message says: a SPEAK text (spelled when spelling is on), one
// character, a key, and capital letters told apart as the settings ask.
#pragma once
#include <string_view>
#include <vector>

#include "orvia/text/uttsSsml.h"
#include "speechd/voiceSettings.h"

namespace sdOrvia {

using uttsSsml::Piece;

// A SPEAK message's SSML text.
std::vector<Piece> SpeakPieces(std::string_view ssml, const VoiceSettings& settings);

// A CHAR message: one UTF-8 character, or "space".
std::vector<Piece> CharPieces(std::string_view character, const VoiceSettings& settings);

// A KEY message: a key name with its modifier prefixes ("shift_a", "control_alt_delete",
// "kp-enter", "f5").
std::vector<Piece> KeyPieces(std::string_view key, const VoiceSettings& settings);

}  // namespace sdOrvia
