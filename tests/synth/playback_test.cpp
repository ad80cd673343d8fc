// TIRLA: the synthesizer's sound reaching the wave output through the front-end, and the
// synthesizer as a row of the engine table.
#include "console/console.h"
#include "diphone/waveout.h"
#include "frontend/sound.h"
#include "platform/audio/pcm.h"
#include "platform/memory/video_memory.h"
#include "platform/messages.h"
#include "synth_fixture.h"

namespace synth_test {
namespace {

class PlaybackTest : public SynthTest {
 protected:
  void SetUp() override {
    SynthTest::SetUp();
    platform::ResetMessages();
    platform::ResetMemoryVideo();  // the front-end's waits ask the console for keys
    console::StartConsole();
    console::UseVideoDriver(platform::MemoryVideoDriver());
    platform::PcmUseMemoryDevice(true);
    waveout::StartWaveOut();
  }
  void TearDown() override {
    waveout::StartWaveOut();
    platform::PcmUseMemoryDevice(false);
    platform::ResetMessages();
    SynthTest::TearDown();
  }
};

TEST_F(PlaybackTest, FrontEndPlaysTheImageThroughTheWaveOutput) {
  frontend::ConnectSynthesizer();
  ASSERT_EQ(synth::InitDiphoneSynth(), synth::kStarted);
  synth::SetSynthParameters(0, 0, 100);
  synth::SpeakPhonetic("[ka][za]", false);
  const auto& blocks = platform::PcmPlayedBlocks();
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].format.rate, synth::kSampleRate);
  EXPECT_EQ(blocks[0].format.bits, 8);
  EXPECT_EQ(blocks[0].format.channels, 1);
  std::vector<uint8_t> expected(700, 60);
  expected.insert(expected.end(), 100, 128);
  expected.insert(expected.end(), 449, 5);  // the wave output makes the last sample silent
  expected.push_back(128);
  EXPECT_EQ(blocks[0].bytes, expected);
}

std::vector<int16_t> sunk;
std::vector<std::string> events;

bool Sink(void*, const int16_t* samples, size_t count, int rate) {
  EXPECT_EQ(rate, synth::kSampleRate);
  sunk.insert(sunk.end(), samples, samples + count);
  events.push_back("som");
  return true;
}

TEST_F(PlaybackTest, EngineRowTranslatesSpeaksAndMarks) {
  sunk.clear();
  events.clear();
  const platform::SpeechEngine& engine = synth::DiphoneEngine();
  platform::SpeechStart start;
  start.output = {.sink = {.context = nullptr, .Samples = Sink},
                  .stop = {},
                  .context = nullptr,
                  .Mark = [](void*, std::string_view name) { events.emplace_back(name); }};
  ASSERT_TRUE(engine.Start(start));
  synth::SetSynthParameters(400, 0, 100);
  const platform::SpeechPiece pieces[] = {{"casa", "um"}, {"", "dois"}};
  ASSERT_TRUE(engine.Speak(std::span<const platform::SpeechPiece>(pieces)));
  // casa: $KA stressed and whole, $ZA unstressed: 450 - 400 samples
  ASSERT_EQ(sunk.size(), 750u);
  EXPECT_EQ(sunk.front(), (60 - 128) << 8);
  EXPECT_EQ(sunk.back(), -1 << 8);  // $ZA was cut short: it fades out next to silence
  EXPECT_EQ(events, (std::vector<std::string>{"som", "um", "dois"}));
  EXPECT_FALSE(engine.IsSpeaking(0));
  engine.End();
  EXPECT_FALSE(synth::SynthStarted());
  EXPECT_FALSE(engine.Speak(std::span<const platform::SpeechPiece>(pieces)));
}

}  // namespace
}  // namespace synth_test
