// TIRLA: ORVIA helpers for cp1252 text: Windows ANSI case mapping, trimming, integers.
#pragma once
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace uttsPortug {

// Upper-case form of one cp1252 byte (a-z, accented letters, š œ ž ÿ); others unchanged.
unsigned char UpperAnsi(unsigned char c);

// Lower-case form of one cp1252 byte.
unsigned char LowerAnsi(unsigned char c);

// The whole text upper- or lower-cased with the two functions above.
std::string UpperAnsi(std::string_view text);
std::string LowerAnsi(std::string_view text);

// The text without blanks, tabs and control characters at both ends.
std::string Trim(std::string_view text);

// A trimmed, optionally signed decimal integer that fits an int; nothing otherwise.
std::optional<int> ParseInteger(std::string_view text);

// The pieces joined into one string.
std::string Concat(std::initializer_list<std::string_view> pieces);

// Removes a trailing carriage return (files written on Windows).
void DropCarriageReturn(std::string& line);

}  // namespace uttsPortug
