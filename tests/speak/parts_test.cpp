// TIRLA: tests of cutting a text that arrives bit by bit: where parts end, and that the parts
// say what the whole text says.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "orvia/engine/uttsOrviaParts.h"
#include "orvia/text/uttsPortugStages.h"
#include "platform/codepage.h"

namespace speak_test {
namespace {

using uttsOrvia::InputState;
using uttsOrvia::kLongestPart;
using uttsOrvia::ReadyPartLength;

TEST(PartsTest, PartsEndAfterSentencesOrLinesOrAtTheLongestPart) {
  const std::string as(5000, 'a');
  const std::string spaced = std::string(4000, 'a') + ' ' + std::string(1000, 'b');
  const std::string accented = std::string(kLongestPart - 1, 'a') + "\xC3\xA9" + "fim";
  const struct {
    std::string text;
    InputState input;
    size_t expected;
  } cases[] = {
      {"Bom dia. Tudo", InputState::kMoreComing, 9},
      {"Bom dia! E tu? Sim", InputState::kMoreComing, 15},
      {"Veio o Sr. silva", InputState::kMoreComing, 0},  // a small letter: an abbreviation
      {"Bom dia. ", InputState::kMoreComing, 0},         // what follows is not known yet
      {"Bom dia. ", InputState::kWaiting, 9},
      {"Disse: \"Sim.\" Depois", InputState::kMoreComing, 0},  // the point is read out
      {"Custa 1.500 reais", InputState::kMoreComing, 0},  // no blank after the point
      {"Bom dia\nTudo", InputState::kMoreComing, 0},
      {"Bom dia\nTudo", InputState::kWaiting, 0},  // a line end starts no phrase: it waits
      {"Bom dia\nTudo", InputState::kTyped, 8},
      {"Bom dia. Tudo\n", InputState::kTyped, 14},
      {"Bom dia", InputState::kWaiting, 0},
      {"Bom dia", InputState::kEnded, 7},
      {"", InputState::kEnded, 0},
      {as, InputState::kMoreComing, kLongestPart},
      {as, InputState::kEnded, kLongestPart},
      {spaced, InputState::kMoreComing, 4001},
      {accented, InputState::kEnded, kLongestPart - 1},  // not inside a UTF-8 character
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReadyPartLength(c.text, c.input), c.expected) << c.text.substr(0, 40);
}

class PartsOfText : public ::testing::Test {
 protected:
  void SetUp() override {
    uttsPortug::StartTextStages();
    ASSERT_EQ(uttsPortug::LoadTextData(
                  uttsPortug::DataFilesIn(std::string(TIRLA_SOURCE_DIR) + "/data/orvia")),
              "");
  }
};

// The text read `step` bytes at a time, as the orvia program reads a pipe: its parts, and the
// lines they make together.
std::vector<std::string> LinesReadInSteps(const std::string& text, size_t step,
                                          std::string& joined) {
  std::vector<std::string> lines;
  std::string buffer;
  bool first = true;
  for (size_t read = 0; read <= text.size(); read += step) {
    buffer += text.substr(read, step);
    const InputState input =
        read + step >= text.size() ? InputState::kEnded : InputState::kMoreComing;
    buffer.erase(0, uttsOrvia::TakeReadyParts(
                        buffer, input, first,
                        [&](std::string_view part, uttsPortug::PlaceInText place) {
                          joined += part;
                          for (std::string& line : uttsPortug::TextToMbrolaLines(
                                   std::string(part), 1.0, 1.0, place))
                            lines.push_back(std::move(line));
                        }));
  }
  return lines;
}

TEST_F(PartsOfText, PartsSayWhatTheWholeTextSays) {
  std::string text = platform::Utf8ToCp1252(
      "O Sr. Almeida chegou às 10h30. Trouxe R$ 1.500,00 e 3 livros! Você viu? "
      "Ele disse: \"Não sei.\" Depois saiu...\n"
      "A reunião foi em 12/03/2024, com 25% dos sócios. Fim.\n");
  for (int i = 0; i < 6; ++i) text += text;  // several parts of the longest size
  const std::vector<std::string> whole = uttsPortug::TextToMbrolaLines(text, 1.0, 1.0);
  for (size_t step : {1u, 7u, 500u, 65536u}) {
    std::string joined;
    const std::vector<std::string> parts = LinesReadInSteps(text, step, joined);
    const auto differ = std::mismatch(parts.begin(), parts.end(), whole.begin(), whole.end());
    EXPECT_TRUE(differ.first == parts.end() && differ.second == whole.end())
        << "reads of " << step << ": line " << differ.first - parts.begin() << " of "
        << parts.size() << " (" << whole.size() << " whole): \""
        << (differ.first == parts.end() ? "" : *differ.first) << "\" against \""
        << (differ.second == whole.end() ? "" : *differ.second) << "\"";
    EXPECT_EQ(joined, text) << "reads of " << step;
  }
}

}  // namespace
}  // namespace speak_test

namespace speak_test {
namespace {

// A character alone is named only when it is the whole text; as the last word of a longer one
// (a screen reader's mark before every word cuts a text so) it is a word.
TEST_F(PartsOfText, ACharacterAloneIsNamedOnlyAsTheWholeText) {
  const auto comments = [](const std::vector<std::string>& lines) {
    std::string words;
    for (const std::string& line : lines)
      if (line.size() > 1 && line[0] == ';') words += line.substr(1) + " ";
    return words;
  };
  const std::string acute = "\xE9";  // "é"
  EXPECT_EQ(comments(uttsPortug::TextToMbrolaLines(acute, 1.0, 1.0)), "\xC9 agudo ");
  EXPECT_EQ(comments(uttsPortug::TextToMbrolaLines(acute, 1.0, 1.0, {.first = false, .last = true})),
            "\xE9 ");
  EXPECT_EQ(comments(uttsPortug::TextToMbrolaLines("a", 1.0, 1.0, {.first = true, .last = false})),
            "a ");
}

}  // namespace
}  // namespace speak_test
