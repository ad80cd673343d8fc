// TIRLA: voice order and the text the libraries take.
#include "bridges/voices.h"

#include <algorithm>

#include "platform/codepage.h"

namespace bridges {
namespace {

// 0 Brazilian Portuguese, 1 other Portuguese, 2 the rest.
int PortugueseRank(std::string_view language) {
  const std::string code = platform::LowerCp1252(language);
  if (code.rfind("pt", 0) != 0 || (code.size() > 2 && code[2] != '-' && code[2] != '_'))
    return 2;
  return code.substr(2) == "-br" || code.substr(2) == "_br" ? 0 : 1;
}

}  // namespace

bool IsPortuguese(std::string_view language) { return PortugueseRank(language) < 2; }

void OrderVoices(std::vector<VoiceEntry>& voices) {
  std::stable_sort(voices.begin(), voices.end(), [](const VoiceEntry& a, const VoiceEntry& b) {
    return PortugueseRank(a.language) < PortugueseRank(b.language);
  });
}

std::string SpeakableUtf8(std::string_view cp1252) {
  std::string text(cp1252);
  for (char& c : text)
    if (static_cast<unsigned char>(c) < ' ' || c == '\x7F') c = ' ';
  return platform::Cp1252ToUtf8(text);
}

std::vector<std::string_view> TextPieces(std::string_view text, size_t most) {
  std::vector<std::string_view> pieces;
  while (!text.empty()) {
    size_t n = std::min(text.size(), most);
    if (n < text.size()) {
      const size_t blank = text.substr(0, n).find_last_of(' ');
      if (blank != std::string_view::npos && blank > 0) n = blank + 1;
    }
    pieces.push_back(text.substr(0, n));
    text.remove_prefix(n);
  }
  return pieces;
}

}  // namespace bridges
