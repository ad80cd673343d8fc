// TIRLA: the translator on hostile input: random bytes, huge words, hostile rule files.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "diphone/translator_chars.h"
#include "translator_test_util.h"

namespace {

using translator::TranslateToPhonetic;

// Every group opens with "[" and closes with "]"; a "[" or "]" typed by the user appears
// only right after "/_" (as a recorded sound) or as a default segment.
bool WellFormed(const std::string& phonetic) {
  bool open = false;
  for (std::size_t i = 0; i < phonetic.size(); ++i) {
    const bool quoted = i >= 2 && phonetic[i - 2] == '/' && phonetic[i - 1] == '_';
    if (quoted) continue;
    if (phonetic[i] == '[') {
      if (open) return false;
      open = true;
    } else if (phonetic[i] == ']') {
      if (!open) return false;
      open = false;
    }
  }
  return !open;
}

TEST(Robustness, RandomBytesGiveWellFormedText) {
  translator::StartTranslator();
  ASSERT_TRUE(translator::LoadTranslatorFiles(translator_test::ShippedDataDir()));
  std::mt19937 random(20261208);
  for (int round = 0; round < 3000; ++round) {
    std::string text(random() % 400, '\0');
    for (char& c : text) c = static_cast<char>(random() % 256);
    const std::string out = TranslateToPhonetic(text);
    ASSERT_TRUE(WellFormed(out)) << "round " << round;
    const bool blank = text.find_first_not_of(' ') == std::string::npos;
    ASSERT_EQ(out.empty(), blank) << "round " << round;
  }
}

TEST(Robustness, LongWordsAreTranslatedWhole) {
  translator::StartTranslator();
  ASSERT_TRUE(translator::LoadTranslatorFiles(translator_test::ShippedDataDir()));
  std::string word;
  while (word.size() < 300) word += "pa";
  const std::string out = TranslateToPhonetic(word);
  EXPECT_EQ(out.find("/_"), std::string::npos);
  // 256 letters in the first group, the other 44 in a second one.
  EXPECT_EQ(out.find("]["), out.rfind("]["));
  std::string sounds;
  for (char c : out) {
    if (c == 'p') sounds += c;
  }
  EXPECT_EQ(sounds.size(), 150u);
  const std::string mixed(300, 'x');
  EXPECT_EQ(TranslateToPhonetic(mixed).size(), 300u * 6);  // 300 spelled groups "[ /_x]"
}

TEST(Robustness, ContextsAtTheWordEdgesNeverReadOutside) {
  // Every symbol on both sides, at both edges of short and long words.
  translator_test::LoadTables({"#%](A)#%=1", "_|(A)&*+=2", "%_(A)[\\=3", "](E)+#=4",
                               "|#(I)*[=5", "%(O)\\\\\\\\=6", "##(U)##=7", "(AEIOU)=8"});
  for (const char* w : {"a", "e", "aa", "ea", "ai'", "nae", "o", "oss", "u", "aeiou",
                        "a'", "e^i", "aeiouaeiouaeiou", "uuuuu"}) {
    EXPECT_TRUE(WellFormed(TranslateToPhonetic(w))) << w;
  }
  EXPECT_EQ(TranslateToPhonetic("a"), "[3]");  // ] and | need a letter on the left
  EXPECT_EQ(TranslateToPhonetic("oss"), "[6/ /_S/ /_S]");
}

TEST(Robustness, RandomRuleFilesNeverStopTheTranslator) {
  std::mt19937 random(4);
  const std::string alphabet = "()=|#%]_&*+[\\ABEIOSX' ~^\x01\xE9";
  for (int round = 0; round < 50; ++round) {
    std::vector<std::string> lines;
    for (int n = 0; n < 200; ++n) {
      std::string line(random() % 30, ' ');
      for (char& c : line) c = alphabet[random() % alphabet.size()];
      lines.push_back(line);
    }
    translator_test::LoadTables(lines);
    // Outputs may hold brackets here, so only the size is bounded: each letter gives at most
    // one 11-character segment and a "/", each word its two brackets.
    for (const std::string text : {"abeiosx", "xo'se^", "a b", "ssssss", "o~e`i\"u"}) {
      const std::string out = TranslateToPhonetic(text);
      ASSERT_FALSE(out.empty()) << "round " << round;
      ASSERT_LE(out.size(), text.size() * 14) << "round " << round;
    }
  }
}

}  // namespace
