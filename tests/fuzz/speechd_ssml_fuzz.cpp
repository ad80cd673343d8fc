// TIRLA fuzz target: what the Speech Dispatcher module makes of a message text (SSML, spelled
// too) and of a SET block. Pieces must stay short and lines must never break a protocol line.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "speechd/saying.h"
#include "speechd/voiceSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  sdOrvia::VoiceSettings settings;
  settings.spelling = size % 2 == 1;
  settings.capitals = sdOrvia::Capitals::kSpell;
  for (const sdOrvia::Piece& piece : sdOrvia::SpeakPieces(text, settings))
    if (piece.text.size() > 1000 || piece.mark.find('\n') != std::string::npos) std::abort();
  sdOrvia::KeyPieces(text.substr(0, 64), settings);
  std::vector<std::string> lines;
  for (size_t at = 0; at <= text.size();) {
    const size_t end = std::min(text.find('\n', at), text.size());
    lines.emplace_back(text.substr(at, end - at));
    at = end + 1;
  }
  std::string problem;
  sdOrvia::ApplySettings(settings, lines, problem);
  return 0;
}
