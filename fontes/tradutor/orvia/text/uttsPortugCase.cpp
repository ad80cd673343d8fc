// TIRLA: ORVIA helpers for cp1252 text: trimming, integers.
#include "orvia/text/uttsPortugCase.h"

#include "platform/text.h"

namespace uttsPortug {

std::string Trim(std::string_view text) {
  return std::string(platform::Trim(text, platform::kSpaceAndControls));
}

std::optional<int> ParseInteger(std::string_view text) {
  return platform::ParseInt(text, platform::kSpaceAndControls);
}

std::string Concat(std::initializer_list<std::string_view> pieces) {
  size_t size = 0;
  for (std::string_view piece : pieces) size += piece.size();
  std::string out;
  out.reserve(size);
  for (std::string_view piece : pieces) out.append(piece);
  return out;
}

void DropCarriageReturn(std::string& line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
}

}  // namespace uttsPortug
