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

LeadingNumber ParseLeadingNumber(std::string_view text) {
  LeadingNumber result;
  size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  const bool negative = at < text.size() && text[at] == '-';
  if (at < text.size() && (negative || text[at] == '+')) ++at;
  int base = 10;
  if (at < text.size() && text[at] == '$') {
    base = 16;
    ++at;
  } else if (text.substr(at, 2) == "0x" || text.substr(at, 2) == "0X") {
    base = 16;
    at += 2;
  }
  const size_t digits = at;
  int64_t magnitude = 0;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) break;
    const int64_t next = magnitude * base + digit;
    if (next > int64_t{std::numeric_limits<int32_t>::max()} + 1) break;  // too large: stop here
    magnitude = next;
  }
  const int64_t value = negative ? -magnitude : magnitude;
  const bool fits = value >= std::numeric_limits<int32_t>::min() &&
                    value <= std::numeric_limits<int32_t>::max();
  result.value = fits ? static_cast<int32_t>(value) : 0;
  result.whole = fits && at > digits && at == text.size();
  return result;
}

}  // namespace platform
