// TIRLA: what a terminal sends, as console key events: bytes, keys the terminal library has
// recognised, xterm's modified-key sequences and the kitty keyboard protocol's reports, turned
// into virtual keys, modifier bits and cp1252 characters. No terminal library here: the
// backend feeds it, the tests feed it.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/display.h"

namespace platform::terminal {

// A key the terminal library has recognised (a terminfo key, or a sequence taught to it).
struct NamedKey {
  int vk = 0;              // virtual key
  unsigned modifiers = 0;  // Modifier bits
};

// The xterm form of keys with modifiers: CSI 1 ; m <final> for the letter forms and
// CSI <number> ; m ~ for the tilde forms, m being 1 + the modifier bits (Shift 1, Alt 2,
// Ctrl 4). The kitty protocol reports these keys the same way, with ":event" after m.
struct CsiKey {
  char final;   // the sequence's last byte
  int number;   // its first parameter (1 for the letter forms)
  int vk;       // the key
};
std::span<const CsiKey> CsiKeys();

// One sequence of a key with modifiers, to be taught to the terminal library.
struct KeySequence {
  std::string text;
  NamedKey key;
};
// Every modified form (m = 2..8) of every key of CsiKeys.
std::vector<KeySequence> ModifiedKeySequences();

// The kitty keyboard protocol's enhancement flags the backend asks for: disambiguate (1),
// report key releases (2), every key as an escape code (8), with its text (16).
inline constexpr int kKittyFlags = 1 | 2 | 8 | 16;

// What decoding gives: a console event, or a bracketed paste's text.
struct TerminalInput {
  VideoEvent event;   // kind kNone for a paste
  std::string paste;  // cp1252, for a paste
};

// Turns terminal input into console events, byte by byte. A key press gives KeyDown, the
// character when the key has one, and (without the kitty protocol, which reports releases)
// KeyUp at once. Sequences it does not know, bytes that are not UTF-8, and characters cp1252
// lacks are dropped.
class KeyDecoder {
 public:
  // Whether the kitty protocol is on: its reports then carry key releases.
  void SetKitty(bool on) { kitty_ = on; }
  bool Kitty() const { return kitty_; }
  // Whether bytes from 128 on are UTF-8 (the default); otherwise each is a cp1252 character.
  void SetUtf8(bool on) { utf8_ = on; }

  // One byte read from the terminal.
  void FeedByte(unsigned char byte);
  // A key the terminal library recognised.
  void FeedKey(NamedKey key);
  // Nothing more came for a while: a lone Escape is the Escape key, an unfinished sequence or
  // character is dropped, an unfinished paste is delivered.
  void Flush();
  // How long (ms) to wait for the rest of what was started before Flush; 0 when nothing is.
  int PendingWaitMs() const;
  // Whether the last thing fed left a lone Escape (the terminal library has already waited
  // for the rest of a sequence then).
  bool LoneEscape() const { return state_ == State::kEscape; }

  // Decoded input, oldest first; the caller takes it.
  std::vector<TerminalInput>& Output() { return output_; }
  // The terminal answered the kitty protocol's query, and the device-attributes query.
  bool SawKittyReply() const { return kitty_reply_; }
  bool SawDeviceAttributes() const { return device_attributes_; }
  // Bytes dropped as invalid (not UTF-8, unknown sequences, overlong sequences).
  int Dropped() const { return dropped_; }

 private:
  enum class State { kGround, kEscape, kCsi, kSs3, kPaste };
  enum class Action { kTap, kPress, kRepeat, kRelease };  // tap: down and up at once

  void Ground(unsigned char byte);
  void AfterEscape(unsigned char byte);
  void Csi(unsigned char byte);
  void Ss3(unsigned char byte);
  void Paste(unsigned char byte);
  void Utf8(unsigned char byte);
  void EndCsi(char final);
  void KittyKey(const std::vector<std::vector<int>>& fields);
  void Key(int vk, unsigned modifiers, Action action, int ch);
  void PressControl(unsigned char byte, unsigned extra_modifiers);
  void Typed(unsigned char ch);
  void Push(const VideoEvent& event);

  bool kitty_ = false;
  bool utf8_ = true;
  State state_ = State::kGround;
  std::string sequence_;          // parameter and intermediate bytes of a CSI or SS3 sequence
  bool too_long_ = false;         // the CSI sequence passed the limit: skipped to its end
  int utf8_need_ = 0;             // continuation bytes still expected
  char32_t utf8_value_ = 0;       // the code point being assembled
  char32_t utf8_min_ = 0;         // the smallest code point its length may hold
  std::string paste_;             // bytes of a bracketed paste
  std::vector<TerminalInput> output_;
  bool kitty_reply_ = false;
  bool device_attributes_ = false;
  int dropped_ = 0;
};

}  // namespace platform::terminal
