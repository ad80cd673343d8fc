// TIRLA: tests of the wave output: blocks, pieces, rates, compaction, WAV reading, stopping.
#include <chrono>
#include <numeric>

#include "console/keyboard.h"
#include "platform/wav.h"
#include "speak_fixture.h"

namespace speak_test {
namespace {

using waveout::Flags;

class WaveOutTest : public SpeakTest {};

TEST_F(WaveOutTest, ShortEightBitBlockIsPaddedToSilenceAndItsLastByteSilenced) {
  std::vector<uint8_t> samples(100, 200);
  ASSERT_EQ(waveout::PlayPcm(samples.data(), samples.size(), 11025, 1, 8), 0);
  const auto& played = platform::PcmPlayedBlocks();
  ASSERT_EQ(played.size(), 1u);
  const std::vector<uint8_t>& b = played[0].bytes;
  ASSERT_EQ(b.size(), 256u);
  EXPECT_EQ(b[98], 200);
  EXPECT_EQ(b[99], 128);
  EXPECT_TRUE(std::all_of(b.begin() + 100, b.end(), [](uint8_t v) { return v == 128; }));
  // a full piece keeps its last byte
  std::vector<uint8_t> full(waveout::kBufferSize, 7);
  platform::PcmForgetPlayed();
  waveout::PlayPcm(full.data(), full.size(), 11025, 1, 8);
  EXPECT_EQ(platform::PcmPlayedBlocks().at(0).bytes.back(), 7);
}

TEST_F(WaveOutTest, ShortSixteenBitBlockIsPlayedAsSilencePaddedBlock) {
  std::vector<uint8_t> samples(10, 0x55);
  waveout::PlayPcm(samples.data(), samples.size(), 16000, 1, 16);
  const std::vector<uint8_t>& b = platform::PcmPlayedBlocks().at(0).bytes;
  ASSERT_EQ(b.size(), 256u);
  EXPECT_EQ(b[9], 0x55);  // only 8-bit mono gets its last byte silenced
  EXPECT_TRUE(std::all_of(b.begin() + 10, b.end(), [](uint8_t v) { return v == 0; }));
}

TEST_F(WaveOutTest, WavFilesArePlayedInTheirPieceSizes) {
  Flags().NoWait = false;
  const std::string a = Write("a.wav", WavBytes(11025, 8, 1, std::string(70000, 'x')));
  EXPECT_EQ(waveout::PlayWavFile(a), 0);
  EXPECT_EQ(PlayedSizes(), (std::vector<size_t>{65534, 4466}));
  platform::PcmForgetPlayed();
  const std::string b = Write("b.wav", WavBytes(11025, 8, 1, std::string(65600, 'x')));
  EXPECT_EQ(waveout::PlayWavFile(b), 0);
  EXPECT_EQ(PlayedSizes(), (std::vector<size_t>{65278, 322}));
  EXPECT_FALSE(waveout::WavePlaying());
  EXPECT_FALSE(platform::PcmIsOpen());
}

TEST_F(WaveOutTest, FastRateRaisesTheDeviceRateByHalf) {
  Flags().FastRate = true;
  std::vector<uint8_t> samples(1000, 128);
  waveout::PlayPcm(samples.data(), samples.size(), 11025, 1, 8);
  EXPECT_EQ(platform::PcmPlayedBlocks().at(0).format.rate, 16537);
}

TEST_F(WaveOutTest, CompactModePlaysSixteenBitMonoAsEightBitAboutHalfAsLong) {
  Flags().CompactMode = true;
  // a voiced sound: one peak every 160 samples (100 Hz at 16000 per second)
  std::vector<int16_t> voice(16000);
  for (size_t i = 0; i < voice.size(); ++i)
    voice[i] = static_cast<int16_t>(i % 160 == 0 ? 20000 : (i % 160 < 80 ? 3000 : -3000));
  const auto* bytes = reinterpret_cast<const uint8_t*>(voice.data());
  waveout::PlayPcm(bytes, voice.size() * 2, 16000, 1, 16);
  const auto& played = platform::PcmPlayedBlocks();
  ASSERT_EQ(played.size(), 1u);
  EXPECT_EQ(played[0].format.bits, 8);
  const double ratio = static_cast<double>(played[0].bytes.size()) / voice.size();
  EXPECT_GT(ratio, 0.35);
  EXPECT_LT(ratio, 0.65);
  EXPECT_EQ(voice[0], 20000);  // the caller's samples are left as they were
}

TEST_F(WaveOutTest, CompactSpeechConvertsAndLeavesShortSoundsAndEndsOnSilence) {
  // 16-bit to 8-bit: the high byte plus 128
  std::vector<uint8_t> few = {0x00, 0x10, 0xFF, 0xFF, 0x00, 0x80};
  EXPECT_EQ(waveout::CompactSpeech(few.data(), few.size(), 16, 16000), 3u);
  EXPECT_EQ(few[0], 0x90);
  EXPECT_EQ(few[1], 0x7F);
  EXPECT_EQ(few[2], 0x00);
  // peakless sound (every sample 0) once made the search stand still for ever
  for (size_t n : {1000u, 1200u, 5000u}) {
    std::vector<uint8_t> flat(n, 0);
    const size_t kept = waveout::CompactSpeech(flat.data(), n, 8, 16000);
    EXPECT_LE(kept, n);
  }
  std::vector<uint8_t> flat(999, 3);
  EXPECT_EQ(waveout::CompactSpeech(flat.data(), flat.size(), 8, 11025), 999u);
}

TEST_F(WaveOutTest, ChunksBetweenFmtAndDataAreSteppedOver) {
  const std::string between = "LIST" + U32(6) + "abcdef" + "fact" + U32(4) + "data";
  const std::string fmt18 = U16(1) + U16(1) + U32(11025) + U32(11025) + U16(1) + U16(8) + U16(0);
  const std::string image = WavBytes(11025, 8, 1, std::string(300, 'z'), between, fmt18);
  platform::WavInfo info;
  ASSERT_TRUE(platform::ReadWavImage(reinterpret_cast<const uint8_t*>(image.data()),
                                     image.size(), info));
  EXPECT_EQ(info.dataSize, 300u);
  EXPECT_EQ(info.rate, 11025);
  EXPECT_EQ(image[info.dataOffset], 'z');
  // the same as a file, and with identifiers in lower case
  std::string lower = image;
  lower.replace(0, 4, "riff");
  Flags().NoWait = true;
  EXPECT_EQ(waveout::PlayWavFile(Write("c.wav", lower)), 0);
  ASSERT_EQ(PlayedSizes(), (std::vector<size_t>{300}));
  EXPECT_EQ(platform::PcmPlayedBlocks()[0].bytes[0], 'z');
}

TEST_F(WaveOutTest, TruncatedAndLyingWavFilesGiveMinusOne) {
  const std::string good = WavBytes(11025, 8, 1, std::string(1000, 'q'));
  EXPECT_EQ(waveout::PlayWavFile((dir_ / "missing.wav").string()), -1);
  EXPECT_EQ(waveout::PlayWavFile(Write("t1.wav", good.substr(0, 30))), -1);  // inside fmt
  EXPECT_EQ(waveout::PlayWavFile(Write("t2.wav", good.substr(0, 40))), -1);  // no data header
  EXPECT_EQ(waveout::PlayWavFile(Write("t3.wav", "RIFX" + good.substr(4))), -1);
  // a chunk claiming more than the file holds
  const std::string lying = WavBytes(11025, 8, 1, "", "LIST" + U32(1u << 30) + "ab");
  EXPECT_EQ(waveout::PlayWavFile(Write("t4.wav", lying.substr(0, lying.size() - 8))), -1);
  // a data chunk claiming more: what is there is played, then -1
  platform::PcmForgetPlayed();
  const std::string longData = WavBytes(11025, 8, 1, std::string(500, 'r'), "", "", 100000);
  EXPECT_EQ(waveout::PlayWavFile(Write("t5.wav", longData)), -1);
  EXPECT_EQ(PlayedSizes(), (std::vector<size_t>{500}));
  // images that lie are refused or cut to what they hold
  platform::WavInfo info;
  const std::string lyingImage = WavBytes(11025, 8, 1, std::string(10, 'r'), "", "", 1 << 20);
  ASSERT_TRUE(platform::ReadWavImage(reinterpret_cast<const uint8_t*>(lyingImage.data()),
                                     lyingImage.size(), info));
  EXPECT_EQ(info.dataSize, 10u);
  const std::string badFmt = "RIFF" + U32(100) + "WAVEfmt " + U32(0x7FFFFFF0) + std::string(40, 0);
  EXPECT_FALSE(platform::ReadWavImage(reinterpret_cast<const uint8_t*>(badFmt.data()),
                                      badFmt.size(), info));
  EXPECT_EQ(waveout::PlayWavImage(reinterpret_cast<const uint8_t*>(badFmt.data()), 20), -1);
}

TEST_F(WaveOutTest, QueueHoldsFourBuffersAndTheirReturnsFreeThem) {
  // completions are only heard when the messages are pumped (a key poll pumps too)
  Flags().StopOnKey = false;
  std::vector<uint8_t> samples(1000, 128);
  for (int i = 0; i < 3; ++i) waveout::PlayPcm(samples.data(), samples.size(), 11025, 1, 8);
  EXPECT_EQ(waveout::QueuedCount(), 3);
  EXPECT_TRUE(platform::HasPostedMessage());
  EXPECT_FALSE(waveout::WavePlaying());
  EXPECT_EQ(waveout::QueuedCount(), 0);
  EXPECT_FALSE(platform::PcmIsOpen());
  // a return for a buffer that is not queued changes nothing and says so
  testing::internal::CaptureStderr();
  waveout::WaveBlockDone(0, 0, 3);
  waveout::WavePlaying();  // told outside the message handler
  EXPECT_NE(testing::internal::GetCapturedStderr().find("handle is invalid"), std::string::npos);
  EXPECT_EQ(waveout::QueuedCount(), 0);
}

TEST_F(WaveOutTest, LostReturnsOfAClosedDeviceDoNotKeepSoundPlaying) {
  Flags().StopOnKey = false;
  std::vector<uint8_t> samples(1000, 128);
  waveout::PlayPcm(samples.data(), samples.size(), 11025, 1, 8);
  platform::ResetMessages();  // its return is lost
  platform::PcmClose();       // and the device went away behind our back
  testing::internal::CaptureStderr();
  EXPECT_FALSE(waveout::WavePlaying());
  EXPECT_NE(testing::internal::GetCapturedStderr().find("parou"), std::string::npos);
  EXPECT_EQ(waveout::QueuedCount(), 0);
}

TEST_F(WaveOutTest, DeviceErrorsAreSaidOnStandardError) {
  std::vector<uint8_t> samples(1000, 128);
  waveout::PlayPcm(samples.data(), samples.size(), 11025, 1, 8);
  platform::ResetMessages();  // the device's own return is lost; the error return stands in
  // the key polls opened the console: the message goes there too, and Enter is awaited
  ASSERT_TRUE(console::ConsoleOpen());
  platform::VideoEvent enter;
  enter.kind = platform::EventKind::kChar;
  enter.ch = 13;
  platform::MemoryVideo().events.push_back(enter);
  testing::internal::CaptureStderr();
  waveout::WaveBlockDone(0, 6, 1);
  waveout::WavePlaying();  // told outside the message handler
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("No device driver is present."), std::string::npos);
  EXPECT_NE(platform::MemoryRowText(0).find("No device driver is present."), std::string::npos)
      << platform::MemoryRowText(0);
  EXPECT_TRUE(platform::MemoryVideo().events.empty());
  EXPECT_EQ(waveout::QueuedCount(), 0);
  EXPECT_STREQ(waveout::DeviceErrorMessage(9), "");  // a code the table lacks
}

TEST_F(WaveOutTest, UnplayableFormatIsReturnedAndSaid) {
  std::vector<uint8_t> samples(100, 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(waveout::PlayPcm(samples.data(), samples.size(), 11025, 1, 12), platform::kPcmBadFormat);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("dispositivo de som"), std::string::npos);
  EXPECT_TRUE(platform::PcmPlayedBlocks().empty());
}

TEST_F(WaveOutTest, WaitingKeyStopsPlaybackAndClosesTheDevice) {
  std::vector<uint8_t> samples(1000, 128);
  waveout::PlayPcm(samples.data(), samples.size(), 11025, 1, 8);
  ASSERT_TRUE(platform::PcmIsOpen());
  platform::VideoEvent key;
  key.kind = platform::EventKind::kChar;
  key.ch = 'a';
  platform::MemoryVideo().events.push_back(key);
  EXPECT_FALSE(waveout::WavePlaying());
  EXPECT_FALSE(platform::PcmIsOpen());
  // and a file is not even started while the key waits
  platform::PcmForgetPlayed();
  EXPECT_EQ(waveout::PlayWavFile(Write("k.wav", WavBytes(11025, 8, 1, std::string(900, 'x')))), 0);
  EXPECT_TRUE(platform::PcmPlayedBlocks().empty());
}

}  // namespace
}  // namespace speak_test

