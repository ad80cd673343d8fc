// TIRLA: the normalisation file: reading its sections into the tables.
//
// Sections: [MESES] month number = name; [MOEDAS] sign = unit, units, cent, cents;
// [UNIDADES] sign = singular, plural [, f]; [ROMANOS] word = o | a | c ("*" for a capitalised
// name); [SIGLAS] one acronym said as a word per line; [EMOJI] hexadecimal code point = name
// ("*" for any other emoji); [SOLETRADAS] one acronym spelled per line; [GRUPOS] one written
// shape of a number read in groups per line; [PALAVRAS] word = what is said; [GENERO]
// noun or -ending = f | m;
// [FRACOES] denominator ("*" any other) = singular, plural; [SUJEITOS] one word a verb
// follows per line; [VERBOS] present-tense form = its spelling with the open vowel. Keys of [ROMANOS] and [SIGLAS] are compared upper-cased, unit
// signs as written.
#include <array>
#include <fstream>
#include <functional>

#include "orvia/text/uttsNormal.h"
#include "orvia/text/uttsNormalParts.h"
#include "orvia/text/uttsPreprocParts.h"
#include "platform/codepage.h"
#include "platform/report.h"
#include "platform/text.h"

namespace uttsNormal {
namespace {

constexpr char kCommentMark = ';';
constexpr int kMonths = 12;
constexpr const char* kAny = "*";

Tables tables;

std::string Trim(std::string_view text) {
  return std::string(platform::Trim(text, platform::kSpaceAndControls));
}

// The comma-separated fields of a value, trimmed.
std::vector<std::string> Fields(std::string_view value) {
  std::vector<std::string> fields;
  size_t from = 0;
  while (from <= value.size()) {
    size_t comma = value.find(',', from);
    if (comma == std::string_view::npos) comma = value.size();
    fields.push_back(Trim(value.substr(from, comma - from)));
    from = comma + 1;
  }
  return fields;
}

// One line of a section: key and value (value empty when there is no "="); false when it
// cannot be used.
using LineReader = std::function<bool(const std::string& key, const std::string& value)>;

bool ReadMonth(const std::string& key, const std::string& value) {
  auto month = platform::ParseInt(key, platform::kSpaceAndControls);
  if (!month || *month < 1 || *month > kMonths || value.empty()) return false;
  tables.months[*month - 1] = value;
  return true;
}

bool ReadUnit(const std::string& value, Unit& unit) {
  std::vector<std::string> f = Fields(value);
  if (f.size() < 2 || f[0].empty() || f[1].empty()) return false;
  unit = {f[0], f[1], f.size() > 2 && (f[2] == "f" || f[2] == "F")};
  return true;
}

bool ReadCurrency(const std::string& key, const std::string& value) {
  std::vector<std::string> f = Fields(value);
  if (key.empty() || f.size() != 4) return false;
  for (const std::string& field : f)
    if (field.empty()) return false;
  tables.currencies.push_back({key, {f[0], f[1]}, {f[2], f[3]}});
  tables.currencyStart[static_cast<unsigned char>(key[0])] = true;
  return true;
}

bool ReadUnitLine(const std::string& key, const std::string& value) {
  Unit unit;
  if (key.empty() || !ReadUnit(value, unit)) return false;
  tables.units.emplace(key, unit);
  tables.longestUnit = std::max(tables.longestUnit, key.size());
  return true;
}

bool ReadFraction(const std::string& key, const std::string& value) {
  Unit unit;
  if (key.empty() || !ReadUnit(value, unit)) return false;
  tables.fractions.emplace(key, unit);
  return true;
}

bool ReadRoman(const std::string& key, const std::string& value) {
  if (value.size() != 1 || std::string_view("oac").find(value[0]) == std::string_view::npos)
    return false;
  auto reading = static_cast<RomanReading>(value[0]);
  if (key == kAny) {
    tables.properName = reading;
    tables.romanAfterNames = true;
  } else {
    tables.roman.emplace(platform::UpperCp1252(key), reading);
  }
  return true;
}

bool ReadAcronym(const std::string& key, const std::string& value) {
  if (key.empty() || !value.empty()) return false;
  tables.spokenAcronyms.insert(platform::UpperCp1252(key));
  return true;
}

bool ReadSpelled(const std::string& key, const std::string& value) {
  if (key.empty() || !value.empty()) return false;
  tables.spelledAcronyms.insert(platform::UpperCp1252(key));
  return true;
}

bool ReadShape(const std::string& key, const std::string& value) {
  if (key.empty() || !value.empty() || key.find_first_of("dn") == std::string::npos)
    return false;
  tables.digitShapes.push_back(key);
  return true;
}

bool ReadWord(const std::string& key, const std::string& value) {
  if (key.empty() || value.empty()) return false;
  const std::string lower = platform::LowerCp1252(key);
  tables.words[lower] = value;
  tables.wordStarts.Add(lower);
  tables.longestWord = std::max(tables.longestWord, lower.size());
  return true;
}

bool ReadSubject(const std::string& key, const std::string& value) {
  if (key.empty() || !value.empty()) return false;
  tables.subjects.insert(platform::LowerCp1252(key));
  tables.subjectStarts.Add(platform::LowerCp1252(key));
  tables.longestSubject = std::max(tables.longestSubject, key.size());
  return true;
}

bool ReadVerb(const std::string& key, const std::string& value) {
  if (key.empty() || value.empty()) return false;
  tables.verbs[platform::LowerCp1252(key)] = value;
  tables.verbStarts.Add(platform::LowerCp1252(key));
  return true;
}

bool ReadGender(const std::string& key, const std::string& value) {
  if (key.empty() || (value != "f" && value != "m")) return false;
  tables.feminine[platform::LowerCp1252(key)] = value == "f";
  return true;
}

bool ReadEmoji(const std::string& key, const std::string& value) {
  if (value.empty()) return false;
  if (key == kAny) {
    tables.unknownEmoji = value;
    return true;
  }
  char32_t code = 0;
  if (key.empty() || key.size() > 6) return false;
  for (char c : key) {
    int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10
              : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return false;
    code = code * 16 + static_cast<char32_t>(digit);
  }
  tables.emoji.emplace(code, value);
  return true;
}

// The reader of a section, by its name; none for an unknown section.
LineReader ReaderOf(const std::string& section) {
  static const std::array<std::pair<const char*, LineReader>, 13> kSections = {{
      {"[MESES]", ReadMonth},
      {"[MOEDAS]", ReadCurrency},
      {"[UNIDADES]", ReadUnitLine},
      {"[ROMANOS]", ReadRoman},
      {"[SIGLAS]", ReadAcronym},
      {"[EMOJI]", ReadEmoji},
      {"[SOLETRADAS]", ReadSpelled},
      {"[GRUPOS]", ReadShape},
      {"[PALAVRAS]", ReadWord},
      {"[GENERO]", ReadGender},
      {"[FRACOES]", ReadFraction},
      {"[SUJEITOS]", ReadSubject},
      {"[VERBOS]", ReadVerb},
  }};
  for (const auto& [name, reader] : kSections)
    if (section == name) return reader;
  return {};
}

void Complain(const std::string& fileName, int lineNumber, const std::string& line) {
  platform::Report(platform::Severity::kWarning,
                   fileName + ":" + std::to_string(lineNumber) + ": linha ignorada: " + line);
}

}  // namespace

Tables& T() { return tables; }

namespace {
int PrefixKey(std::string_view word) {
  const unsigned char first = platform::LowerCp1252(static_cast<unsigned char>(word[0]));
  // a key of one letter ("q") stands for the word followed by a blank or a sign
  const bool goesOn = word.size() > 1 && (uttsPreproc::IsWordLetter(word[1]) ||
                                          word[1] == '-' || word[1] == '/');
  const unsigned char second =
      goesOn ? platform::LowerCp1252(static_cast<unsigned char>(word[1])) : 0;
  return first << 8 | second;
}
}  // namespace

void PrefixFilter::Add(std::string_view lowerKey) {
  if (!lowerKey.empty()) seen[PrefixKey(lowerKey)] = true;
}

bool PrefixFilter::MayHave(std::string_view word) const {
  return !word.empty() && seen[PrefixKey(word)];
}

void StartNormal() { tables = Tables{}; }

bool LoadNormalData(const std::string& fileName) {
  tables = Tables{};
  tables.months.assign(kMonths, {});
  std::ifstream file(fileName, std::ios::binary);
  if (!file) return false;
  tables.loaded = true;
  LineReader reader;
  std::string raw;
  int lineNumber = 0;
  while (std::getline(file, raw)) {
    ++lineNumber;
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == kCommentMark) continue;
    if (line[0] == '[') {
      reader = ReaderOf(platform::UpperCp1252(line));
      if (!reader) Complain(fileName, lineNumber, line);
      continue;
    }
    const size_t equals = line.find('=');
    const std::string key = Trim(line.substr(0, equals));
    const std::string value =
        equals == std::string::npos ? std::string() : Trim(line.substr(equals + 1));
    if (reader && !reader(key, value)) Complain(fileName, lineNumber, line);
  }
  return true;
}

}  // namespace uttsNormal
