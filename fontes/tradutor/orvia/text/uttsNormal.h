// TIRLA: ORVIA normalisation, the stage before preprocessing: money, dates, times, units,
// Roman numerals, abbreviations with signs, acronyms and emoji become words.
#pragma once
#include <string>
#include <string_view>

namespace uttsNormal {

// Puts the module in its start state: every table empty, so the stage changes nothing.
void StartNormal();

// Reads the normalisation file (cp1252, "[SECTION]" headers, "key = value" lines, ";"
// comments) into the tables, replacing the old ones. False when the file cannot be opened;
// the tables are then empty. Lines it cannot use are reported and skipped.
bool LoadNormalData(const std::string& fileName);

// Rewrites a cp1252 text for the preprocessing stage: "R$ 1.234,56" becomes "1234 reais e 56
// centavos", "05/10/2026" "5 de outubro de 2026", "14h30" "catorze horas e 30 minutos",
// "10 km" "10 quilômetros", "século XXI" "século vinte e um", "nº" "número", an acronym
// "IBGE" " i bê jê é ". Numbers it leaves in digits are read by the preprocessing. Anything
// else passes unchanged.
std::string NormalizeText(const std::string& text);

// Names the emoji of a UTF-8 text (" rosto sorridente "), for the edge where text is still
// UTF-8: code page 1252 has no emoji. Skin tones, joiners and variation selectors are dropped.
std::string NameEmoji(std::string_view utf8);

}  // namespace uttsNormal
