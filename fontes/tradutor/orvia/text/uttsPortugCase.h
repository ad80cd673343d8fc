// TIRLA: ORVIA helpers for cp1252 text: trimming, integers.
#pragma once
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace uttsPortug {

// The text without blanks, tabs and control characters at both ends (platform::Trim with
// platform::kSpaceAndControls, as a string).
std::string Trim(std::string_view text);

// A decimal integer with one optional sign that fits an int, blanks and control characters
// around allowed (platform::ParseInt); nothing otherwise.
std::optional<int> ParseInteger(std::string_view text);

// The pieces joined into one string.
std::string Concat(std::initializer_list<std::string_view> pieces);

// Removes a trailing carriage return (files written on Windows).
void DropCarriageReturn(std::string& line);

}  // namespace uttsPortug
