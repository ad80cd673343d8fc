// TIRLA: what the module makes of message texts and settings: SSML to pieces, spelling, keys,
// and SET blocks with the factors they give ORVIA.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orvia/text/uttsSsml.h"
#include "platform/codepage.h"
#include "speechd/saying.h"
#include "speechd/voiceSettings.h"

namespace {

// Pieces written as "text|mark" joined by " / ", text in UTF-8; a tone before shows as "~".
std::string Show(const std::vector<sdOrvia::Piece>& pieces) {
  std::string out;
  for (const sdOrvia::Piece& p : pieces) {
    if (!out.empty()) out += " / ";
    out += (p.toneBefore ? "~" : "") + platform::Cp1252ToUtf8(p.text);
    if (!p.mark.empty()) out += "|" + p.mark;
  }
  return out;
}

TEST(SsmlPieces, TagsEntitiesAndMarksBecomePieces) {
  const struct {
    const char* ssml;
    const char* pieces;
  } cases[] = {
      {"<speak>Olá mundo.<mark name=\"__spd_0\"/> Tudo bem?</speak>",
       "Olá mundo. |__spd_0 / Tudo bem?"},
      {"<speak>O Sr.<mark name=\"__spd_0\"/> Silva</speak>", "O Sr. |__spd_0 / Silva"},
      {"a &lt;b&gt; &amp; &quot;c&quot; &#233; &#xE7;", "a <b> & \"c\" é ç"},
      {"<speak><emphasis level='strong'>forte</emphasis><break time='1s'/>fim</speak>",
       "forte fim"},
      {"x<mark name='m1'/>y<mark name=\"m2\"/>", "x|m1 / y|m2"},
      {"<mark name=\"só\"/>", "|só"},
      {"<mark name=\"0:3\"/><mark name=\"1:3\"/>Olá<mark name=\"a\"/><mark name=\"b\"/>",
       "|0:3 / |1:3 / Olá|a / |b"},
      {"<!-- nada --><![CDATA[<cru>]]>", "<cru>"},
      // malformed markup is text, never a failure
      {"<speak>a < b e c > d", "a < b e c > d"},
      {"<speak>sem fim <mark name=\"m", "sem fim <mark name=\"m"},
      {"&naoexiste; &#0; &#xFFFFFFFF; &", "&naoexiste; &#0; &#xFFFFFFFF; &"},
      {"<mark/>ok<mark name=''/>", "ok"},
      {"<mark name=\"a&#10;b\"/>", "|a b"},
      {"Um. Dois! Três? Quatro", "Um.  / Dois!  / Três?  / Quatro"},
  };
  for (const auto& c : cases) EXPECT_EQ(Show(uttsSsml::SsmlToPieces(c.ssml)), c.pieces) << c.ssml;
}

TEST(SsmlPieces, LongTextsAreCutIntoShortPiecesAndLoseNothing) {
  std::string words, blob(5000, 'x');
  for (int i = 0; i < 400; ++i) words += "palavra, ";
  for (const std::string& text : {words, blob, std::string(3000, ' ')}) {
    std::string joined;
    for (const sdOrvia::Piece& piece : uttsSsml::SsmlToPieces(text)) {
      EXPECT_LE(piece.text.size(), 800u);
      joined += piece.text;
    }
    EXPECT_EQ(joined, text);
  }
}

TEST(Saying, SpellingKeysAndCapitals) {
  sdOrvia::VoiceSettings spell;
  spell.spelling = true;
  spell.capitals = sdOrvia::Capitals::kSpell;
  sdOrvia::VoiceSettings icon;
  icon.capitals = sdOrvia::Capitals::kIcon;
  const sdOrvia::VoiceSettings plain;
  EXPECT_EQ(Show(sdOrvia::SpeakPieces("<speak>Oi a<mark name='m'/></speak>", spell)),
            "maiúscula / O / i / a|m");
  EXPECT_EQ(Show(sdOrvia::CharPieces("A", icon)), "~A");
  EXPECT_EQ(Show(sdOrvia::CharPieces("space", plain)), "espaço");
  EXPECT_EQ(Show(sdOrvia::KeyPieces("control_alt_delete", plain)), "contról / alt / deletar");
  EXPECT_EQ(Show(sdOrvia::KeyPieces("kp-5", plain)), "teclado numérico / 5");
  EXPECT_EQ(Show(sdOrvia::KeyPieces("_", plain)), "_");
}

TEST(VoiceSettings, SetBlocksAreTakenWholeOrNotAtAll) {
  using sdOrvia::SetResult;
  const struct {
    std::vector<std::string> lines;
    SetResult result;
    int rate;
    const char* voice;
  } cases[] = {
      {{"rate=50", "pitch=-20", "punctuation_mode=all", "synthesis_voice=br4",
        "voice=female1", "language=pt-br", "cap_let_recogn=spell", "spelling_mode=off"},
       SetResult::kOk, 50, "br4"},
      {{"rate=30", "synthesis_voice=NULL", "novidade=1"}, SetResult::kOk, 30, ""},
      {{"rate=101"}, SetResult::kBadValue, 0, ""},
      {{"pitch=-101"}, SetResult::kBadValue, 0, ""},
      {{"rate=20", "volume=alto"}, SetResult::kBadValue, 0, ""},
      {{"punctuation_mode=muito"}, SetResult::kBadValue, 0, ""},
      {{"voice=robot"}, SetResult::kBadValue, 0, ""},
      {{"rate 20"}, SetResult::kBadSyntax, 0, ""},
  };
  for (const auto& c : cases) {
    sdOrvia::VoiceSettings settings;
    std::string problem;
    EXPECT_EQ(sdOrvia::ApplySettings(settings, c.lines, problem), c.result) << c.lines[0];
    EXPECT_EQ(settings.rate, c.rate) << c.lines[0];
    EXPECT_EQ(settings.voice, c.voice) << c.lines[0];
    EXPECT_EQ(problem.empty(), c.result == SetResult::kOk) << c.lines[0];
  }
}

TEST(VoiceSettings, RateAndPitchStayWithinWhatTheVoiceCanSay) {
  // ORVIA's normal duration factor is 0.8; the voice says 0.2 (four times as fast) to 1.6
  const double normal = sdOrvia::DurationFactorFor(0);
  EXPECT_DOUBLE_EQ(normal, 0.8);
  EXPECT_GE(normal / sdOrvia::DurationFactorFor(100), 2.5);
  EXPECT_GE(sdOrvia::DurationFactorFor(100), 0.2);
  EXPECT_LE(sdOrvia::DurationFactorFor(-100), 1.6);
  EXPECT_GE(sdOrvia::PitchFactorFor(-100), 6.0 / 11.0);
  EXPECT_LE(sdOrvia::PitchFactorFor(100), 2.0);
  for (int level = -100; level < 100; ++level) {
    EXPECT_GT(sdOrvia::DurationFactorFor(level), sdOrvia::DurationFactorFor(level + 1));
    EXPECT_LT(sdOrvia::PitchFactorFor(level), sdOrvia::PitchFactorFor(level + 1));
    EXPECT_LE(sdOrvia::GainFor(level), sdOrvia::GainFor(level + 1));
  }
  EXPECT_EQ(sdOrvia::GainFor(100), 1.0);
  EXPECT_EQ(sdOrvia::GainFor(-100), 0.0);
}

}  // namespace
