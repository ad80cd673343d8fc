// TIRLA: tests of the MBROLA binding over the mbrola program, and of the voice lookup.
#include <signal.h>

#include <chrono>
#include <thread>

#include "orvia/engine/mbrolaChild.h"
#include "speak_fixture.h"

namespace speak_test {
namespace {

class MbrolaTest : public SpeakTest {
 protected:
  const mbrola::EntryPoints& Mbr() { return mbrola::Mbrola(); }

  // Every sample the engine has for the text so far.
  std::vector<short> ReadAllSamples() {
    std::vector<short> all, chunk(16000);
    for (int n; (n = Mbr().read_MBR(chunk.data(), 16000)) > 0;)
      all.insert(all.end(), chunk.begin(), chunk.begin() + n);
    return all;
  }

  std::string LastErrorText() {
    char text[300] = "";
    Mbr().lastErrorStr_MBR(text, sizeof text);
    return text;
  }
};

TEST_F(MbrolaTest, BindingFindsTheProgramOnPath) {
  HideMbrola();
  EXPECT_FALSE(mbrola::MbrolaBind());
  EXPECT_EQ(Mbr().init_MBR, nullptr);
  UseFakeMbrola();
  ASSERT_TRUE(mbrola::MbrolaBind());
  EXPECT_EQ(mbrola::MbrolaProgram(), (dir_ / "bin/mbrola").string());
  mbrola::MbrolaUnbind();
  EXPECT_FALSE(mbrola::MbrolaBound());
}

TEST_F(MbrolaTest, MissingOrUnloadableVoiceFailsInit) {
  UseFakeMbrola();
  ASSERT_TRUE(mbrola::MbrolaBind());
  EXPECT_LT(Mbr().init_MBR((dir_ / "no-voice").c_str()), 0);
  EXPECT_EQ(Mbr().lastError_MBR(), mbrola::kNoVoice);
  EXPECT_NE(LastErrorText().find("no-voice"), std::string::npos);
  EXPECT_LT(Mbr().init_MBR(""), 0);
  // a file the program refuses: it leaves at once, and that is a failure, not a hang
  setenv("FAKE_MBROLA", "die:0", 1);
  EXPECT_EQ(Mbr().init_MBR(FakeVoice().c_str()), 0);  // loading needs no phoneme
  EXPECT_LT(Mbr().write_MBR("a 10\r\n") + Mbr().flush_MBR(), 0);
  EXPECT_NE(Mbr().lastError_MBR(), 0);
}

TEST_F(MbrolaTest, FlushDeliversEverySampleInOrder) {
  UseFakeMbrola();
  ASSERT_TRUE(mbrola::MbrolaBind());
  ASSERT_EQ(Mbr().init_MBR(FakeVoice().c_str()), 0);
  ASSERT_EQ(Mbr().reset_MBR(), 0);
  // 2000 ms of phonemes: more than a pipe holds, so writing must also read
  for (int i = 0; i < 20; ++i) ASSERT_EQ(Mbr().write_MBR("a 100\r\n"), 0);
  ASSERT_EQ(Mbr().flush_MBR(), 0);
  const std::vector<short> samples = ReadAllSamples();
  ASSERT_EQ(samples.size(), 20u * 1600);
  EXPECT_EQ(samples.front(), 1);
  EXPECT_EQ(samples.back(), 20);
  EXPECT_TRUE(std::is_sorted(samples.begin(), samples.end()));
  EXPECT_EQ(Mbr().read_MBR(nullptr, 10), 0);
  EXPECT_EQ(Mbr().lastError_MBR(), 0);
}

TEST_F(MbrolaTest, ResetDropsPendingLinesAndSamples) {
  UseFakeMbrola();
  ASSERT_TRUE(mbrola::MbrolaBind());
  ASSERT_EQ(Mbr().init_MBR(FakeVoice().c_str()), 0);
  Mbr().write_MBR("a 100\r\n");
  Mbr().flush_MBR();
  Mbr().write_MBR("b 100\r\n");  // written, never flushed
  ASSERT_EQ(Mbr().reset_MBR(), 0);
  short none[10];
  EXPECT_EQ(Mbr().read_MBR(none, 10), 0);
  Mbr().write_MBR("c 10\r\n");
  Mbr().flush_MBR();
  const std::vector<short> samples = ReadAllSamples();
  EXPECT_EQ(samples.size(), 160u);
}

TEST_F(MbrolaTest, ChildThatDiesOrHangsIsAnErrorAndResetStartsAFreshOne) {
  UseFakeMbrola();
  ASSERT_TRUE(mbrola::MbrolaBind());
  setenv("FAKE_MBROLA", "die:2", 1);
  ASSERT_EQ(Mbr().init_MBR(FakeVoice().c_str()), 0);
  // short, but only once started: a loaded machine starts the fake program slowly
  mbrola::SetAnswerTimeout(1500);
  for (int i = 0; i < 3; ++i) Mbr().write_MBR("a 10\r\n");
  Mbr().flush_MBR();
  ReadAllSamples();
  EXPECT_EQ(Mbr().lastError_MBR(), mbrola::kEnded);
  EXPECT_NE(LastErrorText().find("terminou"), std::string::npos);
  const int dead = mbrola::ChildProcessId();
  ASSERT_EQ(Mbr().reset_MBR(), 0);
  EXPECT_NE(mbrola::ChildProcessId(), dead);
  EXPECT_NE(mbrola::ChildProcessId(), -1);
  // a child that stops answering is killed after the timeout
  setenv("FAKE_MBROLA", "hang:0", 1);
  ASSERT_EQ(Mbr().reset_MBR(), 0);  // the running child keeps its old mode
  kill(mbrola::ChildProcessId(), SIGKILL);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_EQ(Mbr().reset_MBR(), 0);  // gone between texts: replaced, now a hanging one
  const auto start = std::chrono::steady_clock::now();
  Mbr().write_MBR("a 10\r\n");
  EXPECT_LT(Mbr().flush_MBR(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
  EXPECT_EQ(Mbr().lastError_MBR(), mbrola::kNoAnswer);
  EXPECT_NE(LastErrorText().find("responde"), std::string::npos);
}

TEST_F(MbrolaTest, RealVoiceSpeaksAboutTheWrittenDurations) {
  if (access(kRealVoice, R_OK) != 0 || mbrola::FindOnPath("mbrola").empty())
    GTEST_SKIP() << "no mbrola with the br4 voice";
  ASSERT_TRUE(mbrola::MbrolaBind());
  ASSERT_EQ(Mbr().init_MBR(kRealVoice), 0);
  Mbr().setNoError_MBR(1);
  Mbr().reset_MBR();
  for (const char* line : {"_ 50\r\n", "b 60\r\n", "on 120 50 220\r\n", "_ 50\r\n", "\r\n"})
    ASSERT_EQ(Mbr().write_MBR(line), 0);
  ASSERT_EQ(Mbr().flush_MBR(), 0);
  const std::vector<short> samples = ReadAllSamples();
  EXPECT_NEAR(static_cast<double>(samples.size()), 280 * 16, 280 * 16 * 0.05);
  EXPECT_GT(*std::max_element(samples.begin(), samples.end()), 1000);
  // missing pairs are warnings, not errors
  Mbr().reset_MBR();
  Mbr().write_MBR("h 50\r\nlh 50\r\n");
  Mbr().flush_MBR();
  EXPECT_FALSE(ReadAllSamples().empty());
  EXPECT_EQ(Mbr().lastError_MBR(), 0);
}

TEST_F(MbrolaTest, RegistryAnswersOnlyTheVoiceKeyWithTheInstalledVoice) {
  fs::create_directories(dir_ / "voices/br4");
  std::ofstream(dir_ / "voices/br4/br4") << "x";
  minireg::SetVoiceFolders({(dir_ / "none").string(), (dir_ / "voices").string()});
  std::string value = "unchanged";
  const std::string key = std::string(minireg::kMbrolaDatabases);
  ASSERT_TRUE(minireg::ReadRegistryString(minireg::kLocalMachine, key + "BR4\\", value));
  EXPECT_EQ(value, (dir_ / "voices/br4/br4").string());
  EXPECT_TRUE(minireg::ReadRegistryString(minireg::kLocalMachine,
                                          "software\\tcts\\mbrola\\DATABASES\\br4\\", value));
  value = "unchanged";
  EXPECT_FALSE(minireg::ReadRegistryString(minireg::kLocalMachine, key + "br4\\Path", value));
  EXPECT_FALSE(minireg::ReadRegistryString(minireg::kCurrentUser, key + "br4\\", value));
  EXPECT_FALSE(minireg::ReadRegistryString(minireg::kLocalMachine, key + "fr1\\", value));
  EXPECT_FALSE(minireg::ReadRegistryString(minireg::kLocalMachine, key + "..\\", value));
  EXPECT_FALSE(minireg::ReadRegistryString(minireg::kLocalMachine, "br4", value));
  EXPECT_EQ(value, "unchanged");
  // the listing: sorted, the first folder's copy, language where the id tells it
  fs::create_directories(dir_ / "first/br4");
  std::ofstream(dir_ / "first/br4/br4") << "x";
  std::ofstream(dir_ / "voices/xx9") << "x";
  fs::create_directories(dir_ / "voices/empty");
  minireg::SetVoiceFolders({(dir_ / "first").string(), (dir_ / "voices").string()});
  const std::vector<minireg::InstalledVoice> voices = minireg::InstalledVoices();
  ASSERT_EQ(voices.size(), 2u);
  EXPECT_EQ(voices[0].name, "br4");
  EXPECT_EQ(voices[0].path, (dir_ / "first/br4/br4").string());
  EXPECT_EQ(voices[0].language, "pt-BR");
  EXPECT_EQ(voices[1].name, "xx9");
  EXPECT_EQ(voices[1].language, "");
}

}  // namespace
}  // namespace speak_test
