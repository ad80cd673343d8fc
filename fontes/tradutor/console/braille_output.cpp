// TIRLA: the console on a braille display. What is shown is the line under the point of
// attention: a text the program names (the line editor's field, the text being spoken) or the
// screen row under the console cursor, which screen review moves. It is written only when it
// changed, so refreshing from every pump costs nothing.
#include "console/braille_output.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>

#include "console/backend.h"
#include "console/console.h"
#include "console/internal.h"
#include "console/keyboard.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "platform/profile.h"
#include "platform/report.h"
#include "platform/text.h"

namespace console {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRetryAfter = std::chrono::seconds(5);  // a lost or absent display is sought again
constexpr uint16_t kPanTone = 1200, kEdgeTone = 300;   // a window moved; nothing more that way
constexpr int kToneMs = 40;

// [BRAILLE] LINHA: whether the console uses a braille display.
enum class LineSetting { kNever = 0, kQuiet = 1, kTold = 2 };

struct BrailleOutputState {
  const platform::BrailleDisplay* display = nullptr;
  const platform::BrailleTranslator* translator = nullptr;
  bool setting_read = false;
  LineSetting setting = LineSetting::kQuiet;
  std::string table;                 // [BRAILLE] TABELA: a braille table; empty: computer braille
  std::string translated;            // the last text the table made into cells, and its cells:
  platform::BrailleCells cells;      // the pumps refresh far more often than the text changes
  bool open = false;
  bool unfocused = false;            // the window lost the focus: the display is given back
  Clock::time_point next_try{};      // no attempt before this
  bool named = false;                // the program names the text (else: the cursor's row)
  std::string text;                  // the named text, cp1252
  int caret = -1;                    // its cursor, 0-based; negative: none
  int offset = 0;                    // the first character shown
  int last_caret = -2;               // the cursor the offset was chosen for
  std::string last_source;           // the text it was chosen for
  bool panned = false;               // the user moved the window: keep it until the cursor moves
  std::string shown;                 // what the display shows (UTF-8, or cells after a table)
  int shown_cursor = -2;
  int routed = 0;                    // the last routing key's position
};

BrailleOutputState& State() {
  static BrailleOutputState state;
  return state;
}

void ReadSetting() {
  BrailleOutputState& s = State();
  if (s.setting_read) return;
  s.setting_read = true;
  s.table = std::string(platform::Trim(
      platform::GetProfileString("BRAILLE", "TABELA", "", 256, "TOLVAN.INI"), platform::kSpaceTab));
  const std::string value = platform::GetProfileString("BRAILLE", "LINHA", "1", 16, "TOLVAN.INI");
  const std::optional<int32_t> n = platform::ParseInt(value, platform::kSpaceTab);
  if (!n) {
    platform::TellBadValue("BRAILLE", "LINHA", value, "0, 1 ou 2", "vale o padr\xE3o 1",
                           "TOLVAN.INI");
    return;
  }
  if (platform::NumberInRange("BRAILLE", "LINHA", *n, "vale o padr\xE3o 1", "TOLVAN.INI") &&
      *n >= 0 && *n <= 2)
    s.setting = static_cast<LineSetting>(*n);
}

void OnKeysMessage(intptr_t, intptr_t);

bool EnsureOpen() {
  BrailleOutputState& s = State();
  if (s.open) return true;
  if (!s.display || !s.display->Open) return false;
  ReadSetting();
  if (s.setting == LineSetting::kNever || s.unfocused || Clock::now() < s.next_try)
    return false;
  std::string error;
  const bool terminal = std::string_view(VideoDriver().name) == "terminal";
  if (!s.display->Open(terminal, &error)) {
    s.next_try = Clock::now() + kRetryAfter;
    if (s.setting == LineSetting::kTold) {  // once: the retries stay quiet
      platform::Report(platform::Severity::kWarning,
                       "linha braille indispon\xEDvel: " + platform::Utf8ToCp1252(error));
      s.setting = LineSetting::kQuiet;
    }
    return false;
  }
  s.open = true;
  s.shown.clear();
  s.shown_cursor = -2;
  platform::SetMessageHandler(platform::kBrailleKeysMessage, OnKeysMessage);
  return true;
}

void Lose() {
  BrailleOutputState& s = State();
  if (s.display && s.display->Close) s.display->Close();
  s.open = false;
  s.next_try = Clock::now() + kRetryAfter;
}

int Width() {
  const BrailleOutputState& s = State();
  return s.display && s.display->Width ? std::max(s.display->Width(), 0) : 0;
}

// The line under the point of attention and its cursor, cp1252.
void Source(std::string* text, int* caret) {
  const BrailleOutputState& s = State();
  if (s.named) {
    *text = s.text;
    *caret = s.caret;
  } else {
    text->clear();
    *caret = -1;
    if (ConsoleOpen()) {
      const int row = CursorRow();
      for (int column = 1; column <= ScreenSize().Columns; ++column)
        text->push_back(static_cast<char>(ScreenChar(column, row)));
      *caret = CursorColumn() - 1;
    }
  }
  for (char& ch : *text)
    if (static_cast<unsigned char>(ch) < 32) ch = ' ';  // control bytes have no cell
  // Trailing blanks are no content, but the cursor may stand on them.
  size_t end = text->find_last_not_of(' ');
  end = end == std::string::npos ? 0 : end + 1;
  text->resize(std::max<size_t>(end, *caret >= 0 ? std::min<size_t>(*caret, text->size()) : 0));
}

// The line as the display counts it: characters in computer braille, cells after a table.
struct Line {
  std::string text;
  bool contracted = false;
  platform::BrailleCells cells;
  int length = 0;   // in the display's units
  int cursor = -1;  // the unit under the cursor; negative: none

