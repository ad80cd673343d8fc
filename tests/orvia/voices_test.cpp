// TIRLA: tests of the voice table: the names that choose each voice, and rows that are wrong.
#include <gtest/gtest.h>

#include "orvia/text/uttsVoices.h"
#include "orvia_test_files.h"

namespace {

TEST(Voices, NamesAliasesAndPathsChooseTheShippedVoices) {
  ASSERT_EQ(uttsVoices::LoadVoices(orvia_test::DataFolder() + "/portug.voz"), "");
  const struct {
    const char* asked;
    const char* voice;  // nullptr: none
  } cases[] = {
      {"", "br4"},       {"br1", "br1"},    {"BR3", "br3"},   {"mb-br2", "br2"},
      {"pt-br", "br4"},  {"pt", "br4"},     {"/usr/share/mbrola/br3/br3", "br3"},
      {"br5", nullptr},  {"en1", nullptr},  {"mb-", nullptr},
  };
  for (const auto& c : cases) {
    const uttsVoices::Voice* voice = uttsVoices::FindVoice(c.asked);
    EXPECT_EQ(voice ? voice->name : "(none)", c.voice ? c.voice : "(none)") << c.asked;
  }
  // Orca's voice types, and the sex they give
  const struct {
    const char* type;
    const char* voice;
    bool male;
  } types[] = {{"male1", "br1", true}, {"MALE2", "br3", true}, {"female1", "br4", false},
               {"female2", "br2", false}};
  for (const auto& t : types) {
    const uttsVoices::Voice* voice = uttsVoices::VoiceOfType(t.type);
    ASSERT_NE(voice, nullptr) << t.type;
    EXPECT_EQ(voice->name, t.voice);
    EXPECT_EQ(uttsVoices::IsMale(*voice), t.male);
  }
  EXPECT_EQ(uttsVoices::VoiceOfType("child_male"), nullptr);
}

TEST(Voices, AWrongRowNamesItsLineAndLeavesNoTable) {
  const char* rows[] = {
      "br1 male1 16000 125 90 100 br1.dfn\n",                // a column missing
      "br1 male1 16000 grave 90 100 br1.dfn -\n",            // a pitch that is no number
      "br1 male1 16000 125 90 100 br1.dfn - an=\n",          // a rename without the voice's name
      "br1 male1 999999 125 90 100 br1.dfn -\n",             // a rate no voice has
  };
  for (const char* row : rows) {
    const std::string message = uttsVoices::LoadVoices(
        orvia_test::WriteFile("bad.voz", std::string("; vozes\nbr4 female1 16000 200 100 100 "
                                                     "portug.dfn -\n") + row));
    EXPECT_NE(message.find("linha 3"), std::string::npos) << row << message;
    EXPECT_TRUE(uttsVoices::Voices().empty()) << row;
  }
}

}  // namespace
