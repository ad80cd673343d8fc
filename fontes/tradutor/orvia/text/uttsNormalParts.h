// TIRLA: the inner parts of ORVIA's normalisation stage, shared by its files and its tests.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace uttsNormal {

// A unit or a currency: its words in the singular and the plural.
struct Unit {
  std::string singular, plural;
  bool feminine = false;
};

// A currency: the unit and its hundredth.
struct Currency {
  std::string sign;  // as written: "R$", "US$", "\x80"
  Unit whole, cent;
};

// How a Roman numeral is read after a word that takes it.
enum class RomanReading : char {
  Masculine = 'o',  // masculine ordinal up to ten, then the cardinal
  Feminine = 'a',   // feminine ordinal up to ten, then the cardinal
  Cardinal = 'c',
};

// The first two letters (lower-cased) of the keys of a table: most words of a text are
// turned away by one look, before they are lower-cased and looked up.
struct PrefixFilter {
  std::vector<bool> seen = std::vector<bool>(1 << 16);  // by first byte << 8 | second byte
  void Add(std::string_view lowerKey);
  bool MayHave(std::string_view word) const;  // the word as written
};

// Module state: the tables of the normalisation file.
struct Tables {
  bool loaded = false;                                   // a normalisation file was read
  std::vector<std::string> months;                       // 12 names, January first
  std::vector<Currency> currencies;                      // file order
  std::unordered_map<std::string, Unit> units;           // sign as written to its words
  std::unordered_map<std::string, Unit> fractions;       // denominator ("*" any other) to
                                                         // its words: "4" quarto, quartos
  size_t longestUnit = 0;                                // bytes of the longest sign
  std::array<bool, 256> currencyStart{};                 // first bytes of the currency signs
  std::unordered_map<std::string, RomanReading> roman;   // upper-cased word to its reading
  RomanReading properName = RomanReading::Masculine;     // after a capitalised name ("*")
  bool romanAfterNames = false;                          // whether "*" was given
  std::unordered_set<std::string> spokenAcronyms;        // acronyms said as words
  std::unordered_set<std::string> spelledAcronyms;       // acronyms spelled though they make
                                                         // syllables (UTI, EUA)
  std::vector<std::string> digitShapes;                  // written shapes of numbers read in
                                                         // groups: d digit, n number
  std::unordered_map<std::string, std::string> words;    // lower-cased word (or two) to what
                                                         // is said ("vc", "e-mail")
  size_t longestWord = 0;                                // bytes of the longest key of words
  PrefixFilter wordStarts;                               // of the keys of words
  std::unordered_set<std::string> subjects;              // lower-cased words a verb follows
  size_t longestSubject = 0;                             // bytes of the longest of them
  PrefixFilter subjectStarts, verbStarts;                // of subjects and of verbs
  std::unordered_map<std::string, std::string> verbs;    // lower-cased present-tense form to
                                                         // its spelling with the open vowel
  std::unordered_map<std::string, bool> feminine;        // lower-cased noun or "-ending" to
                                                         // whether it is feminine
  std::unordered_map<char32_t, std::string> emoji;       // code point to its name (cp1252)
  std::string unknownEmoji;                              // name of an emoji not listed
};

// The one instance.
Tables& T();

// Where the walk over a text stands: the text, the position, what has been written.
struct Walk {
  std::string_view text;
  size_t pos = 0;
  std::string out;
  enum Known : char { kUnknown, kNo, kYes };
  Known mixedCase = kUnknown;  // whether the text has lower-case letters (then capitals mark
                               // acronyms); found out when first needed
  std::string_view lastWord;  // the last two words passed, for Roman numerals
  std::string_view wordBefore;
};

// Handlers: each looks at the walk's position and, when its kind of text is there, writes
// the words, moves the position past it and gives true; otherwise it changes nothing.
bool Money(Walk& w);          // "R$ 10", "US$ 2,50", "20 €" (uttsNormalNumbers.cpp)
bool Date(Walk& w);           // "05/10/2026", "2026-10-05", "05/10"
bool Time(Walk& w);           // "14h30", "14:30", "8h"
bool NumberAndUnit(Walk& w);  // "10 km", "2 h", "50%"
bool SignedAbbreviation(Walk& w);  // "nº", "Profª", "S.A.", "etc." at the end (uttsNormalWords.cpp)
bool Roman(Walk& w);               // "século XXI", "Dom Pedro II"
bool Acronym(Walk& w);             // "IBGE", "INSS"
bool DigitGroups(Walk& w);   // "123.456.789-09", "(11) 91234-5678" (uttsNormalShapes.cpp)
bool DigitCode(Walk& w);     // "482913": a code, digits in groups
bool Fraction(Walk& w);      // "3/4"
bool Score(Walk& w);         // "2 x 1"
bool Counted(Walk& w);       // "200 pessoas": the number agrees with a feminine noun
bool ListedWord(Walk& w);    // "vc", "p/", "e-mail", "Black Friday"
bool Hashtag(Walk& w);       // "#festa"
bool VerbForm(Walk& w);      // "eu gosto": the open vowel of the verb

// Helpers.
bool IsDigitAt(std::string_view text, size_t pos);
bool IsLetterAt(std::string_view text, size_t pos);
// Digits at pos as a number (at most 15); its length, or 0 when no digit is there.
size_t ReadDigits(std::string_view text, size_t pos, std::uint64_t& value);
// The cardinal in words, feminine when asked ("uma", "duas", "vinte e duas").
std::string CardinalFor(std::uint64_t value, bool feminine);
// Whether the walk's text has lower-case letters.
bool MixedCase(Walk& w);
// The unit's word for a count.
const std::string& UnitWord(const Unit& unit, bool one);

}  // namespace uttsNormal
