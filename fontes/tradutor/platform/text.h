// TIRLA: trimming cp1252 text and reading whole numbers from it.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/byteset.h"

namespace platform {

// What counts as blank differs by the kind of text, so each reader names its set.
inline constexpr ByteSet kSpaceTab(" \t");             // entries inside a TOLVAN.INI value
inline constexpr ByteSet kSpaceTabLineEnd(" \t\r\n");  // lines of profile files
inline constexpr ByteSet kSpaceAndControls =           // ORVIA's data files and text
    ByteSet().AddRange(0, ' ');
inline constexpr ByteSet kSpaceControlsDel =           // the abbreviations file
    ByteSet().AddRange(0, ' ').Add("\x7F");

// `text` without the bytes of `blanks` at both ends.
std::string_view Trim(std::string_view text, const ByteSet& blanks);

// The whole number `text` holds once trimmed of `blanks`: one optional sign ('+' or '-') and
// decimal digits, nothing else, within the range of int32_t. Nothing otherwise.
std::optional<int32_t> ParseInt(std::string_view text, const ByteSet& blanks);

// A number read the way configuration values are: leading blanks, one optional sign, then
// decimal digits or hexadecimal ones after "$" or "0x". `value` is what the leading part
// holds (0 when nothing), `whole` whether the text was that number and nothing else, within
// the range of int32_t.
struct LeadingNumber {
  int32_t value = 0;
  bool whole = false;
};
LeadingNumber ParseLeadingNumber(std::string_view text);

}  // namespace platform
