// TIRLA: the translator's character classes and the spelling of bytes 128 to 255.
#pragma once
#include <array>
#include <cstdint>
#include <string_view>

namespace translator {

// A set of byte values, one bit per byte.
struct CharSet {
  std::array<std::uint64_t, 4> bits{};  // bit b of word b/64 is set for members
};

// The set holding every byte of `members`.
constexpr CharSet MakeCharSet(std::string_view members) {
  CharSet set;
  for (char c : members) {
    const auto b = static_cast<unsigned char>(c);
    set.bits[b >> 6] |= std::uint64_t{1} << (b & 63);
  }
  return set;
}

// True when byte `c` is in `set`.
constexpr bool InSet(const CharSet& set, unsigned char c) {
  return (set.bits[c >> 6] >> (c & 63)) & 1;
}
constexpr bool InSet(const CharSet& set, char c) {
  return InSet(set, static_cast<unsigned char>(c));
}

inline constexpr CharSet kVowels = MakeCharSet("AEIOUaeiou");
inline constexpr CharSet kConsonants =
    MakeCharSet("BCDFGHJKLMNPQRSTVWXYZbcdfghjklmnpqrstvwxyz");
inline constexpr CharSet kLetters =
    MakeCharSet("AEIOUaeiouBCDFGHJKLMNPQRSTVWXYZbcdfghjklmnpqrstvwxyz");
inline constexpr CharSet kAccentMarks = MakeCharSet("\"'^`~");
inline constexpr CharSet kDigits = MakeCharSet("0123456789");
inline constexpr CharSet kPunctuation = MakeCharSet(" !,.:;?");
inline constexpr CharSet kWordChars =
    MakeCharSet("AEIOUaeiouBCDFGHJKLMNPQRSTVWXYZbcdfghjklmnpqrstvwxyz\"'^`~");
inline constexpr CharSet kFrontVowels = MakeCharSet("EIei");
inline constexpr CharSet kBackVowels = MakeCharSet("AOao");

// ASCII upper case: only a to z change.
constexpr char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
// ASCII lower case: only A to Z change.
constexpr char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// The spelling of byte `c` from 128 to 255: an accented letter as base letter plus accent
// mark, a few symbols as their look-alikes, empty for the rest. Empty for bytes below 128.
std::string_view CharSpelling(unsigned char c);

}  // namespace translator