  // The character under unit `unit`; past the end, the position after the last.
  int CharacterAt(int unit) const {
    if (!contracted) return unit;
    return unit >= 0 && unit < length ? cells.character[unit] : static_cast<int>(text.size());
  }
};

Line MakeLine() {
  BrailleOutputState& s = State();
  Line line;
  int caret;
  Source(&line.text, &caret);
  line.length = static_cast<int>(line.text.size());
  line.cursor = caret;
  if (s.table.empty() || !s.translator || !s.translator->Translate) return line;
  std::string error;
  if (line.text != s.translated &&
      !s.translator->Translate(s.table, line.text, &s.cells, &error)) {
    platform::Report(platform::Severity::kWarning,
                     platform::Utf8ToCp1252(error) +
                         "; a linha braille fica em Braille de computador");
    s.table.clear();  // said once
    return line;
  }
  s.translated = line.text;
  line.cells = s.cells;
  line.contracted = true;
  line.length = static_cast<int>(line.cells.dots.size());
  if (caret >= 0)
    line.cursor = caret < static_cast<int>(line.text.size()) ? line.cells.first_cell[caret]
                                                             : line.length;
  return line;
}

// A short tone that confirms a key of the display which moved nothing else.
void Confirm(uint16_t frequency) {
  std::string image = BuildToneImage(frequency);
  detail::ShortenToneImage(image, kToneMs);
  backend::PlaySound(image, false);
}

void Queue(uint8_t code) { detail::QueueAppend(code); }
void QueueExtended(uint8_t code) {
  if (detail::QueueRoom() < 2) return;
  Queue(0);
  Queue(code);
}

void Pan(int direction) {
  BrailleOutputState& s = State();
  const int width = std::max(Width(), 1);
  const int next = s.offset + direction * width;
  if (next < 0 || next >= std::max(MakeLine().length, 1)) {
    Confirm(kEdgeTone);
    return;
  }
  s.offset = next;
  s.panned = true;
  Confirm(kPanTone);
  RefreshBraille();
}

void HandleKey(const platform::BrailleKey& key) {
  using Kind = platform::BrailleKeyKind;
  BrailleOutputState& s = State();
  switch (key.kind) {
    case Kind::kLineUp:
    case Kind::kLineDown:
      // Rows are the screen's: a named text is one line with nothing above or below.
      if (s.named)
        Confirm(kEdgeTone);
      else
        QueueExtended(key.kind == Kind::kLineUp ? 72 : 80);  // Up, Down
      break;
    case Kind::kPanLeft: Pan(-1); break;
    case Kind::kPanRight: Pan(1); break;
    case Kind::kRoute:
      s.routed = MakeLine().CharacterAt(s.offset + key.argument);
      QueueExtended(kBrailleRouteCode);
      break;
    case Kind::kDots: detail::TypeBrailleCell(key.argument); break;
    case Kind::kCharacter: Queue(static_cast<uint8_t>(key.argument)); break;
    case Kind::kNone: break;
  }
}

void OnKeysMessage(intptr_t, intptr_t) {
  BrailleOutputState& s = State();
  if (!s.open || !s.display->ReadKey) return;
  platform::BrailleKey key;
  bool lost = false;
  while (s.display->ReadKey(&key, &lost)) HandleKey(key);
  if (lost) Lose();
}

}  // namespace

