// TIRLA: the spelling table of the high bytes (cp1252, and the accented letters of cp850).
#include "diphone/translator_chars.h"

namespace translator {
namespace {

constexpr int kFirstHigh = 128;

// Indexed by byte - 128. Acute is ', grave `, circumflex ^, tilde ~, diaeresis ".
constexpr std::array<std::string_view, 128> kCharSpelling = {
    "\xE7", "u\"", "e'",  "a^",  "a~",  "a`",  "a'",  "\xE7",  // 128..135
    "e^",   "e\"", "e`",  "i\"", "i^",  "i`",  "a~",  "a'",    // 136..143
    "e'",   "ae",  "-",   "o^",  "o~",  "o`",  "u^",  "u`",    // 144..151
    "y-",   "o~",  "u\"", "",    "",    "",    "",    "",      // 152..159
    "a'",   "i'",  "o'",  "u'",  "nh",  "nh",  "",    "\xA7",  // 160..167
    "?",    "",    "",    "\xAA", "",   "!",   "\"",  "\"",    // 168..175
    "",     "",    "",    "",    "",    "",    "",    "",      // 176..183
    "",     "",    "",    "\xBA", "",   "",    "",    "?",     // 184..191
    "a`",   "a'",  "a^",  "a~",  "a~",  "a",   "ae",  "\xE7",  // 192..199
    "e`",   "e'",  "e^",  "e\"", "i`",  "i'",  "i^",  "i\"",   // 200..207
    "",     "nh",  "o`",  "o'",  "o^",  "o~",  "o`",  "x",     // 208..215
    "0",    "u`",  "u'",  "u^",  "u",   "",    "",    "",      // 216..223
    "a`",   "a'",  "a^",  "a~",  "a~",  "a",   "ae",  "\xE7",  // 224..231
    "e`",   "e'",  "e^",  "e\"", "i`",  "i'",  "i^",  "i\"",   // 232..239
    "",     "nh",  "o`",  "o'",  "o^",  "o~",  "o`",  "x",     // 240..247
    "0",    "u`",  "u'",  "u^",  "u",   "",    "",    "",      // 248..255
};
static_assert(kCharSpelling.size() == 256 - kFirstHigh);

}  // namespace

std::string_view CharSpelling(unsigned char c) {
  if (c < kFirstHigh) return {};
  return kCharSpelling[c - kFirstHigh];
}

}  // namespace translator
