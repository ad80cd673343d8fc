// TIRLA: Portuguese words for cardinal and ordinal numbers.
#include <array>
#include <string>

#include "orvia/text/uttsPreprocParts.h"
#include "platform/codepage.h"

namespace uttsPreproc {
namespace {

// Word tables by digit, written in UTF-8 and converted once to cp1252.
constexpr const char* kUnits[10] = {"zero", "um",   "dois", "três", "quatro",
                                    "cinco", "seis", "sete", "oito", "nove"};
constexpr const char* kTeens[10] = {"dez",    "onze",      "doze",      "treze",   "quatorze",
                                    "quinze", "dezesseis", "dezessete", "dezoito", "dezenove"};
constexpr const char* kTens[10] = {"",          "",        "vinte",   "trinta",  "quarenta",
                                   "cinqüenta", "sessenta", "setenta", "oitenta", "noventa"};
constexpr const char* kHundreds[10] = {"",           "cento",     "duzentos",  "trezentos",
                                       "quatrocentos", "quinhentos", "seiscentos", "setecentos",
                                       "oitocentos",   "novecentos"};
constexpr const char* kHundred = "cem";  // exactly one hundred

constexpr const char* kOrdinalUnits[10] = {"",       "primeiro", "segundo", "terceiro", "quarto",
                                           "quinto", "sexto",    "sétimo",  "oitavo",   "nono"};
constexpr const char* kOrdinalTens[10] = {"",           "décimo",         "vigésimo",
                                          "trigésimo",  "quadragésimo",   "quinquagésimo",
                                          "sexagésimo", "septuagésimo",   "octagésimo",
                                          "nonagésimo"};
constexpr const char* kOrdinalHundreds[10] = {
    "",               "centésimo",      "ducentésimo",   "tricentésimo",  "quadrigentésimo",
    "quingentésimo",  "seiscentésimo",  "septigentésimo", "octigentésimo", "nongentésimo"};
constexpr const char* kOrdinalThousand = "milésimo";

// Scale words of the groups above the units, highest first, each with its trailing blank.
constexpr const char* kScaleSingular[4] = {"trilhão ", "bilhão ", "milhão ", "mil "};
constexpr const char* kScalePlural[4] = {"trilhões ", "bilhões ", "milhões ", "mil "};

constexpr int kGroups = 5;                 // trillions, billions, millions, thousands, units
constexpr std::uint64_t kGroupBase = 1000;  // one group holds three digits
constexpr const char* kGroupConnector = " e ";
constexpr const char* kLastGroupJoiner = "e ";

using Words = std::array<std::string, 10>;

Words Convert(const char* const (&table)[10]) {
  Words words;
  for (int i = 0; i < 10; ++i) words[i] = platform::Utf8ToCp1252(table[i]);
  return words;
}

// Every table in cp1252, built on first use.
struct Tables {
  Words units = Convert(kUnits);
  Words teens = Convert(kTeens);
  Words tens = Convert(kTens);
  Words hundreds = Convert(kHundreds);
  Words ordinalUnits = Convert(kOrdinalUnits);
  Words ordinalTens = Convert(kOrdinalTens);
  Words ordinalHundreds = Convert(kOrdinalHundreds);
  std::string ordinalThousand = platform::Utf8ToCp1252(kOrdinalThousand);
  std::array<std::string, 4> scaleSingular, scalePlural;
  Tables() {
    for (int i = 0; i < 4; ++i) {
      scaleSingular[i] = platform::Utf8ToCp1252(kScaleSingular[i]);
      scalePlural[i] = platform::Utf8ToCp1252(kScalePlural[i]);
    }
  }
};

const Tables& T() {
  static const Tables tables;
  return tables;
}

// Appends an ordinal word, its last letter made "a" for the feminine, after a blank if needed.
void AppendOrdinal(std::string& out, const std::string& word, Gender gender) {
  if (!out.empty()) out += ' ';
  out += word;
  if (gender == Gender::Feminine && !out.empty()) out.back() = 'a';
}

}  // namespace

const std::string& UnitWord(int digit) { return T().units[digit % 10]; }

std::string GroupWords(int group) {
  if (group <= 0 || group > 999) return {};
  if (group == 100) return kHundred;
  const int h = group / 100, t = group / 10 % 10, u = group % 10;
  std::string words;
  if (h != 0) {
    words += T().hundreds[h];
    if (t == 0 && u == 0) return words;
    words += kGroupConnector;
  }
  if (t == 1) return words + T().teens[u];
  if (t != 0) {
    words += T().tens[t];
    if (u == 0) return words;
    words += kGroupConnector;
  }
  if (u != 0) words += T().units[u];
  return words;
}

std::string CardinalWords(std::uint64_t value) {
  if (value == 0) return T().units[0];
  std::array<int, kGroups> groups{};
  for (int g = kGroups - 1; g >= 0; --g) {
    groups[g] = static_cast<int>(value % kGroupBase);
    value /= kGroupBase;
  }
  std::array<std::string, kGroups> texts;
  int last = -1, nonEmpty = 0;
  for (int g = 0; g < kGroups; ++g) {
    texts[g] = GroupWords(groups[g]);
    if (groups[g] != 0 && g != kGroups - 1) {
      texts[g] += ' ';
      texts[g] += groups[g] == 1 ? T().scaleSingular[g] : T().scalePlural[g];
    }
    if (!texts[g].empty()) {
      last = g;
      ++nonEmpty;
    }
  }
  std::string words;
  for (int g = 0; g < kGroups; ++g) {
    // Written usage joins the last group with "e" only when it is below one hundred or a
    // round hundred: "mil e cinq�enta", "mil e duzentos", but "mil duzentos e trinta".
    const bool joins = groups[g] < 100 || groups[g] % 100 == 0;
    if (g == last && nonEmpty > 1 && joins) words += kLastGroupJoiner;
    words += texts[g];
  }
  // One thousand is "mil", but one million stays "um milhão".
  if (words.starts_with("um mil") && !words.starts_with("um milh")) words.erase(0, 3);
  return words;
}

std::string OrdinalWords(std::uint64_t value, Gender gender) {
  if (value >= FirstCardinalOrdinal) return CardinalWords(value);
  if (value == 0) return T().units[0];
  const int u = value % 10, t = value / 10 % 10, h = value / 100 % 10, th = value / 1000 % 10;
  std::string words;
  if (th != 0) AppendOrdinal(words, T().ordinalThousand, gender);
  if (h != 0) AppendOrdinal(words, T().ordinalHundreds[h], gender);
  if (t != 0) AppendOrdinal(words, T().ordinalTens[t], gender);
  if (u != 0) AppendOrdinal(words, T().ordinalUnits[u], gender);
  return words;
}

}  // namespace uttsPreproc
