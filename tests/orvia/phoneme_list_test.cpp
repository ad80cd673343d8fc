// TIRLA: tests of the phoneme list: comment lines, pauses, exceptions, stress and word joins.
#include <gtest/gtest.h>

#include "orvia/text/uttsPortug.h"
#include "orvia_test_files.h"

namespace {

using uttsPortug::Lines;

class PhonemeList : public ::testing::Test {
 protected:
  void SetUp() override {
    uttsPortug::StartPortug();
    ASSERT_TRUE(uttsPortug::LoadRules(orvia_test::WriteFile(
        "l.nrl", "(A)=a\n(E)=e\n(O)=o\n(I)=i\n(S)%=s2\n(S)=s\n(R)%=r2\n(R)=r\n(M)=m\n(P)=p\n"
                 "(T)=t\n(D)=d\n(C)=k\n(-)=h\n(\xC9)=ee\n(L)=l\n(V)=v\n(B)=b\n(N)=n\n")));
    ASSERT_TRUE(uttsPortug::LoadExceptions(orvia_test::WriteFile("l.exc", "ELA=\xC9LA\n")));
  }
};

TEST_F(PhonemeList, TokensBecomeCommentsPhonemesAndPauses) {
  Lines list = uttsPortug::BuildPhonemeList({"555|", "565|casa", "531|.", "555|", "666|?"});
  EXPECT_EQ(list, (Lines{";555|", "__", "", ";565|casa", "k", ">a", "s", "a", "", ";531|.", "_.",
                         ";555|", "__", "", ";666|?", "_?", "__"}));
}

TEST_F(PhonemeList, ShortAndListedWordsCarryNoStressAndPausesOnlyForTheirMarks) {
  Lines list = uttsPortug::BuildPhonemeList({"555|de", "555|por", "555| x", "555|:", "555|;"});
  EXPECT_EQ(list, (Lines{";555|de", "d", "e", "", ";555|por", "p", "o", "r2", "", ";555| x",
                         ";555|:", "_:", ";555|;", "_;", "__"}));
}

TEST_F(PhonemeList, ExceptionsAreStressedByTheirRespelling) {
  Lines list = uttsPortug::BuildPhonemeList({"555|elas"});
  EXPECT_EQ(list, (Lines{";555|elas", ">ee", "l", "a", "s2", "", "__"}));
}

TEST_F(PhonemeList, OtherMarksGoThroughTheRulesLikeWords) {
  Lines list = uttsPortug::BuildPhonemeList({"555|-"});
  EXPECT_EQ(list, (Lines{";555|-", "h", "", "__"}));
}

// The last phoneme of each word token, in order.
std::vector<std::string> LastPhonemes(const Lines& list) {
  std::vector<std::string> last;
  for (size_t i = 1; i < list.size(); ++i)
    if (list[i].empty() && !list[i - 1].empty() && list[i - 1][0] != ';' && list[i - 1] != "__")
      last.push_back(list[i - 1]);
  return last;
}

TEST_F(PhonemeList, FinalRAndSJoinAFollowingVowel) {
  Lines list = uttsPortug::BuildPhonemeList({"555|", "555|mar", "555|de", "555|mas", "555|em",
                                             "555|mas", "555|.", "555|par", "555|ver"});
  // mar before "de": r2; mas before "em": z; mas before a pause, par before a consonant and
  // the last word keep their forms.
  EXPECT_EQ(LastPhonemes(list), (std::vector<std::string>{"r2", "e", "z", "m", "s2", "r2", "r2"}));
  list = uttsPortug::BuildPhonemeList({"555|mar", "555|e"});
  EXPECT_EQ(LastPhonemes(list)[0], "r");
}

TEST_F(PhonemeList, AStressedFirstVowelAlsoJoins) {
  // "alto" starts with its stressed vowel: the list line is ">a".
  Lines list = uttsPortug::BuildPhonemeList({"555|mar", "555|alto", "555|mas", "555|ela"});
  EXPECT_EQ(LastPhonemes(list), (std::vector<std::string>{"r", "o", "z", "a"}));
}

TEST_F(PhonemeList, RepeatedWordsFollowNewRulesAndExceptions) {
  EXPECT_EQ(uttsPortug::BuildPhonemeList({"555|pata", "555|pata"})[2], ">a");
  ASSERT_TRUE(uttsPortug::LoadRules(orvia_test::WriteFile("m.nrl", "(A)=o\n(P)=p\n(T)=t\n")));
  Lines list = uttsPortug::BuildPhonemeList({"555|pata"});
  EXPECT_EQ(list, (Lines{";555|pata", "p", ">o", "t", "o", "", "__"}));
  ASSERT_TRUE(uttsPortug::LoadExceptions(orvia_test::WriteFile("m.exc", "PATA=TAPA\n")));
  list = uttsPortug::BuildPhonemeList({"555|pata"});
  EXPECT_EQ(list, (Lines{";555|pata", "t", ">o", "p", "o", "", "__"}));
}

TEST_F(PhonemeList, JoinIgnoresOneDiaeresisMarker) {
  Lines list = {";1", "__", "", ";2", "p", "s2", "", ";3", "\xA8" "a", "", ";4", "r2", "",
                ";5", "\xA8\xA8" "a", ""};
  uttsPortug::JoinAcrossWords(list);
  EXPECT_EQ(list[5], "z");
  EXPECT_EQ(list[11], "r2");  // only one marker is skipped
}

}  // namespace
