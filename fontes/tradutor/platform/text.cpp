// TIRLA: trimming and whole numbers.
#include "platform/text.h"

#include <charconv>
#include <limits>

namespace platform {

std::string_view Trim(std::string_view text, const ByteSet& blanks) {
  while (!text.empty() && blanks.Has(text.front())) text.remove_prefix(1);
  while (!text.empty() && blanks.Has(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<int32_t> ParseInt(std::string_view text, const ByteSet& blanks) {
  text = Trim(text, blanks);
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (negative || text.front() == '+')) text.remove_prefix(1);
  // Digits only after the sign: from_chars would take a second '-'.
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  int64_t magnitude = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, magnitude);
  if (error != std::errc() || stop != end) return std::nullopt;
  const int64_t value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace platform
