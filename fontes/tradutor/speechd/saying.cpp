// TIRLA: messages to pieces: spelling, single characters, key names, capital letters.
#include "speechd/saying.h"

#include <span>
#include <string>

#include "orvia/text/uttsNormal.h"
#include "platform/codepage.h"
#include "platform/text.h"

namespace sdOrvia {
namespace {

// Words are written in UTF-8 here and turned into cp1252 where they become pieces.
constexpr std::string_view kCapitalWord = "maiúscula";
constexpr std::string_view kFunctionKey = "éfe";
constexpr std::string_view kKeypad = "teclado numérico";

// Modifier prefixes of key names, in the order they come.
struct KeyWord {
  std::string_view name;
  std::string_view words;
};
constexpr KeyWord kModifiers[] = {
    {"shift_", "xífti"}, {"control_", "contról"}, {"alt_", "alt"},
    {"meta_", "méta"},   {"super_", "súper"},     {"hyper_", "ráiper"},
};

// Key names without a character of their own.
constexpr KeyWord kKeyNames[] = {
    {"space", "espaço"},          {"underscore", "sublinhado"},
    {"double-quote", "aspas"},    {"alt", "alt"},
    {"control", "contról"},       {"hyper", "ráiper"},
    {"meta", "méta"},             {"shift", "xífti"},
    {"super", "súper"},           {"backspace", "retrocesso"},
    {"break", "bréique"},         {"delete", "deletar"},
    {"down", "seta para baixo"},  {"end", "fim"},
    {"enter", "enter"},           {"escape", "esc"},
    {"home", "início"},           {"insert", "inserir"},
    {"left", "seta para a esquerda"}, {"menu", "menu"},
    {"next", "página abaixo"},    {"num-lock", "num lóque"},
    {"pause", "pausa"},           {"print", "print screen"},
    {"prior", "página acima"},    {"page-down", "página abaixo"},
    {"page-up", "página acima"},  {"return", "enter"},
    {"right", "seta para a direita"}, {"scroll-lock", "scról lóque"},
    {"tab", "tab"},               {"up", "seta para cima"},
    {"window", "windows"},        {"caps-lock", "caps lóque"},
    {"kp-enter", "teclado numérico enter"}, {"kp-plus", "teclado numérico mais"},
    {"kp-minus", "teclado numérico menos"}, {"kp-multiply", "teclado numérico vezes"},
    {"kp-divide", "teclado numérico barra"}, {"kp-delete", "teclado numérico deletar"},
};

// The English names the server's character tables may send as a whole message in place of a
// character (a CHAR of a blank comes as SPEAK "space"): ORVIA would read them as Portuguese.
constexpr KeyWord kServerCharacterNames[] = {
    {"space", "espaço"},           {"blank", "em branco"},
    {"tab", "tab"},                {"newline", "nova linha"},
    {"new line", "nova linha"},    {"line feed", "nova linha"},
    {"linefeed", "nova linha"},    {"carriage return", "retorno"},
    {"return", "retorno"},         {"page break", "quebra de página"},
    {"form feed", "quebra de página"}, {"no-break space", "espaço sem quebra"},
    {"non-breaking space", "espaço sem quebra"}, {"null", "nulo"},
};

bool IsCapital(unsigned char c) {
  return platform::LowerCp1252(c) != c && platform::UpperCp1252(c) == c;
}

Piece Words(std::string_view utf8) { return {platform::Utf8ToCp1252(utf8), {}}; }

// One cp1252 character said alone (a text of one character is read by its name), with its
// capital told apart.
void AddCharacter(std::vector<Piece>& pieces, unsigned char c, const VoiceSettings& settings) {
  const bool capital = IsCapital(c);
  if (capital && settings.capitals == Capitals::kSpell) pieces.push_back(Words(kCapitalWord));
  Piece piece{std::string(1, static_cast<char>(c)), {}};
  piece.toneBefore = capital && settings.capitals == Capitals::kIcon;
  pieces.push_back(piece);
}

// Every character but the blanks, one by one; marks stay where they were.
std::vector<Piece> Spelled(const std::vector<Piece>& pieces, const VoiceSettings& settings) {
  std::vector<Piece> spelled;
  for (const Piece& piece : pieces) {
    for (unsigned char c : piece.text)
      if (c > ' ') AddCharacter(spelled, c, settings);
    if (piece.mark.empty()) continue;
    if (spelled.empty()) spelled.push_back({});
    spelled.back().mark = piece.mark;
  }
  return spelled;
}

std::string_view Find(std::span<const KeyWord> table, std::string_view name) {
  for (const KeyWord& row : table)
    if (row.name == name) return row.words;
  return {};
}

// The Portuguese for a message that is only a character name of the server's; empty if not.
std::string_view ServerCharacterName(const std::vector<Piece>& pieces) {
  std::string text;
  for (const Piece& piece : pieces) text += piece.text;
  const std::string_view name = platform::Trim(text, platform::kSpaceAndControls);
  if (name.size() > 20) return {};
  return Find(kServerCharacterNames, platform::LowerCp1252(std::string(name)));
}

}  // namespace

std::vector<Piece> SpeakPieces(std::string_view ssml, const VoiceSettings& settings) {
  std::vector<Piece> pieces = uttsSsml::SsmlToPieces(ssml);
  if (const std::string_view words = ServerCharacterName(pieces); !words.empty()) {
    // the marks stay; the words go where the name was
    bool placed = false;
    for (Piece& piece : pieces) {
      const bool here = !placed && !platform::Trim(piece.text, platform::kSpaceAndControls).empty();
      piece.text = here ? Words(words).text : std::string();
      placed = placed || here;
    }
    return pieces;
  }
  return settings.spelling ? Spelled(pieces, settings) : pieces;
}

std::vector<Piece> CharPieces(std::string_view character, const VoiceSettings& settings) {
  std::vector<Piece> pieces;
  if (character == " ") character = "space";  // a blank alone would be silence
  if (const std::string_view words = Find(kServerCharacterNames, character); !words.empty()) {
    pieces.push_back(Words(words));
    return pieces;
  }
  const std::string text = platform::Utf8ToCp1252(uttsNormal::NameEmoji(character));
  if (text.size() == 1) AddCharacter(pieces, static_cast<unsigned char>(text[0]), settings);
  else pieces.push_back({text, {}});
  return pieces;
}

std::vector<Piece> KeyPieces(std::string_view key, const VoiceSettings& settings) {
  std::vector<Piece> pieces;
  for (bool more = true; more && key.size() > 1;) {
    more = false;
    for (const KeyWord& modifier : kModifiers)
      if (key.starts_with(modifier.name) && key.size() > modifier.name.size()) {
        pieces.push_back(Words(modifier.words));
        key.remove_prefix(modifier.name.size());
        more = true;
      }
  }
  const std::string_view words = Find(kKeyNames, key);
  if (!words.empty()) {
    pieces.push_back(Words(words));
  } else if (key.size() >= 2 && key[0] == 'f' && key[1] >= '1' && key[1] <= '9') {
    pieces.push_back(Words(std::string(kFunctionKey) + " " + std::string(key.substr(1))));
  } else if (key.starts_with("kp-")) {
    pieces.push_back(Words(kKeypad));
    for (const Piece& p : CharPieces(key.substr(3), settings)) pieces.push_back(p);
  } else {
    for (const Piece& p : CharPieces(key, settings)) pieces.push_back(p);
  }
  return pieces;
}

}  // namespace sdOrvia
