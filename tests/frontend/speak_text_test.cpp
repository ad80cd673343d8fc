// TIRLA: tests of the front-end's voicing of text, observed on what reaches the sound device:
// each recording holds "#<its name>#" as samples, so the played blocks tell which played.
#include "frontend_fixture.h"

namespace frontend_test {
namespace {

class SpeakTextTest : public FrontEndTest {
 protected:
  void SetUp() override {
    FrontEndTest::SetUp();
    for (const char* word : {"_zero", "_cento", "_vinte", "_e", "_tres"}) Record(word);
  }
};

TEST_F(SpeakTextTest, RunsAreVoicedByTheirKind) {
  struct Case {
    const char* text;
    std::vector<std::string> played;
  };
  const Case cases[] = {
      {"bom dia, tudo bem.", {"~", "44", "~", "46"}},  // the last blank says nothing
      {"123", {"cento", "e", "vinte", "e", "tres"}},
      {"1234567", {"49", "50", "51", "52", "53", "54", "55"}},
      {"12-34", {"49", "50", "45", "51", "52"}},
      {"0", {"zero"}},
      {"00", {"zero", "zero"}},
      {"-5", {"MENOS", "cinco"}},
      {"www.", {"119", "119", "119", "46"}},
      {"a://bom", {"~", "58", "47", "47", "~"}},
      {"!!!!!!", {"33", "33", "33", "33", "click", "click"}},
  };
  for (const Case& c : cases) {
    Played();
    frontend::SpeakText(c.text);
    std::vector<std::string> played = Played();
    EXPECT_EQ(played, c.played) << c.text;
  }
}

TEST_F(SpeakTextTest, PausesFollowPunctuationWithABlankAfterIt) {
  const long before = platform::MemoryVideo().slept_ms;
  frontend::SpeakText("a, b.c");  // comma and blank: 150 ms; the full stop has no blank
  EXPECT_EQ(platform::MemoryVideo().slept_ms - before, 150);
  EXPECT_EQ(frontend::UpperCaseLatin1("a\xE7\xFF" "z1"), "A\xC7\xDF" "Z1");
}

TEST_F(SpeakTextTest, AWaitingKeyStopsTheTextAndStaysQueued) {
  platform::PushChar('x');
  frontend::SpeakText("bom dia 123");
  EXPECT_TRUE(Played().empty());
  EXPECT_TRUE(console::KeyWaiting());
}

}  // namespace
}  // namespace frontend_test
