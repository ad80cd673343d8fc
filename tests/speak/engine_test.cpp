// TIRLA: tests of the ORVIA engine: start failures, output file, synthesis driver.
#include <signal.h>

#include <chrono>
#include <thread>

#include "orvia/engine/mbrolaChild.h"
#include "orvia/engine/uttsOrviaState.h"
#include "platform/codepage.h"
#include "platform/speech.h"
#include "speak_fixture.h"

namespace speak_test {
namespace {

using namespace uttsOrvia;

// Blocks the engine hands over, kept by the sink, and what else it heard.
std::vector<std::vector<int16_t>> handed;
std::vector<int> rates;
std::vector<std::string> events;  // marks, and "block" for each block
int stopAfterBlocks = -1;         // the stop token answers yes after this many blocks

bool KeepBlock(void*, const int16_t* samples, size_t count, int rate) {
  handed.emplace_back(samples, samples + count);
  rates.push_back(rate);
  events.push_back("block");
  return true;
}

constexpr platform::SpeechOutput kKeepBlocks = {.sink = {.context = nullptr, .Samples = KeepBlock}};

void UseSink() { OrviaSetOutput(kKeepBlocks); }

class EngineTest : public SpeakTest {
 protected:
  void SetUp() override {
    SpeakTest::SetUp();
    handed.clear();
    rates.clear();
    events.clear();
    stopAfterBlocks = -1;
    // the project's data files, copied so that a test can spoil one
    for (const char* ext : {".nrl", ".exc", ".abr", ".pro", ".dfn"})
      fs::copy_file(fs::path(TIRLA_SOURCE_DIR) / "data/orvia" / (std::string("portug") + ext),
                    dir_ / (std::string("portug") + ext));
  }

  std::string Data(const char* ext) { return (dir_ / (std::string("portug") + ext)).string(); }

  bool Start(const std::string& voice) {
    return OrviaStart(voice, Data(".nrl"), Data(".exc"), Data(".abr"), Data(".pro"), Data(".dfn"));
  }