namespace speak_test {
namespace {

// The SDL device (the dummy driver under ctest): completions come back from the sound thread
// through the posted messages, and PlayWavFile returns only once the sound has been played.
TEST_F(WaveOutTest, SdlDevicePlaysAFileToItsEnd) {
  platform::PcmUseMemoryDevice(false);
  setenv("SDL_AUDIODRIVER", "dummy", 0);  // never a real sound card in tests
  Flags().StopOnKey = false;
  const std::string file = Write("sdl.wav", WavBytes(16000, 16, 1, std::string(16000 * 2 / 4, '\1')));
  const auto start = std::chrono::steady_clock::now();
  const int result = waveout::PlayWavFile(file);
  if (result == platform::kPcmNoDriver || result == platform::kPcmBadDevice)
    GTEST_SKIP() << "no sound device here: " << platform::PcmLastError();
  ASSERT_EQ(result, 0) << platform::PcmLastError();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(240));  // 250 ms of sound
  EXPECT_LT(took, std::chrono::seconds(3));
  EXPECT_EQ(waveout::QueuedCount(), 0);
  EXPECT_FALSE(platform::PcmIsOpen());
  // a stop in the middle returns every buffer at once
  std::vector<uint8_t> second(16000 * 2, 0);
  ASSERT_EQ(waveout::PlayPcm(second.data(), second.size(), 16000, 1, 16), 0);
  EXPECT_EQ(waveout::QueuedCount(), 1);
  waveout::WaveStop();
  EXPECT_EQ(waveout::QueuedCount(), 0);
  EXPECT_FALSE(waveout::WavePlaying());
}

}  // namespace
}  // namespace speak_test