void UseBrailleDisplay(const platform::BrailleDisplay* display) {
  if (State().open) Lose();
  State().display = display;
  State().next_try = {};
}

void UseBrailleTranslator(const platform::BrailleTranslator* translator) {
  State().translator = translator;
}

void ShowBrailleText(std::string_view text, int caret) {
  BrailleOutputState& s = State();
  s.named = true;
  s.text.assign(text);
  s.caret = caret;
  RefreshBraille();
}

void FollowCursorInBraille() {
  State().named = false;
  RefreshBraille();
}

int BrailleRoutedPosition() { return State().routed; }

void BrailleFocus(bool gained) {
  BrailleOutputState& s = State();
  s.unfocused = !gained;
  if (!gained && s.open) {
    Lose();
    s.next_try = {};  // not lost: taken again as soon as the focus comes back
  }
  if (gained) RefreshBraille();
}

void RefreshBraille() {
  BrailleOutputState& s = State();
  if (!s.display || !EnsureOpen()) return;
  const Line line = MakeLine();
  const int width = std::max(Width(), 1);
  // A window of whole display widths that holds the cursor, unless the user panned away
  // from it and it has not moved since.
  const std::string& source = line.contracted ? line.cells.dots : line.text;
  if (line.cursor != s.last_caret || source != s.last_source) {
    if (line.cursor != s.last_caret) s.panned = false;
    s.last_caret = line.cursor;
    s.last_source = source;
  }
  if (!s.panned) s.offset = line.cursor >= 0 ? line.cursor / width * width : 0;
  // The last window holds the last unit, or the one after it when the cursor is there.
  const int last = std::max(line.length, line.cursor + 1);
  s.offset = std::clamp(s.offset, 0, std::max(last, 1) - 1);
  const int cursor =
      line.cursor >= s.offset && line.cursor < s.offset + width ? line.cursor - s.offset : -1;
  const std::string window = source.substr(std::min<size_t>(s.offset, source.size()), width);
  const std::string shown = line.contracted ? window : platform::Cp1252ToUtf8(window);
  if (shown == s.shown && cursor == s.shown_cursor) return;
  const auto write = line.contracted ? s.display->WriteDots : s.display->Write;
  if (!write || !write(shown, cursor)) {
    Lose();
    return;
  }
  s.shown = shown;
  s.shown_cursor = cursor;
}

void StartBrailleOutput() {
  if (State().open) Lose();
  const BrailleOutputState kept = State();
  State() = BrailleOutputState{};
  State().display = kept.display;
  State().translator = kept.translator;
}

}  // namespace console
