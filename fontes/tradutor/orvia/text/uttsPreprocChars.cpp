// TIRLA: character classes and spoken character names for ORVIA's text preprocessing.
#include <array>
#include <string_view>

#include "orvia/text/uttsPreprocParts.h"
#include "platform/byteset.h"
#include "platform/codepage.h"

namespace uttsPreproc {
namespace {

// One named character: its cp1252 code and its name (written here in UTF-8).
struct NamedChar {
  unsigned char code;
  const char* name;
};

// Symbols, digits and letters. Upper and lower case letters share a name except J and N.
// A leading blank belongs to the name (" sê", " dê").
constexpr NamedChar kNames[] = {
    {32, "espaço"}, {33, "exclamação"}, {34, "aspas"}, {35, "sustenido"}, {36, "cifrão"},
    {37, "porcento"}, {38, "é comercial"}, {39, "apóstrofo"}, {40, "abre parênteses"},
    {41, "fecha parênteses"}, {42, "asterisco"}, {43, "mais"}, {44, "vírgula"}, {45, "traço"},
    {46, "ponto"}, {47, "barra"},
    {48, "zéro"}, {49, "um"}, {50, "dois"}, {51, "três"}, {52, "quatro"}, {53, "cinco"},
    {54, "seis"}, {55, "séte"}, {56, "oito"}, {57, "nóve"},
    {58, "dois pontos"}, {59, "ponto e vírgula"}, {60, "menor que"}, {61, "igual"},
    {62, "maior que"}, {63, "interrogação"}, {64, "arrôba"},
    {'A', "a"}, {'B', "bê"}, {'C', " sê"}, {'D', " dê"}, {'E', "é"}, {'F', "éfe"}, {'G', "jê"},
    {'H', "agá"}, {'I', "i"}, {'J', "jóta"}, {'K', "cá"}, {'L', "éle"}, {'M', "ême"},
    {'N', "êne"}, {'O', "ó"}, {'P', "pê"}, {'Q', "quê"}, {'R', "érre"}, {'S', "ésse"},
    {'T', "tê"}, {'U', "u"}, {'V', "vê"}, {'W', "dábliu"}, {'X', "xis"}, {'Y', "ípsilon"},
    {'Z', "zê"},
    {91, "abre colchete"}, {92, "barra invertida"}, {93, "fecha colchete"}, {94, "circunflexo"},
    {95, "sublinhado"}, {96, "crase"},
    {'a', "a"}, {'b', "bê"}, {'c', " sê"}, {'d', " dê"}, {'e', "é"}, {'f', "éfe"}, {'g', "jê"},
    {'h', "agá"}, {'i', "i"}, {'j', "jota"}, {'k', "cá"}, {'l', "éle"}, {'m', "ême"},
    {'n', "ene"}, {'o', "ó"}, {'p', "pê"}, {'q', "quê"}, {'r', "érre"}, {'s', "ésse"},
    {'t', "tê"}, {'u', "u"}, {'v', "vê"}, {'w', "dábliu"}, {'x', "xis"}, {'y', "ípsilon"},
    {'z', "zê"},
    {123, "abre chave"}, {124, "barra vertical"}, {125, "fecha chave"}, {126, "til"},
    {161, "exclamação reversa"}, {162, "centavos de dólar"}, {163, "libras"},
    {164, "símbolo de moeda"}, {165, "iene"}, {166, "barra interrompida"}, {167, "parágrafo"},
    {168, "trema"}, {169, "copyright"}, {170, "ordinal feminino"}, {171, "Aspas esquerdas"},
    {172, "negação"}, {173, "hífen"}, {174, "Marca registrada"}, {175, "mácron"},
    {176, "grau"}, {177, "mais ou menos"}, {178, "elevado ao quadrado"},
    {179, "elevado ao cubo"}, {180, "acento agudo"}, {181, "mi"}, {182, "pi"},
    {183, "ponto no meio"}, {184, "cedilha"}, {185, "expoente um"},
    {186, "ordinal masculino"}, {187, "aspas direitas"}, {188, "um quarto"}, {189, "um meio"},
    {190, "três quartos"}, {191, "interrogação reversa"},
    {192, "A grave"}, {193, "A agudo"}, {194, "A circunflexo"}, {195, "A com til"},
    {196, "A com trema"}, {197, "A bola"}, {198, "A É"}, {199, "Cê cedilha"},
    {200, "É grave"}, {201, "É agudo"}, {202, "É circunflexo"}, {203, "É com trema"},
    {204, "I grave"}, {205, "I agudo"}, {206, "I circunflexo"}, {207, "I com trema"},
    {208, "Dê cortado"}, {209, "N com til"}, {210, "Ó grave"}, {211, "Ó agudo"},
    {212, "Ó circunflexo"}, {213, "Ó com til"}, {214, "Ó tremado"}, {215, "vezes"},
    {216, "Ó cortado"}, {217, "U grave"}, {218, "U agudo"}, {219, "U circunflexo"},
    {220, "U com trema"},
};

// Lower-case accented letters 225..252 borrow the name of the letter 32 codes below.
constexpr int kFirstBorrowing = 225;
constexpr int kLastBorrowing = 252;
constexpr int kCaseDistance = 32;

// Consonants: W and Y count, and so do Ç and Ñ.
constexpr std::string_view kConsonants =
    "BCDFGHJKLMNPQRSTVWXYZbcdfghjklmnpqrstvwxyz\xC7\xD1\xE7\xF1";
constexpr std::string_view kKeptPunctuation = " !(),.:;?";

constexpr platform::ByteSet kConsonantSet(kConsonants);
constexpr platform::ByteSet kKeptSet(kKeptPunctuation);

// Signs by the least punctuation setting that reads them. The phrase punctuation is read only
// with kAll; quotes, brackets, dashes and the typographic marks from kMost; every other sign
// (money, arithmetic, @ # & % and the like) from kSome. From the first accented capital on,
// cp1252 holds letters, read whatever the setting.
constexpr platform::ByteSet kReadFromAll("!(),.:;?");
constexpr platform::ByteSet kReadFromMost =
    platform::ByteSet("\"'-[]`{}\xA1\xA6\xA8\xAB\xAC\xAD\xAF\xB4\xB7\xB8\xBB\xBF");
constexpr unsigned char kFirstNamedLetter = 0xC0;

// The signs read now (the module's one setting).
struct PunctuationState {
  Punctuation mode = Punctuation::kMost;
};
PunctuationState punctuation;

// The names by byte, converted once to cp1252.
using NameTable = std::array<std::string, 256>;

NameTable BuildNames() {
  NameTable names;
  for (const NamedChar& entry : kNames) names[entry.code] = platform::Utf8ToCp1252(entry.name);
  for (int code = kFirstBorrowing; code <= kLastBorrowing; ++code)
    names[code] = names[code - kCaseDistance];
  return names;
}

const NameTable& Names() {
  static const NameTable names = BuildNames();
  return names;
}

}  // namespace

bool IsWordLetter(unsigned char c) { return kWordLetters.Has(c); }
bool IsConsonantLetter(unsigned char c) { return kConsonantSet.Has(c); }
bool IsKeptPunctuation(unsigned char c) { return kKeptSet.Has(c); }

const std::string& CharName(unsigned char code) { return Names()[code]; }

Punctuation LeastModeReading(unsigned char code) {
  if (code >= kFirstNamedLetter) return Punctuation::kNone;
  if (kReadFromAll.Has(code)) return Punctuation::kAll;
  if (kReadFromMost.Has(code)) return Punctuation::kMost;
  return Punctuation::kSome;
}

void SetPunctuation(Punctuation mode) { punctuation.mode = mode; }
Punctuation CurrentPunctuation() { return punctuation.mode; }

}  // namespace uttsPreproc
