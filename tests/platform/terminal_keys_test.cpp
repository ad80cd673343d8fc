// TIRLA: what a terminal sends, as console key events: one table of inputs and the events
// they give, with and without the kitty keyboard protocol.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/keys.h"
#include "platform/terminal/video_terminal_keys.h"

namespace {

using namespace std::literals;
using platform::EventKind;
using platform::terminal::KeyDecoder;
using platform::terminal::TerminalInput;

// Events written compactly: +41 key down (hex virtual key), -41 key up, =97 character
// (decimal cp1252), each after its modifiers (S Shift, C Ctrl, A Alt, I a stand-in key);
// "paste:" and its text.
std::string Describe(const std::vector<TerminalInput>& inputs) {
  std::string out;
  for (const TerminalInput& input : inputs) {
    if (!out.empty()) out += ' ';
    const platform::VideoEvent& e = input.event;
    if (e.kind == EventKind::kNone) {
      out += "paste:" + input.paste;
      continue;
    }
    out += e.kind == EventKind::kKeyDown ? '+' : e.kind == EventKind::kKeyUp ? '-' : '=';
    if (e.modifiers & platform::kModShift) out += 'S';
    if (e.modifiers & platform::kModCtrl) out += 'C';
    if (e.modifiers & platform::kModAlt) out += 'A';
    if (e.modifiers & platform::kModStandIn) out += 'I';
    char number[8];
    if (e.kind == EventKind::kChar)
      std::snprintf(number, sizeof number, "%d", e.ch);
    else
      std::snprintf(number, sizeof number, "%02X", e.vk);
    out += number;
  }
  return out;
}

struct Row {
  const char* what;
  std::string_view input;
  bool kitty;
  const char* events;
};

const Row kRows[] = {
    // what                        input                                 kitty  events
    {"letter",                     "a"sv,                                false, "+41 =97 -41"},
    {"capital",                    "A"sv,                                false, "+S41 =S65 -S41"},
    {"Enter",                      "\r"sv,                               false, "+0D =13 -0D"},
    {"Ctrl+Enter (line feed)",     "\n"sv,                               false, "+C0D =C13 -C0D"},
    {"Backspace",                  "\x7f"sv,                             false, "+08 =8 -08"},
    {"Ctrl+Backspace",             "\x08"sv,                             false, "+C08 =C8 -C08"},
    {"Ctrl+C",                     "\x03"sv,                             false, "+C43 =C3 -C43"},
    {"Ctrl+Space",                 "\0"sv,                               false, "+C20 -C20"},
    {"Ctrl+\\ is the dial key",    "\x1c"sv,                             false, "+CDC =C28 -CDC"},
    {"Escape, Ctrl+\\: Ctrl+Break", "\x1b\x1c"sv,                         false, "+C03 -C03"},
    {"Ctrl+] has no key",          "\x1d"sv,                             false, ""},
    {"Escape alone",               "\x1b"sv,                             false, "+1B =27 -1B"},
    {"Escape, then a letter",      "\x1bx"sv,                            false, "+1B =27 -1B +58 =120 -58"},
    {"Ctrl+Alt+X",                 "\x1b\x18"sv,                         false, "+CA58 -CA58"},
    {"Alt+9 is Ctrl+Alt+F9",       "\x1b" "9"sv,                         false, "+CAI78 -CAI78"},
    {"Alt+= is Ctrl+Alt+F12",      "\x1b="sv,                            false, "+CAI7B -CAI7B"},
    {"Ctrl+Left",                  "\x1b[1;5D"sv,                        false, "+C25 -C25"},
    {"Shift+Right",                "\x1b[1;2C"sv,                        false, "+S27 -S27"},
    {"Shift+Delete",               "\x1b[3;2~"sv,                        false, "+S2E -S2E"},
    {"Ctrl+Alt+F9",                "\x1b[20;7~"sv,                       false, "+CA78 -CA78"},
    {"Ctrl+F1",                    "\x1b[1;5P"sv,                        false, "+C70 -C70"},
    {"F1 (SS3)",                   "\x1bOP"sv,                           false, "+70 -70"},
    {"keypad 7 and minus (SS3)",   "\x1bOw\x1bOm"sv,                     false, "+37 =55 -37 +00 =45 -00"},
    {"Shift+Tab",                  "\x1b[Z"sv,                           false, "+S09 =S9 -S09"},
    {"UTF-8 e acute",              "\xc3\xa9"sv,                         false, "+00 =233 -00"},
    {"UTF-8 euro sign",            "\xe2\x82\xac"sv,                     false, "+00 =128 -00"},
    {"not in cp1252",              "\xe2\x98\x83"sv,                     false, ""},
    {"invalid bytes",              "\xff\xfe\x80"sv,                     false, ""},
    {"overlong slash",             "\xc0\xaf"sv,                         false, ""},
    {"surrogate",                  "\xed\xa0\x80"sv,                     false, ""},
    {"cut short, then ASCII",      "\xc3("sv,                            false, "+00 =40 -00"},
    {"cut short by Escape",        "\xe2\x82\x1b[1;5D"sv,                false, "+C25 -C25"},
    {"cut short at the end",       "\xe2\x82"sv,                         false, ""},
    {"unknown sequence",           "\x1b[99;99X"sv,                      false, ""},
    {"private sequence",           "\x1b[?1049h"sv,                      false, ""},
    {"sequence broken off",        "\x1b[1;\x01"sv,                      false, "+C41 =C1 -C41"},
    {"endless sequence",           "\x1b[111111111111111111111111111111111111111111111111111111111111111111111ab"sv,
                                                                         false, "+42 =98 -42"},
    {"bracketed paste",            "\x1b[200~ol\xc3\xa1\r\nmundo\x1b[201~"sv, false, "paste:ol\xe1\r\nmundo"},
    {"paste never ended",          "\x1b[200~abc"sv,                     false, "paste:abc"},
    {"kitty: press",               "\x1b[102u"sv,                        true,  "+46 =102"},
    {"kitty: release",             "\x1b[102;1:3u"sv,                    true,  "-46"},
    {"kitty: Shift with text",     "\x1b[97;2;65u"sv,                    true,  "+S41 =S65"},
    {"kitty: Ctrl+A",              "\x1b[97;5u"sv,                       true,  "+C41 =C1"},
    {"kitty: Alt+A, no character", "\x1b[97;3u"sv,                       true,  "+A41"},
    {"kitty: c cedilla",           "\x1b[231;1;231u"sv,                  true,  "+00 =231"},
    {"kitty: left Shift",          "\x1b[57441;2u"sv,                    true,  "+S10"},
    {"kitty: Ctrl+Pause",          "\x1b[57362;5u"sv,                    true,  "+C03"},
    {"kitty: keypad 5",            "\x1b[57404;1;53u"sv,                 true,  "+35 =53"},
    {"kitty: Up pressed",          "\x1b[A"sv,                           true,  "+26"},
    {"kitty: Up released",         "\x1b[1;1:3A"sv,                      true,  "-26"},
    {"kitty: Ctrl+Alt+F9",         "\x1b[20;7:1~"sv,                     true,  "+CA78"},
    {"kitty: typed as text",       "x"sv,                                true,  "+58 =120 -58"},
    {"answers are no keys",        "\x1b[?1u\x1b[?62;22c"sv,             false, ""},
};

TEST(TerminalKeys, DecodesWhatTerminalsSend) {
  for (const Row& row : kRows) {
    KeyDecoder decoder;
    decoder.SetKitty(row.kitty);
    for (const char c : row.input) decoder.FeedByte(static_cast<unsigned char>(c));
    decoder.Flush();  // nothing more comes
    EXPECT_EQ(Describe(decoder.Output()), row.events) << row.what;
    EXPECT_EQ(decoder.PendingWaitMs(), 0) << row.what;
  }
}

TEST(TerminalKeys, TellsTheKittyProtocolFromItsAnswer) {
  KeyDecoder with;
  for (const char c : "\x1b[?0u\x1b[?62;22c"sv) with.FeedByte(static_cast<unsigned char>(c));
  EXPECT_TRUE(with.SawKittyReply());
  EXPECT_TRUE(with.SawDeviceAttributes());
  KeyDecoder without;
  for (const char c : "\x1b[?1;2c"sv) without.FeedByte(static_cast<unsigned char>(c));
  EXPECT_FALSE(without.SawKittyReply());
  EXPECT_TRUE(without.SawDeviceAttributes());
}

TEST(TerminalKeys, KeysTheLibraryRecognisedAndWhatWaits) {
  KeyDecoder decoder;
  decoder.FeedKey({platform::vk::kLeft, 0});
  decoder.FeedByte(0x1b);
  EXPECT_TRUE(decoder.LoneEscape());
  EXPECT_GT(decoder.PendingWaitMs(), 0);
  decoder.FeedKey({platform::vk::kRight, 0});  // Escape and a key at once: Alt with it
  decoder.FeedKey({platform::vk::kReturn, 0});
  EXPECT_EQ(Describe(decoder.Output()), "+25 -25 +A27 -A27 +0D =13 -0D");
}

TEST(TerminalKeys, BytesOfAnEightBitTerminalAreCp1252) {
  KeyDecoder decoder;
  decoder.SetUtf8(false);
  for (const char c : "\xe9\x85"sv) decoder.FeedByte(static_cast<unsigned char>(c));
  EXPECT_EQ(Describe(decoder.Output()), "+00 =233 -00");
}

TEST(TerminalKeys, ABurstOfKeysGivesEveryOne) {
  KeyDecoder decoder;
  for (int i = 0; i < 1000; ++i) decoder.FeedByte('a');
  EXPECT_EQ(decoder.Output().size(), 3000u);
}

}  // namespace