  // Sample values of the handed blocks, in order.
  static std::vector<int16_t> HandedSamples() {
    std::vector<int16_t> all;
    for (const std::vector<int16_t>& block : handed) all.insert(all.end(), block.begin(), block.end());
    return all;
  }
};

TEST_F(EngineTest, StartFailsWithoutMbrolaOrVoice) {
  HideMbrola();
  EXPECT_FALSE(Start("br4"));
  EXPECT_EQ(OrviaStartFailure(), kNoMbrola);
  EXPECT_EQ(OrviaLastError(), "");
  UseFakeMbrola();
  EXPECT_FALSE(Start((dir_ / "no-voice").string()));
  EXPECT_EQ(OrviaStartFailure(), kNoVoice);
  EXPECT_NE(OrviaEngineError().find("no-voice"), std::string::npos);
  EXPECT_FALSE(mbrola::MbrolaBound());  // released after a failed init
  EXPECT_EQ(OrviaLastError(), "");
}

TEST_F(EngineTest, VoiceIdIsLookedUpWhereVoicesAreInstalled) {
  UseFakeMbrola();
  fs::create_directories(dir_ / "voices/xy1");
  std::ofstream(dir_ / "voices/xy1/xy1") << "voice";
  minireg::SetVoiceFolders({(dir_ / "voices").string()});
  EXPECT_TRUE(Start("XY1"));
  // an id nobody installed reaches MBROLA as it is
  EXPECT_FALSE(Start("zz9"));
  EXPECT_NE(OrviaEngineError().find("zz9"), std::string::npos);
}

TEST_F(EngineTest, DataFileFailuresGiveTheirMessages) {
  UseFakeMbrola();
  const std::string voice = FakeVoice();
  const struct {
    const char* ext;
    const char* message;
  } cases[] = {{".nrl", "Erro na base de dados de português"},
               {".exc", "Erro na base de dados de português"},
               {".abr", "Erro no arquivo de abreviaturas"},
               {".pro", "Erro no arquivo de prosódia"},
               {".dfn", "Erro no arquivo de prosódia"}};
  for (const auto& c : cases) {
    const std::string kept = ReadAll(Data(c.ext));
    fs::remove(Data(c.ext));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Start(voice)) << c.ext;
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(OrviaStartFailure(), kTextData);
    EXPECT_EQ(OrviaLastError(), platform::Utf8ToCp1252(c.message)) << c.ext;
    Write(std::string("portug") + c.ext, kept);
  }
  EXPECT_TRUE(Start(voice));
}

TEST_F(EngineTest, OutputFileThatCannotBeCreatedFailsTheStart) {
  UseFakeMbrola();
  OrviaSetOutputFile((dir_ / "no-folder/out.wav").string());
  EXPECT_FALSE(Start(FakeVoice()));
  EXPECT_EQ(OrviaStartFailure(), kOutputFile);
  EXPECT_EQ(OrviaLastError(), "");
}

TEST_F(EngineTest, FileOutputGetsItsHeaderCompletedAtClose) {
  UseFakeMbrola();
  const std::string out = (dir_ / "out.wav").string();
  OrviaSetOutputFile(out);
  ASSERT_TRUE(Start(FakeVoice()));
  ASSERT_TRUE(FileOutput());
  ASSERT_TRUE(SpeakLines({"_ 100", "a 50", ""}));
  EXPECT_FALSE(OrviaIsSpeaking());
  OrviaStop();
  ASSERT_TRUE(SpeakLines({"b 25"}));
  OrviaClose();
  const std::string wav = ReadAll(out);
  ASSERT_EQ(wav.size(), 44u + (100 + 50 + 25) * 16 * 2);
  EXPECT_EQ(Le32(wav, 4), wav.size() - 8);
  EXPECT_EQ(Le32(wav, 40), wav.size() - 44);
  EXPECT_EQ(Le32(wav, 24), 16000u);
  EXPECT_EQ(Le16(wav, 34), 16);
  EXPECT_EQ(Le16(wav, 22), 1);
  EXPECT_TRUE(platform::PcmPlayedBlocks().empty());
}

TEST_F(EngineTest, PlaybackIsHandedInBlocksWhileMbrolaWorks) {
  UseFakeMbrola();
  ASSERT_TRUE(Start(FakeVoice()));
  UseSink();
  std::vector<std::string> lines;
  for (int i = 0; i < 30; ++i) lines.push_back("a 100");  // 3 s, 96000 bytes
  lines.push_back("");
  ASSERT_TRUE(SpeakLines(lines));
  ASSERT_GE(handed.size(), 3u);
  size_t total = 0;
  for (size_t i = 0; i < handed.size(); ++i) {
    const size_t data = handed[i].size() * 2;
    EXPECT_EQ(rates[i], kRate);
    EXPECT_LE(data, kSampleArea);
    EXPECT_GT(data, 0u);
    total += data;
  }
  EXPECT_EQ(total, 96000u);
  const std::vector<int16_t> samples = HandedSamples();
  EXPECT_TRUE(std::is_sorted(samples.begin(), samples.end()));
  EXPECT_EQ(samples.front(), 1);
  EXPECT_EQ(samples.back(), 30);
}

TEST_F(EngineTest, TinySoundIsPaddedToA256ByteBlock) {
  UseFakeMbrola();
  ASSERT_TRUE(Start(FakeVoice()));
  UseSink();
  ASSERT_TRUE(SpeakLines({"a 5"}));  // 80 samples, 160 bytes
  ASSERT_EQ(handed.size(), 1u);
  ASSERT_EQ(handed[0].size(), 128u);
  EXPECT_EQ(handed[0][79], 1);
  EXPECT_EQ(std::vector<int16_t>(handed[0].begin() + 80, handed[0].end()), std::vector<int16_t>(48, 0));
}

TEST_F(EngineTest, WaveOptionsDoNotTouchEngineSoundAndStaySet) {
  UseFakeMbrola();
  ASSERT_TRUE(Start(FakeVoice()));  // no sink: the wave output plays
  waveout::Flags().StopOnKey = false;
  waveout::Flags().FastRate = true;
  waveout::Flags().CompactMode = true;
  ASSERT_TRUE(SpeakLines({"a 600", "b 600"}));
  ASSERT_FALSE(platform::PcmPlayedBlocks().empty());
  for (const auto& block : platform::PcmPlayedBlocks()) {
    EXPECT_EQ(block.format.rate, kRate);
    EXPECT_EQ(block.format.bits, 16);
  }
  EXPECT_TRUE(waveout::Flags().FastRate);
  EXPECT_TRUE(waveout::Flags().CompactMode);
}

void NoteMark(void*, std::string_view name) { events.emplace_back(name); }
bool StopWhenAsked(void*) {
  return stopAfterBlocks >= 0 && static_cast<int>(handed.size()) >= stopAfterBlocks;
}

TEST_F(EngineTest, MarksFollowTheirSoundAndAStopDropsTheRest) {
  UseFakeMbrola();
  ASSERT_TRUE(Start(FakeVoice()));
  OrviaSetOutput({.sink = kKeepBlocks.sink,
                  .stop = {.context = nullptr, .Requested = StopWhenAsked},
                  .context = nullptr,
                  .Mark = NoteMark});
  std::string longText;
  for (int i = 0; i < 10; ++i) longText += "Bom dia, tudo bem? ";
  const platform::SpeechPiece pieces[] = {{"a", "um"}, {"", "dois"}, {longText, "tres"}, {"a", "quatro"}};
  ASSERT_TRUE(OrviaSpeakPieces(pieces));
  ASSERT_GE(events.size(), 4u);
  EXPECT_EQ(events[0], "block");  // a mark comes after the sound before it
  EXPECT_EQ(events[1], "um");
  EXPECT_EQ(events[2], "dois");
  EXPECT_EQ(events.back(), "quatro");
  // a stop after the first block of the long piece drops the rest, its mark and the next
  events.clear();
  handed.clear();
  stopAfterBlocks = 2;
  ASSERT_TRUE(OrviaSpeakPieces(pieces));
  EXPECT_EQ(events, (std::vector<std::string>{"block", "um", "dois", "block"}));
}

TEST_F(EngineTest, BlankTextIsDoneWithoutMbrola) {
  EXPECT_TRUE(OrviaSpeak(" \t\r\n "));  // not even started
  EXPECT_FALSE(SpeakLines({"a 10"}));
}

TEST_F(EngineTest, DyingMbrolaFailsTheTextButNotTheNext) {
  UseFakeMbrola();
  mbrola::SetAnswerTimeout(3000);  // the fake program starts slowly on a busy machine
  setenv("FAKE_MBROLA", "die:3", 1);
  ASSERT_TRUE(Start(FakeVoice()));
  UseSink();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(SpeakLines({"a 10", "b 10", "c 10", "d 10", "e 10", ""}));
  EXPECT_NE(OrviaEngineError().find("terminou"), std::string::npos);
  EXPECT_TRUE(SpeakLines({"a 10", "b 10"}));  // a fresh child
  EXPECT_EQ(OrviaEngineError(), "");
  setenv("FAKE_MBROLA", "hang:0", 1);
  kill(mbrola::ChildProcessId(), SIGKILL);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(SpeakLines({"a 10"}));
  EXPECT_NE(OrviaEngineError().find("responde"), std::string::npos);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
}

TEST_F(EngineTest, RealVoiceSpeaksAPortugueseSentence) {
  if (access(kRealVoice, R_OK) != 0 || mbrola::FindOnPath("mbrola").empty())
    GTEST_SKIP() << "no mbrola with the br4 voice";
  ASSERT_TRUE(Start("br4"));
  UseSink();
  OrviaSetFactors(0.8, 1.0);
  ASSERT_TRUE(OrviaSpeak(platform::Utf8ToCp1252("Bom dia, tudo bem?")));
  const std::vector<int16_t> normal = HandedSamples();
  EXPECT_GT(normal.size(), 16000u);      // more than a second
  EXPECT_LT(normal.size(), 3u * 16000);  // less than three
  EXPECT_GT(*std::max_element(normal.begin(), normal.end()), 3000);
  handed.clear();
  OrviaSetFactors(0.4, 1.0);
  ASSERT_TRUE(OrviaSpeak(platform::Utf8ToCp1252("Bom dia, tudo bem?")));
  EXPECT_NEAR(static_cast<double>(HandedSamples().size()) / normal.size(), 0.5, 0.08);
}

}  // namespace
}  // namespace speak_test
