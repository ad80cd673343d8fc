// TIRLA: the translator's character classes and the spelling of bytes 128 to 255.
#pragma once
#include <string_view>

#include "platform/byteset.h"

namespace translator {

inline constexpr platform::ByteSet kVowels("AEIOUaeiou");
inline constexpr platform::ByteSet kConsonants("BCDFGHJKLMNPQRSTVWXYZbcdfghjklmnpqrstvwxyz");
inline constexpr platform::ByteSet kLetters(
    "AEIOUaeiouBCDFGHJKLMNPQRSTVWXYZbcdfghjklmnpqrstvwxyz");
inline constexpr platform::ByteSet kAccentMarks("\"'^`~");
inline constexpr platform::ByteSet kDigits("0123456789");
inline constexpr platform::ByteSet kPunctuation(" !,.:;?");
inline constexpr platform::ByteSet kWordChars(
    "AEIOUaeiouBCDFGHJKLMNPQRSTVWXYZbcdfghjklmnpqrstvwxyz\"'^`~");
inline constexpr platform::ByteSet kFrontVowels("EIei");
inline constexpr platform::ByteSet kBackVowels("AOao");

// ASCII upper case: only a to z change.
constexpr char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
// ASCII lower case: only A to Z change.
constexpr char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// The spelling of byte `c` from 128 to 255: an accented letter as base letter plus accent
// mark, a few symbols as their look-alikes, empty for the rest. Empty for bytes below 128.
std::string_view CharSpelling(unsigned char c);

}  // namespace translator
