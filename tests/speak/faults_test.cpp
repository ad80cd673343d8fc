// TIRLA: faults injected into a running ORVIA engine: an mbrola program that dies, hangs,
// floods or trickles its output or chatters at each stage, data files deleted while it runs.
// Each ends in a failure that says why, within the answer timeout, and the next text is spoken
// again.
#include <signal.h>

#include <chrono>
#include <thread>

#include "orvia/text/uttsPortugStages.h"
#include "orvia/engine/uttsOrviaState.h"
#include "platform/codepage.h"
#include "speak_fixture.h"
#include "support/test_kit.h"

namespace speak_test {
namespace {

using namespace uttsOrvia;
using Clock = std::chrono::steady_clock;

constexpr int kAnswerMs = 3000;  // MBROLA's answer timeout in these tests

size_t samplesTaken = 0;
bool TakeSamples(void*, const int16_t*, size_t count, int) {
  samplesTaken += count;
  return true;
}

class FaultTest : public SpeakTest {
 protected:
  void SetUp() override {
    SpeakTest::SetUp();
    for (const char* ext : {".nrl", ".exc", ".abr", ".pro", ".dfn"})
      fs::copy_file(fs::path(TIRLA_SOURCE_DIR) / "data/orvia" / (std::string("portug") + ext),
                    dir_ / (std::string("portug") + ext));
    UseFakeMbrola();
    voice_ = FakeVoice();
    // long enough for the fake program to start on a busy machine under the sanitizers
    mbrola::SetAnswerTimeout(kAnswerMs);
    samplesTaken = 0;
  }

  bool Start() {
    const uttsPortug::TextDataFiles f = uttsPortug::DataFilesIn(dir_.string());
    if (!OrviaStart(voice_, f.rules, f.exceptions, f.abbreviations, f.prosody, f.diphones))
      return false;
    OrviaSetOutput({.sink = {.context = nullptr, .Samples = TakeSamples}});
    OrviaSetFactors(0.8, 1.0);
    return true;
  }

  // Speaks a sentence; whether it went through, and whether its sound came.
  bool Speak() {
    samplesTaken = 0;
    return OrviaSpeak("Bom dia, tudo bem?") && samplesTaken > 0;
  }

  // The fault picked for the next mbrola program started, and only for it.
  void Inject(const char* mode) {
    setenv("FAKE_MBROLA", mode, 1);
    setenv("FAKE_MBROLA_ONCE", (dir_ / ("once-" + std::to_string(++faults_))).c_str(), 1);
  }

  std::string voice_;
  int faults_ = 0;
};

TEST_F(FaultTest, MbrolaFailingAtEachStageFailsThatTextOnly) {
  const struct {
    const char* mode;  // what the program does, and when
    bool atStart;      // the engine's start is what fails
    const char* said;  // in the engine's error
  } cases[] = {
      {"die:start", true, "voz do MBROLA"},    {"hang:start", true, "responde"},
      {"die:2", false, "terminou"},            {"hang:2", false, "responde"},
      {"flood:2", false, "mais som"},          {"babble:2", false, "responde"},
      {"trickle:2", false, "devagar"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    Inject(c.mode);
    const auto begin = Clock::now();
    if (c.atStart) {
      EXPECT_FALSE(Start());
      EXPECT_EQ(OrviaStartFailure(), kNoVoice);
    } else {
      ASSERT_TRUE(Start());
      EXPECT_FALSE(Speak());
    }
    EXPECT_NE(platform::Cp1252ToUtf8(OrviaEngineError()).find(c.said), std::string::npos)
        << OrviaEngineError();
    EXPECT_LT(Clock::now() - begin, std::chrono::milliseconds(3 * kAnswerMs));
    if (c.atStart) {
      ASSERT_TRUE(Start());
    }
    EXPECT_TRUE(Speak());  // a fresh program speaks the next text
    EXPECT_EQ(OrviaEngineError(), "");
    OrviaClose();
  }
}

TEST_F(FaultTest, MbrolaKilledOrStoppedBetweenTexts) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Speak());
  kill(mbrola::ChildProcessId(), SIGKILL);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(Speak());  // replaced before the text
  kill(mbrola::ChildProcessId(), SIGSTOP);
  const auto begin = Clock::now();
  EXPECT_FALSE(Speak());
  EXPECT_LT(Clock::now() - begin, std::chrono::milliseconds(3 * kAnswerMs));
  EXPECT_NE(platform::Cp1252ToUtf8(OrviaEngineError()).find("responde"), std::string::npos);
  EXPECT_TRUE(Speak());
}

TEST_F(FaultTest, DataFilesDeletedWhileRunningAreMissedOnlyAtTheNextStart) {
  ASSERT_TRUE(Start());
  std::vector<std::string> kept;
  for (const char* ext : {".nrl", ".exc", ".abr", ".pro", ".dfn"}) {
    kept.push_back(ReadAll((dir_ / (std::string("portug") + ext)).string()));
    fs::remove(dir_ / (std::string("portug") + ext));
  }
  EXPECT_TRUE(Speak());  // the tables are in memory
  support::KeptReports reports;
  EXPECT_FALSE(Start());
  EXPECT_EQ(OrviaStartFailure(), kTextData);
  EXPECT_TRUE(reports.Mention(platform::Utf8ToCp1252("portug.nrl: não existe")))
      << platform::Cp1252ToUtf8(reports.Joined());
  int i = 0;
  for (const char* ext : {".nrl", ".exc", ".abr", ".pro", ".dfn"})
    Write(std::string("portug") + ext, kept[i++]);
  ASSERT_TRUE(Start());
  EXPECT_TRUE(Speak());
}

}  // namespace
}  // namespace speak_test
