// TIRLA: the console's colours, font, window state, magnifier and Braille mode from TOLVAN.INI.
#include "console/config.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/profile.h"
#include "platform/text.h"

namespace console {
namespace {

constexpr const char* kConfigFile = "TOLVAN.INI";
constexpr size_t kValueSize = 80;        // the buffer most keys are read into
constexpr size_t kFaceSize = 81;         // the face name keeps at most 80 characters
constexpr int kMaxFontSize = 512;        // pixel sizes beyond this are taken as this
constexpr int kBrailleModeBits = 3;      // the Braille mode is the low bits of its first character
constexpr int kMagnifyBits = 7;          // and so is the magnifier factor

// Font values, read once per run.
struct FontState {
  std::string face;   // face name, empty until read
  int32_t width = 0;  // font width, 0 until read (or read as 0)
  int32_t height = 0; // font height, 0 until read (or read as 0)
  int32_t weight = 0; // font weight, 0 until read
};

FontState& State() {
  static FontState state;
  return state;
}

std::string Read(const char* section, const char* key, const char* fallback,
                 size_t size = kValueSize) {
  return platform::GetProfileString(section, key, fallback, size, kConfigFile);
}

// The console's own rules keep every value bounded (colours and modes are masked to their
// bits, sizes clamped), and those rules are what users of old files rely on; a number outside
// the documented range is still told, once, so a slip in the file does not go unheard.
void TellOutside(const char* section, const char* key, int64_t value, const char* outcome) {
  platform::NumberInRange(section, key, value, outcome, kConfigFile);
}

// A value that is not a number at all: told once, the key's default used.
void TellNotNumber(const char* section, const char* key, const std::string& value,
                   const std::string& outcome) {
  platform::TellBadValue(section, key, value, "um n\xFAmero inteiro", outcome, kConfigFile);
}

// A signed decimal whole number filling the whole text (spaces and tabs around allowed) and
// fitting 32 bits.
std::optional<int32_t> ParseWhole(std::string_view text) {
  return platform::ParseInt(text, platform::kSpaceTab);
}

// Value of the leading digits of an entry, 0 when it has none.
int64_t LeadingDigits(std::string_view raw) {
  const std::string_view text = platform::Trim(raw, platform::kSpaceTab);
  int64_t result = 0;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    result = (result * 10 + (c - '0')) % 256;  // only the low byte is kept
  }
  return result;
}

// Modes read from their first character only: a value that is not one digit of the range is
// told (the first character's low bits are still what is used).
void TellSingleDigit(const char* section, const char* key, const std::string& value, int mask) {
  if (value.empty()) return;
  const std::string outcome =
      "vale " + std::to_string(static_cast<unsigned char>(value[0]) & mask);
  if (const std::optional<int32_t> number = ParseWhole(value))
    TellOutside(section, key, *number, outcome.c_str());
  else
    TellNotNumber(section, key, value, outcome);
}

bool IsYes(const std::string& value) { return !value.empty() && (value[0] == 'S' || value[0] == 's'); }

void ReadColourTable(std::array<uint8_t, 16>& table) {
  std::string value = Read("VIDEO", "TABCORES", "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15");
  if (value.empty()) return;
  value += ',';
  size_t from = 0;
  for (int index = 0; index < 16; ++index) {
    const size_t comma = value.find(',', from);
    if (comma == std::string::npos) break;
    const std::string entry = value.substr(from, comma - from);
    from = comma + 1;
    const std::optional<int32_t> number = ParseWhole(entry);
    if (!number) {
      TellNotNumber("VIDEO", "TABCORES", value.substr(0, value.size() - 1),
                    "as cores seguintes ficam como estavam");
      table[index] = static_cast<uint8_t>(LeadingDigits(entry));
      break;
    }
    TellOutside("VIDEO", "TABCORES", *number, "vale o resto da divis\xE3o por 256");
    table[index] = static_cast<uint8_t>(*number & 0xFF);
  }
}

// A colour key: empty keeps `start`, malformed gives `fallback` (the key's default).
int64_t ReadColour(const char* key, const char* fallback, int64_t start) {
  const std::string value = Read("VIDEO", key, fallback);
  if (value.empty()) return start;
  if (const std::optional<int32_t> number = ParseWhole(value)) {
    TellOutside("VIDEO", key, *number, "a cor sai trocada");
    return *number;
  }
  TellNotNumber("VIDEO", key, value, std::string("vale o padr\xE3o ") + fallback);
  return std::strtol(fallback, nullptr, 10);
}

// A font size key: a whole number (its magnitude, at most kMaxFontSize), or a size the display
// derives from its work area when the value is empty or malformed.
int32_t ReadFontSize(const char* key) {
  const std::string value = Read("VIDEO", key, "");
  const std::optional<int32_t> number = ParseWhole(value);
  if (!number) {
    TellNotNumber("VIDEO", key, value, "o tamanho vem da tela");
    return platform::FontRequest::kFromWorkArea;
  }
  TellOutside("VIDEO", key, std::llabs(*number), "vale 512");
  return static_cast<int32_t>(std::min<int64_t>(std::llabs(*number), kMaxFontSize));
}

void ReadFont() {
  FontState& font = State();
  if (font.face.empty()) font.face = Read("VIDEO", "FONTE", "Lucida Console", kFaceSize);
  if (font.width == 0) font.width = ReadFontSize("LARGURALETRA");
  if (font.height == 0) font.height = ReadFontSize("ALTURALETRA");
  if (font.weight == 0) {
    const std::string value = Read("VIDEO", "PESOLETRA", "700");
    const std::optional<int32_t> weight = ParseWhole(value);
    if (weight) TellOutside("VIDEO", "PESOLETRA", *weight, "vale o limite mais pr\xF3ximo");
    else TellNotNumber("VIDEO", "PESOLETRA", value, "vale o padr\xE3o 700");
    font.weight = std::clamp<int32_t>(weight.value_or(700), 0, 1000);
  }
}

}  // namespace

