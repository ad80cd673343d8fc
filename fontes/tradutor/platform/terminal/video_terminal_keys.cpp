// TIRLA: terminal input to console key events (see video_terminal_keys.h).
#include "platform/terminal/video_terminal_keys.h"

#include <array>

#include "platform/codepage.h"
#include "platform/keys.h"

namespace platform::terminal {
namespace {

constexpr size_t kMaxSequence = 64;        // a CSI sequence longer than this is dropped
constexpr size_t kMaxPaste = 1 << 20;      // pasted bytes kept; the rest of a paste is dropped
constexpr int kSequenceWaitMs = 60;        // the rest of a sequence or character comes by then
constexpr int kPasteWaitMs = 1000;         // the rest of a paste comes by then
constexpr std::string_view kPasteEnd = "\x1b[201~";
constexpr int kPasteStart = 200;           // CSI 200 ~ opens a bracketed paste

constexpr CsiKey kCsiKeys[] = {
    // final  number  key
    {'A',     1,      vk::kUp},
    {'B',     1,      vk::kDown},
    {'C',     1,      vk::kRight},
    {'D',     1,      vk::kLeft},
    {'H',     1,      vk::kHome},
    {'F',     1,      vk::kEnd},
    {'P',     1,      vk::kF1},
    {'Q',     1,      vk::kF1 + 1},
    {'R',     1,      vk::kF1 + 2},
    {'S',     1,      vk::kF1 + 3},
    {'~',     1,      vk::kHome},
    {'~',     2,      vk::kInsert},
    {'~',     3,      vk::kDelete},
    {'~',     4,      vk::kEnd},
    {'~',     5,      vk::kPrior},
    {'~',     6,      vk::kNext},
    {'~',     7,      vk::kHome},
    {'~',     8,      vk::kEnd},
    {'~',     11,     vk::kF1},
    {'~',     12,     vk::kF1 + 1},
    {'~',     13,     vk::kF1 + 2},
    {'~',     14,     vk::kF1 + 3},
    {'~',     15,     vk::kF1 + 4},
    {'~',     17,     vk::kF1 + 5},
    {'~',     18,     vk::kF1 + 6},
    {'~',     19,     vk::kF1 + 7},
    {'~',     20,     vk::kF1 + 8},
    {'~',     21,     vk::kF1 + 9},
    {'~',     23,     vk::kF1 + 10},
    {'~',     24,     vk::kF1 + 11},
};

// Control bytes as keys: what the terminal sends for Enter, Backspace, Tab and Ctrl with a
// letter. Ctrl+J (line feed) is what terminals send for Ctrl+Enter, ^H for Ctrl+Backspace;
// Ctrl+\ is the editor's dial key, as in the window (Ctrl+Break is Escape and then Ctrl+\, so
// that one slip cannot end the program and lose the line).
struct ControlRow {
  unsigned char first, last;  // byte range
  int vk;                     // key of the first byte (the next bytes give the next keys)
  unsigned modifiers;
  int ch;                     // character of the first byte, or -1 for none; 0: the byte
};
constexpr ControlRow kControlBytes[] = {
    // first  last   key             modifiers  character
    {0x0D,    0x0D,  vk::kReturn,    0,         13},
    {0x0A,    0x0A,  vk::kReturn,    kModCtrl,  13},
    {0x09,    0x09,  vk::kTab,       0,         9},
    {0x7F,    0x7F,  vk::kBack,      0,         8},
    {0x08,    0x08,  vk::kBack,      kModCtrl,  8},
    {0x00,    0x00,  vk::kSpace,     kModCtrl,  -1},
    {0x1C,    0x1C,  vk::kOem5,      kModCtrl,  0},
    {0x01,    0x1A,  vk::kA,         kModCtrl,  0},
};

// Escape followed at once by one of these bytes: the keys the Linux console (and other
// terminals) cannot send, Ctrl+Alt+F1..F12, typed as Alt+1..9, Alt+0, Alt+- and Alt+=.
constexpr std::string_view kAltFunctionKeys = "1234567890-=";

// Escape followed at once by Ctrl+\ (the terminal's quit key): Ctrl+Break, which no terminal
// has.
constexpr unsigned char kBreakAfterEscape = 0x1C;

// The numeric keypad in application mode (ESC O and a letter j..y), which ncurses' keypad mode
// turns on: tmux sends its digits so whatever Num Lock says. Index: the letter minus 'j'.
constexpr std::string_view kKeypadCharacters = "*+,-./0123456789";
static_assert(kKeypadCharacters.size() == 'y' - 'j' + 1);

// The keys of the kitty protocol's numbers (beyond the characters) and their characters.
struct KittyRow {
  int first, last;  // key number range
  int vk;           // key of the first number (the next numbers give the next keys)
  int ch;           // character of the first number, -1 for none
};
constexpr int kKittyKeypad0 = 57399, kKittyKeypad9 = 57408;
constexpr KittyRow kKittyKeys[] = {
    // first  last    key            character
    {13,      13,     vk::kReturn,   13},
    {9,       9,      vk::kTab,      9},
    {127,     127,    vk::kBack,     8},
    {27,      27,     vk::kEscape,   27},
    {32,      32,     vk::kSpace,    ' '},
    {57362,   57362,  vk::kPause,    -1},
    {57414,   57414,  vk::kReturn,   13},     // keypad Enter
    {57417,   57417,  vk::kLeft,     -1},     // keypad arrows and editing keys
    {57418,   57418,  vk::kRight,    -1},
    {57419,   57419,  vk::kUp,       -1},
    {57420,   57420,  vk::kDown,     -1},
    {57421,   57421,  vk::kPrior,    -1},
    {57422,   57422,  vk::kNext,     -1},
    {57423,   57423,  vk::kHome,     -1},
    {57424,   57424,  vk::kEnd,      -1},
    {57425,   57425,  vk::kInsert,   -1},
    {57426,   57426,  vk::kDelete,   -1},
    {57441,   57441,  vk::kShift,    -1},     // left and right modifier keys
    {57442,   57442,  vk::kControl,  -1},
    {57443,   57443,  vk::kMenu,     -1},
    {57447,   57447,  vk::kShift,    -1},
    {57448,   57448,  vk::kControl,  -1},
    {57449,   57449,  vk::kMenu,     -1},
};

// xterm's and kitty's modifier parameter: 1 + bits; Shift 1, Alt 2, Ctrl 4, Meta 32 (as Alt).
unsigned ModifiersOf(int parameter) {
  if (parameter < 2) return 0;
  const int bits = parameter - 1;
  unsigned modifiers = 0;
  if (bits & 1) modifiers |= kModShift;
  if (bits & (2 | 32)) modifiers |= kModAlt;
  if (bits & 4) modifiers |= kModCtrl;
  return modifiers;
}

// The character a key gives with no text of its own (as the window's key table gives them).
int CharOfKey(int vk) {
  switch (vk) {
    case vk::kReturn: return 13;
    case vk::kBack: return 8;
    case vk::kEscape: return 27;
    case vk::kTab: return 9;
    default: return -1;
  }
}

// The key of a typed character: letters by their capital (Shift for capitals), digits and the
// space bar by their code; other characters come with no key.
int KeyOfChar(unsigned char ch, unsigned* modifiers) {
  if (ch >= 'a' && ch <= 'z') return ch - 'a' + vk::kA;
  if (ch >= 'A' && ch <= 'Z') {
    *modifiers |= kModShift;
    return ch;
  }
  if ((ch >= '0' && ch <= '9') || ch == ' ') return ch;
  return 0;
}

// Splits CSI parameters "1;5:3;97" into fields of sub-parameters; an empty one is -1.
std::vector<std::vector<int>> SplitParameters(std::string_view text) {
  std::vector<std::vector<int>> fields(1, std::vector<int>(1, -1));
  for (const char c : text) {
    if (c == ';') {
      fields.emplace_back(1, -1);
    } else if (c == ':') {
      fields.back().push_back(-1);
    } else if (c >= '0' && c <= '9') {
      int& value = fields.back().back();
      if (value < 0) value = 0;
      if (value < 10000000) value = value * 10 + (c - '0');
    }
  }
  return fields;
}

int Field(const std::vector<std::vector<int>>& fields, size_t field, size_t sub, int fallback) {
  if (field >= fields.size() || sub >= fields[field].size() || fields[field][sub] < 0)
    return fallback;
  return fields[field][sub];
}

}  // namespace

std::span<const CsiKey> CsiKeys() { return kCsiKeys; }

std::vector<KeySequence> ModifiedKeySequences() {
  std::vector<KeySequence> sequences;
  for (const CsiKey& key : kCsiKeys) {
    for (int m = 2; m <= 8; ++m) {
      const std::string modifiers = std::to_string(m);
      const std::string text = key.final == '~'
                                   ? "\x1b[" + std::to_string(key.number) + ";" + modifiers + "~"
                                   : "\x1b[1;" + modifiers + key.final;
      sequences.push_back({text, {key.vk, ModifiersOf(m)}});
    }
  }
  return sequences;
}

void KeyDecoder::Push(const VideoEvent& event) { output_.push_back({event, {}}); }

// A key went down (and, without its own release report, up again), giving `ch` unless Alt is
// held (a system key) or it has none (-1).
void KeyDecoder::Key(int vk, unsigned modifiers, Action action, int ch) {
  if (action == Action::kRelease) {
    Push({.kind = EventKind::kKeyUp, .vk = vk, .modifiers = modifiers});
    return;
  }
  Push({.kind = EventKind::kKeyDown, .vk = vk, .modifiers = modifiers});
  if (ch >= 0 && !(modifiers & kModAlt))
    Push({.kind = EventKind::kChar, .ch = static_cast<unsigned char>(ch), .modifiers = modifiers});
  if (action == Action::kTap) Push({.kind = EventKind::kKeyUp, .vk = vk, .modifiers = modifiers});
}

void KeyDecoder::PressControl(unsigned char byte, unsigned extra_modifiers) {
  for (const ControlRow& row : kControlBytes) {
    if (byte < row.first || byte > row.last) continue;
    const int ch = row.ch == 0 ? byte : row.ch;
    Key(row.vk + (byte - row.first), row.modifiers | extra_modifiers, Action::kTap, ch);
    return;
  }
  ++dropped_;  // Ctrl+] and the like: no key of the console
}

void KeyDecoder::Typed(unsigned char ch) {
  unsigned modifiers = 0;
  const int vk = KeyOfChar(ch, &modifiers);
  Key(vk, modifiers, Action::kTap, ch);
}

void KeyDecoder::FeedByte(unsigned char byte) {
  switch (state_) {
    case State::kGround: Ground(byte); return;
    case State::kEscape: AfterEscape(byte); return;
    case State::kCsi: Csi(byte); return;
    case State::kSs3: Ss3(byte); return;
    case State::kPaste: Paste(byte); return;
  }
}

void KeyDecoder::Ground(unsigned char byte) {
  if (byte >= 0x80 && !utf8_) {
    if (byte >= 0xA0) Typed(byte);
    else ++dropped_;  // the C1 controls of an 8-bit terminal
    return;
  }
  if (byte >= 0x80 || utf8_need_ > 0) {
    Utf8(byte);
    return;
  }
  if (byte == 0x1B) {
    state_ = State::kEscape;
  } else if (byte < 0x20 || byte == 0x7F) {
    PressControl(byte, 0);
  } else {
    Typed(byte);
  }
}

void KeyDecoder::Utf8(unsigned char byte) {
  if (utf8_need_ > 0) {
    if ((byte & 0xC0) == 0x80) {
      utf8_value_ = (utf8_value_ << 6) | (byte & 0x3F);
      if (--utf8_need_ > 0) return;
      const bool valid = utf8_value_ >= utf8_min_ && utf8_value_ <= 0x10FFFF &&
                         !(utf8_value_ >= 0xD800 && utf8_value_ <= 0xDFFF);
      const int ch = valid ? CodePointToCp1252(utf8_value_) : -1;
      if (ch >= 0x20 && ch != 0x7F)
        Typed(static_cast<unsigned char>(ch));
      else
        ++dropped_;  // not a character, or one that cp1252 lacks
      return;
    }
    ++dropped_;  // a character cut short: what follows counts on its own
    utf8_need_ = 0;
    if (byte < 0x80) {
      Ground(byte);
      return;
    }
  }
  if (byte >= 0xC2 && byte <= 0xDF) {
    utf8_need_ = 1, utf8_value_ = byte & 0x1F, utf8_min_ = 0x80;
  } else if (byte >= 0xE0 && byte <= 0xEF) {
    utf8_need_ = 2, utf8_value_ = byte & 0x0F, utf8_min_ = 0x800;
  } else if (byte >= 0xF0 && byte <= 0xF4) {
    utf8_need_ = 3, utf8_value_ = byte & 0x07, utf8_min_ = 0x10000;
  } else {
    ++dropped_;  // a stray continuation byte, or a byte UTF-8 never uses
  }
}

void KeyDecoder::AfterEscape(unsigned char byte) {
  state_ = State::kGround;
  sequence_.clear();
  if (byte == '[') {
    state_ = State::kCsi;
    too_long_ = false;
  } else if (byte == 'O') {
    state_ = State::kSs3;
  } else if (byte == 0x1B) {
    Key(vk::kEscape, 0, Action::kTap, 27);
    state_ = State::kEscape;
  } else if (const size_t at = kAltFunctionKeys.find(static_cast<char>(byte));
             byte != 0 && at != std::string_view::npos) {
    Key(vk::kF1 + static_cast<int>(at), kModCtrl | kModAlt | kModStandIn, Action::kTap, -1);
  } else if (byte == kBreakAfterEscape) {
    Key(vk::kCancel, kModCtrl, Action::kTap, -1);
  } else if (byte < 0x20 || byte == 0x7F) {
    PressControl(byte, kModAlt);
  } else {
    // Escape typed just before a character (keys typed ahead arrive together): both count.
    Key(vk::kEscape, 0, Action::kTap, 27);
    Ground(byte);
  }
}

void KeyDecoder::Csi(unsigned char byte) {
  if (byte >= 0x20 && byte <= 0x3F) {
    // Past the limit the sequence is only skipped to its end.
    if (sequence_.size() < kMaxSequence)
      sequence_ += static_cast<char>(byte);
    else
      too_long_ = true;
    return;
  }
  state_ = State::kGround;
  if (byte >= 0x40 && byte <= 0x7E) {
    if (too_long_) {
      dropped_ += static_cast<int>(sequence_.size()) + 3;
      sequence_.clear();
      too_long_ = false;
      return;
    }
    EndCsi(static_cast<char>(byte));
    return;
  }
  too_long_ = false;
  dropped_ += static_cast<int>(sequence_.size()) + 2;  // a sequence broken off
  sequence_.clear();
  if (byte == 0x1B)
    state_ = State::kEscape;
  else
    Ground(byte);
}

void KeyDecoder::Ss3(unsigned char byte) {
  if (byte >= 0x30 && byte <= 0x3F && sequence_.size() < kMaxSequence) {
    sequence_ += static_cast<char>(byte);  // old xterm: ESC O 5 P for Ctrl+F1
    return;
  }
  state_ = State::kGround;
  const unsigned modifiers = ModifiersOf(SplitParameters(sequence_)[0][0]);
  sequence_.clear();
  if (byte == 'M') {
    Key(vk::kReturn, modifiers, Action::kTap, 13);
    return;
  }
  if (byte >= 'j' && byte <= 'y') {
    Typed(static_cast<unsigned char>(kKeypadCharacters[byte - 'j']));
    return;
  }
  for (const CsiKey& key : kCsiKeys) {
    if (key.final == static_cast<char>(byte) && key.number == 1 && key.final != '~') {
      Key(key.vk, modifiers, Action::kTap, -1);
      return;
    }
  }
  ++dropped_;
  if (byte == 0x1B) state_ = State::kEscape;
}

void KeyDecoder::EndCsi(char final) {
  const std::string sequence = std::move(sequence_);
  sequence_.clear();
  const char marker = sequence.empty() ? 0 : sequence[0];
  if (marker == '?' && final == 'u') {
    kitty_reply_ = true;
    return;
  }
  if (marker == '?' && final == 'c') {
    device_attributes_ = true;
    return;
  }
  if ((marker >= '<' && marker <= '?') || sequence.find_first_of(" !\"#$%&'()*+,-./") !=
                                              std::string::npos) {
    dropped_ += static_cast<int>(sequence.size()) + 3;  // a report or a private sequence
    return;
  }
  const auto fields = SplitParameters(sequence);
  if (final == 'u') {
    KittyKey(fields);
    return;
  }
  const int number = Field(fields, 0, 0, 1);
  if (final == '~' && number == kPasteStart) {
    state_ = State::kPaste;
    paste_.clear();
    return;
  }
  const unsigned modifiers = ModifiersOf(Field(fields, 1, 0, 1));
  const int event = Field(fields, 1, 1, 0);
  const Action action = event == 3   ? Action::kRelease
                        : event == 2 ? Action::kRepeat
                        : event == 1 || kitty_ ? Action::kPress
                                               : Action::kTap;
  if (final == 'Z') {  // back tab
    Key(vk::kTab, modifiers | kModShift, action, 9);
    return;
  }
  for (const CsiKey& key : kCsiKeys) {
    if (key.final != final || (final == '~' && key.number != number)) continue;
    Key(key.vk, modifiers, action, -1);
    return;
  }
  dropped_ += static_cast<int>(sequence.size()) + 3;
}

// A kitty report: CSI key[:shifted[:base]] ; modifiers[:event] ; text u.
void KeyDecoder::KittyKey(const std::vector<std::vector<int>>& fields) {
  const int key = Field(fields, 0, 0, -1);
  const unsigned modifiers = ModifiersOf(Field(fields, 1, 0, 1));
  const int event = Field(fields, 1, 1, 1);
  const Action action = event == 3   ? Action::kRelease
                        : event == 2 ? Action::kRepeat
                                     : Action::kPress;
  int text = -1;  // the first character of the text field, in cp1252
  if (fields.size() > 2) {
    const int code = Field(fields, 2, 0, -1);
    if (code >= 0x20) text = CodePointToCp1252(static_cast<char32_t>(code));
  }
  if (key < 0) {
    ++dropped_;
    return;
  }
  for (const KittyRow& row : kKittyKeys) {
    if (key < row.first || key > row.last) continue;
    int vk = row.vk + (key - row.first);
    if (vk == vk::kPause && (modifiers & kModCtrl)) vk = vk::kCancel;
    Key(vk, modifiers, action, row.ch);
    return;
  }
  int vk = 0;
  int ch = text;
  if (key >= 'a' && key <= 'z') {
    vk = key - 'a' + vk::kA;
    if (modifiers & kModCtrl)
      ch = key & 31;
    else if (ch < 0)
      ch = (modifiers & kModShift) ? key - 'a' + 'A' : key;
  } else if (key >= '0' && key <= '9') {
    vk = key;
  } else if (key >= kKittyKeypad0 && key <= kKittyKeypad9) {
    vk = vk::k0 + (key - kKittyKeypad0);
    if (ch < 0) ch = vk;
  }
  if (ch < 0 && !(modifiers & kModCtrl) && key >= 0x20 && key < 0xE000)
    ch = CodePointToCp1252(static_cast<char32_t>(key));
  if (ch == 0x7F) ch = -1;
  Key(vk, modifiers, action, ch);
}

void KeyDecoder::Paste(unsigned char byte) {
  if (paste_.size() < kMaxPaste + kPasteEnd.size()) {
    paste_ += static_cast<char>(byte);
  } else {
    // Past the limit only the last bytes are kept, to see the end mark.
    paste_.erase(kMaxPaste, 1);
    paste_ += static_cast<char>(byte);
  }
  if (paste_.size() < kPasteEnd.size() ||
      paste_.compare(paste_.size() - kPasteEnd.size(), kPasteEnd.size(), kPasteEnd) != 0)
    return;
  paste_.resize(paste_.size() - kPasteEnd.size());
  Flush();
}

void KeyDecoder::FeedKey(NamedKey key) {
  switch (state_) {
    case State::kPaste:
      return;  // a key inside pasted text: the text says it already
    case State::kEscape:
      key.modifiers |= kModAlt;  // Escape, then the key at once: Alt with it
      break;
    case State::kCsi:
    case State::kSs3:
      dropped_ += static_cast<int>(sequence_.size()) + 2;
      sequence_.clear();
      break;
    case State::kGround:
      break;
  }
  state_ = State::kGround;
  if (utf8_need_ > 0) ++dropped_;
  utf8_need_ = 0;
  Key(key.vk, key.modifiers, Action::kTap, CharOfKey(key.vk));
}

void KeyDecoder::Flush() {
  switch (state_) {
    case State::kEscape:
      Key(vk::kEscape, 0, Action::kTap, 27);
      break;
    case State::kCsi:
    case State::kSs3:
      dropped_ += static_cast<int>(sequence_.size()) + 2;
      break;
    case State::kPaste:
      output_.push_back({{.kind = EventKind::kNone}, Utf8ToCp1252(paste_.substr(0, kMaxPaste))});
      paste_.clear();
      break;
    case State::kGround:
      break;
  }
  state_ = State::kGround;
  sequence_.clear();
  if (utf8_need_ > 0) ++dropped_;
  utf8_need_ = 0;
}

int KeyDecoder::PendingWaitMs() const {
  if (state_ == State::kPaste) return kPasteWaitMs;
  if (state_ != State::kGround || utf8_need_ > 0) return kSequenceWaitMs;
  return 0;
}

}  // namespace platform::terminal
