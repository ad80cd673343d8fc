// TIRLA: code page 1252 inside, UTF-8 at the edges.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// UTF-8 to code page 1252. Characters that cp1252 cannot hold are dropped; a byte that is
// not part of valid UTF-8 is taken as a cp1252 byte already, so Latin-1 text survives.
std::string Utf8ToCp1252(std::string_view utf8);

// Code page 1252 to UTF-8. The five unassigned bytes map to the C1 controls of the same value.
std::string Cp1252ToUtf8(std::string_view cp1252);

// Appends the UTF-8 form of one code point (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t code_point);

// The Unicode code point of one cp1252 byte.
char32_t Cp1252ToCodePoint(unsigned char byte);

// The cp1252 byte for a code point, or -1 when cp1252 has none.
int CodePointToCp1252(char32_t code_point);

// Upper- and lower-case forms of one cp1252 byte: a-z, the accented letters (but not the
// signs × and ÷) and š œ ž ÿ; other bytes are unchanged.
unsigned char UpperCp1252(unsigned char byte);
unsigned char LowerCp1252(unsigned char byte);

// The whole text upper- or lower-cased byte by byte.
std::string UpperCp1252(std::string_view text);
std::string LowerCp1252(std::string_view text);

}  // namespace platform
