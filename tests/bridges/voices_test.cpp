// TIRLA: tests of the voice order and of the text the libraries get.
#include <gtest/gtest.h>

#include "bridges/voices.h"

namespace {

using bridges::VoiceEntry;

TEST(VoiceOrder, BrazilianThenPortugueseThenTheRestInTheirOwnOrder) {
  std::vector<VoiceEntry> voices = {{"af", "af", ""},     {"pt", "pt", ""},
                                    {"en", "en-us", ""},  {"br1", "pt-BR", ""},
                                    {"pap", "pap", ""},   {"br2", "pt_br", ""},
                                    {"ptx", "ptx", ""},   {"pt-pt", "PT-pt", ""}};
  bridges::OrderVoices(voices);
  std::vector<std::string> names;
  for (const VoiceEntry& v : voices) names.push_back(v.name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"br1", "br2", "pt", "pt-pt", "af", "en", "pap", "ptx"}));
  // the ones tirla-vozes shows without --todas
  std::vector<std::string> portuguese;
  for (const VoiceEntry& v : voices)
    if (bridges::IsPortuguese(v.language)) portuguese.push_back(v.name);
  EXPECT_EQ(portuguese, (std::vector<std::string>{"br1", "br2", "pt", "pt-pt"}));
}

TEST(TextPieces, LongTextsGoInPiecesCutAfterABlank) {
  const std::string words = std::string(63990, 'a') + " bb cc";  // 63996
  const std::string long1 = std::string(64001, 'x');
  const std::string long2 = words + " " + std::string(10, 'd');  // 64007
  const struct {
    std::string text;
    std::vector<size_t> sizes;
  } cases[] = {
      {"", {}},
      {"abc", {3}},
      {std::string(64000, 'x'), {64000}},
      {long1, {64000, 1}},                // no blank: cut at the limit
      {long2, {63997, 10}},               // after the last blank within the limit
      {std::string(200000, 'y'), {64000, 64000, 64000, 8000}},
  };
  for (const auto& c : cases) {
    std::vector<size_t> sizes;
    std::string joined;
    for (std::string_view piece : bridges::TextPieces(c.text)) {
      sizes.push_back(piece.size());
      joined += piece;
    }
    EXPECT_EQ(sizes, c.sizes) << c.text.size();
    EXPECT_EQ(joined, c.text);  // nothing lost
  }
}

TEST(SpeakableText, ControlsBecomeBlanksAndTextBecomesUtf8) {
  EXPECT_EQ(bridges::SpeakableUtf8("a\x01\x02z\x7F"), "a  z ");
  EXPECT_EQ(bridges::SpeakableUtf8(std::string("n\0o", 3)), "n o");
  EXPECT_EQ(bridges::SpeakableUtf8("a\xE7\xE3o \x80"), "a\xC3\xA7\xC3\xA3o \xE2\x82\xAC");
}

}  // namespace
