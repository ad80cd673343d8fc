// TIRLA: the line editor, key script by key script: the text, cursor, ending code, screen and
// sounds each script leaves.
#include <algorithm>
#include <string>
#include <vector>

#include "console/braille_output.h"
#include "frontend/speech.h"
#include "frontend_fixture.h"

namespace {

using frontend_test::FrontEndTest;
using Sounds = std::vector<std::string>;

class EditorTest : public FrontEndTest {
 protected:
  struct Case {
    std::string text;   // the field at entry
    const char* keys;   // the script; its last key ends editing
    std::string result;
    int cursor;         // where the cursor was at the end
    uint8_t code;       // the key that ended editing
    Sounds played;
    const char* clipboard = nullptr;  // what the clipboard then holds, when given
    bool editable = true;
    int maxLength = 255;
  };

  void Check(const Case& c) {
    SCOPED_TRACE(c.keys);
    platform::MemoryVideo().clipboard = "um\r\ndois";
    platform::MemoryVideo().clipboard_has_text = true;
    Keys(c.keys);
    std::string text = c.text;
    const uint8_t code = frontend::EditLine(text, 1, 1, c.editable, 78, c.maxLength);
    EXPECT_EQ(text, c.result);
    EXPECT_EQ(frontend::LastCursorPosition(), c.cursor);
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(Played(), c.played);
    EXPECT_EQ(Row(1), c.result.substr(0, 78));
    if (c.clipboard) {
      EXPECT_EQ(platform::MemoryVideo().clipboard, c.clipboard);
    }
  }
};

TEST_F(EditorTest, ExtendedKeys) {
  const Case cases[] = {
      {"abc", "{End}{Left}{Left}{Home}{Left}{Right}{Enter}", "abc", 2, 13,
       {"99", "98", "beep", "97"}},
      {"ab", "{A-Right}{End}{Right}{Enter}", "ab", 3, 13, {"FON97", "beep"}, nullptr, true, 2},
      {"abc", "{Delete}{Enter}", "bc", 1, 13, {"DEL", "97"}},
      // Shift+Right three times selects 1..3; Shift+Delete takes them, a plain Delete does not
      {"abcde", "{S-Right}{S-Right}{S-Right}{S-Delete}{Enter}", "de", 1, 13,
       {"97", "98", "99", "DEL", "97", "98", "99"}},
      {"abcde", "{S-Right}{S-Right}{S-Right}{Delete}{Enter}", "abce", 4, 13,
       {"97", "98", "99", "DEL", "100"}},
      // F1: consonants only are spelled, a number is said, past the end a beep
      {"pqr 12", "{F1}{F1}{F1}{Enter}", "pqr 12", 7, 13, {"112", "113", "114", "doze", "beep"}},
      {"a-5 %", "{Right}{F1}{F1}{Enter}", "a-5 %", 6, 13, {"97", "MENOS", "cinco", "37"}},
      {"", "{F4}a{F4}b{Enter}", "ab", 3, 13, {"FALDLG", "FALACI", "98"}},
      {"5", "{C-F1}{Enter}", "5", 1, 13, {"cinco"}},
      {"ab 12 ,x", "{C-Right}{C-Right}{C-Right}{C-Right}{C-Left}{Enter}", "ab 12 ,x", 8, 13,
       {"click", "click", "click", "beep", "click"}},
      {"ab cd", "{C-Left}{End}{C-Left}{C-Left}{Enter}", "ab cd", 1, 13,
       {"beep", "click", "beep"}},
      {"abc", "{C-A-1}{Up}", "abc", 1, 72, {}},
      {"abc", "{Right}{F2}", "abc", 2, 60, {"97"}},
      {"abc", "{C-F9}", "abc", 1, 102, {}},
      // review, in both forms, and editing goes on
      {"abc", "{C-A-F9}{Esc}{C-S-A-F9}{Esc}x{Enter}", "xabc", 2, 13,
       {"beep", "beep", "beep", "beep", "beep", "beep", "120"}},
      // Shift+Insert pastes the first line and collapses the selection: copy takes it all
      {"ab", "{Right}{S-Insert}{C-Insert}{Enter}", "aumb", 2, 13, {"97"}, "aumb\r\n"},
      {"abcd", "{S-Right}{S-Right}{C-Insert}{Enter}", "abcd", 3, 13, {"97", "98"}, "ab"},
      {"abc", "{C-Insert}{S-Right}{Delete}{Insert}", "ac", 2, 82, {"97", "DEL", "98"}, "abc\r\n"},
  };
  for (const Case& c : cases) Check(c);
}

// The display shows the whole field; its routing key puts the caret on a character, said.
TEST_F(EditorTest, BrailleDisplayRoutingKey) {
  platform::ResetMemoryBraille();
  console::UseBrailleDisplay(&platform::MemoryBrailleDisplay());
  Check({"Bom dia", "{Route2}X{Enter}", "BoXm dia", 4, 13, {"109", "88"}});
  EXPECT_EQ(platform::MemoryBraille().text, "BoXm dia");
  console::UseBrailleDisplay(nullptr);
}

TEST_F(EditorTest, CharacterKeys) {
  const Case cases[] = {
      {"", "abc{Enter}", "abc", 4, 13, {"97", "98", "99"}},
      // the first printable key replaces a filled field, a first control key only clicks
      {"velho", "n{Enter}", "n", 2, 13, {"click", "click", "110"}},
      {"velho", "{C-a}{Enter}", "velho", 1, 13, {"click", "click"}},
      {"velho", "{Back}{Enter}", "velho", 1, 13, {"beep"}},
      {"abc", "{End}{Back}{Enter}", "ab", 3, 13, {"DEL", "99"}},
      {"abcd", "{Right}{Right}{C-d}{Enter}", "ab", 3, 13, {"97", "98", "APFCPO"}},
      {"abcd", "{Right}{Right}{C-s}{Enter}", "cd", 1, 13, {"97", "98", "APICPO"}},
      {"abc", "{Delete}{C-u}{Enter}", "abc", 1, 13, {"DEL", "97", "beep", "beep"}},
      {"abc", "{Right}{C-y}{Enter}", "", 1, 13, {"97", "CPOAPA"}},
      {"", "{C-k}{Tab}", "", 1, 9, {"um"}},
      {"abc def", "{End}{C-Back}{Esc}", "abc", 5, 27,
       {"click", "beep", "click", "DEL", "100", "101", "102"}},
      {"1*#,5x", "{C-\\}{Enter}", "1*#,5x", 1, 13, {"dtmf_1", "dtmf_X", "dtmf_H", "dtmf_5"}},
      // a read-only field moves and speaks but never changes
      {"abc", "x{Delete}{C-y}{C-v}{End}{Back}{Enter}", "abc", 3, 13, {"click", "click"}, nullptr,
       false},
      // Ctrl+V takes the first line and leaves it selected: Ctrl+C copies just that
      {"", "{C-v}{C-c}{Enter}", "um", 1, 13, {"click", "click"}, "um"},
      {"x", "{End}{C-v}{S-Delete}{Enter}", "x", 2, 13, {"DEL", "117", "109"}},
      {"", "ab{C-c}{Enter}", "ab", 3, 13, {"97", "98"}, "ab\r\n"},
  };
  for (const Case& c : cases) Check(c);
}

TEST_F(EditorTest, DialWaitsBetweenTonesAndAtCommas) {
  Keys("{C-\\}{Enter}");
  std::string text = "12,";
  const long before = platform::MemoryVideo().slept_ms;
  frontend::EditLine(text, 1, 1, true, 78, 255);
  EXPECT_EQ(platform::MemoryVideo().slept_ms - before, 100 + 100 + 1000);
  EXPECT_FALSE(waveout::Flags().FastRate);
}

TEST_F(EditorTest, SpeedChangeRestartsSpeechAtTheLevelTyped) {
  Keys("{C-F4}2{C-F4}{Esc}{Enter}");
  std::string text;
  frontend::EditLine(text, 1, 1, true, 78, 255);
  EXPECT_EQ(frontend::SpeedLevel(), 2);
  EXPECT_EQ(Played(), (Sounds{"VELOC", "50", "VELOC", "27"}));
}

TEST_F(EditorTest, TimeAndDateAreSpokenFromTheClock) {
  Keys("{F8}{C-F8}{Enter}");
  std::string text;
  frontend::EditLine(text, 1, 1, true, 78, 255);
  const Sounds played = Played();
  const auto said = [&](const char* word) {
    return std::find(played.begin(), played.end(), word) != played.end();
  };
  EXPECT_TRUE(said("hora") || said("horas"));
  EXPECT_TRUE(said("de"));
}

TEST_F(EditorTest, ALongFieldScrollsAndStopsAtItsLength) {
  // 5000 is cut to 2048: the 2048th character goes in, the next one beeps.
  std::string text(2047, 'x');
  Keys("{End}yz{Enter}");
  frontend::EditLineHere(text, 3, 1, true, 5000);
  EXPECT_EQ(text, std::string(2047, 'x') + "y");
  EXPECT_EQ(frontend::LastCursorPosition(), 2049);
  EXPECT_EQ(Played(), (Sounds{"121", "beep"}));
  // Before Enter the field showed the end of the text, the cursor right after it, and no
  // cell past the row's end was written.
  ASSERT_FALSE(snapshots_.empty());
  EXPECT_EQ(snapshots_.back().row, "  " + std::string(75, 'x') + "y");
  EXPECT_EQ(snapshots_.back().column, 3 + 76);
  EXPECT_EQ(Row(2), "");
}

TEST_F(EditorTest, APasteLongerThanTheFieldIsCut) {
  platform::MemoryVideo().clipboard = std::string(300, 'p');
  platform::MemoryVideo().clipboard_has_text = true;
  Keys("a{Home}{C-v}{Enter}");
  std::string text;
  frontend::EditLine(text, 1, 1, true, 78, 255);
  EXPECT_EQ(text, std::string(255, 'p'));
}

TEST_F(EditorTest, ReadLineEndsTheRowAndEscapeGivesNothing) {
  console::MoveCursor(5, 3);
  Keys("{Home}ok{Down}");
  std::string line;
  frontend::ReadLine(line);
  EXPECT_EQ(line, "ok");
  EXPECT_EQ(Row(3), "    ok");
  EXPECT_EQ(console::CursorRow(), 4);
  EXPECT_EQ(console::CursorColumn(), 1);

  Keys("ruim{Esc}");
  frontend::ReadLine(line);
  EXPECT_EQ(line, "");
  EXPECT_EQ(Row(4), "");
  EXPECT_EQ(console::CursorRow(), 5);
}

TEST_F(EditorTest, TheSelectionIsDrawnOnBackgroundEight) {
  Keys("{S-Right}{S-Right}{Enter}");
  std::string text = "abc";
  frontend::EditLine(text, 1, 1, true, 78, 255);
  ASSERT_EQ(snapshots_.size(), 3u);
  const std::vector<uint8_t>& selected = snapshots_.back().attributes;
  const uint8_t normal = console::TextAttribute();
  EXPECT_EQ(selected[0], (normal & 0x0F) | 0x80);
  EXPECT_EQ(selected[1], (normal & 0x0F) | 0x80);
  EXPECT_EQ(selected[2], normal);
  // The exit redraws in the normal colours.
  EXPECT_EQ(console::ScreenAttribute(1, 1), normal);
}

}  // namespace