ConsoleConfig LoadConsoleConfig(const std::array<uint8_t, 16>& colour_table) {
  ConsoleConfig config;
  config.colour_table = colour_table;

  ReadColourTable(config.colour_table);
  config.fixed_colours = IsYes(Read("VIDEO", "CORESFIXAS", "N"));
  config.slow_scroll = IsYes(Read("VIDEO", "LENTO", "N"));
  const int64_t background = ReadColour("CORFUNDO", "0", 0);
  const int64_t foreground = ReadColour("CORLETRA", "15", 7);
  config.text_attribute = static_cast<uint8_t>(((background << 4) | (foreground & 0xFF)) & 0xFF);

  const std::string braille = Read("BRAILLE", "MODO", "0");
  TellSingleDigit("BRAILLE", "MODO", braille, kBrailleModeBits);
  config.braille_mode =
      braille.empty() ? 0 : (static_cast<unsigned char>(braille[0]) & kBrailleModeBits);

  TellSingleDigit("VIDEO", "AMPLIF", Read("VIDEO", "AMPLIF", "2"), kMagnifyBits);
  const std::string factor = Read("VIDEO", "AMPLIF", "2", 2);
  config.magnify_factor =
      factor.empty() ? 2 : (static_cast<unsigned char>(factor[0]) & kMagnifyBits);

  ReadFont();
  config.font.face = State().face;
  config.font.width = State().width;
  config.font.height = State().height;
  config.font.weight = State().weight;

  const std::string corner = Read("VIDEO", "CANTOTELA", "SIM");
  config.maximize_window = corner.empty() || std::toupper(static_cast<unsigned char>(corner[0])) != 'S';
  return config;
}

void StartConsoleConfig() { State() = FontState{}; }

}  // namespace console
