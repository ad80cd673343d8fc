// TIRLA: the inner operations of ORVIA's text preprocessing, shared by its files and its tests.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "orvia/text/uttsPreproc.h"
#include "platform/byteset.h"

namespace uttsPreproc {

// Capacity of the abbreviations table; entries past it are ignored (with a message).
constexpr std::size_t MaxAbbreviations = 2000;
// Longest abbreviation expansion kept; longer values are cut before trimming.
constexpr std::size_t MaxExpansionLength = 999;
// Most digits read into one number; further digits start the next number.
constexpr int MaxNumberDigits = 15;
// Ordinals from this value up are read as cardinals.
constexpr std::uint64_t FirstCardinalOrdinal = 2000;

// Grammatical gender of an ordinal.
enum class Gender { Masculine, Feminine };

// Letters of words: ASCII letters plus the Portuguese accented ones (both cases, cp1252).
inline constexpr platform::ByteSet kWordLetters =
    platform::ByteSet("\xC0\xC1\xC2\xC3\xC7\xC9\xCA\xCC\xCD\xD1\xD3\xD4\xD5\xD9\xDA\xDC"
                      "\xE0\xE1\xE2\xE3\xE7\xE9\xEA\xEC\xED\xF1\xF3\xF4\xF5\xF9\xFA\xFC")
        .AddRange('A', 'Z')
        .AddRange('a', 'z');

// True for the letters that make up words (A-Z, a-z and the Portuguese accented letters).
bool IsWordLetter(unsigned char c);
// True for consonant letters (W and Y included, Ç and Ñ too) in either case.
bool IsConsonantLetter(unsigned char c);
// True for the characters copied as they stand: blank ! ( ) , . : ; ?
bool IsKeptPunctuation(unsigned char c);
// True for '0'..'9'.
inline bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// The spoken name of one character (cp1252); empty for a character without a name.
const std::string& CharName(unsigned char code);

// The least punctuation setting that reads the sign `code` by name: kNone for letters that
// are no word letters (they are always read), kAll for the phrase punctuation.
Punctuation LeastModeReading(unsigned char code);

// Words for the unit digit 0..9 ("zero" .. "nove"), as read one by one.
const std::string& UnitWord(int digit);

// Words of one three-digit group (0..999); empty for 0, "cem" for 100.
std::string GroupWords(int group);

// Words of a cardinal below 10^15, with the scale words' trailing blanks ("mil " for 1000).
std::string CardinalWords(std::uint64_t value);

// Words of an ordinal; 2000 and above give the cardinal whatever the gender.
std::string OrdinalWords(std::uint64_t value, Gender gender);

// What ReadNumber learnt about the text: where the last run of digits it scanned ends, when
// that run holds no dash. A long run of digits is then scanned once, not once per number.
struct NumberScan {
  std::size_t dashFreeEnd = 0;  // text[pos, dashFreeEnd) is digits only, for pos inside it
};

// Reads the number (or digit-and-dash string) starting at text[pos], a digit; returns its
// words and leaves pos after what was read. Always advances. One scan serves one text.
std::string ReadNumber(std::string_view text, std::size_t& pos, NumberScan& scan);

// Reads the word starting at text[pos], a word letter; a vowel-less word comes back spelled
// (unless it is a known abbreviation followed by '.'). Leaves pos after the word.
std::string ReadWord(std::string_view text, std::size_t& pos);

// The expansion of an abbreviation (compared upper-cased), or an empty text.
const std::string& LookupAbbreviation(std::string_view word);

// Number of entries in the abbreviations table.
std::size_t AbbreviationCount();

// Code page 1252 upper-casing, accented letters included.
std::string UpperCase(std::string_view text);

}  // namespace uttsPreproc
