// TIRLA: sd_orvia driven through its pipes as the server drives it: the start-up exchange,
// settings, messages with their events and audio, STOP and PAUSE, and bad input, each step's
// replies checked against the protocol's texts.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "module_process.h"
#include "sound_tools.h"

namespace speechd_test {
namespace {

namespace fs = std::filesystem;

// One step: what is written, and the final line of each reply expected (events of a spoken
// message summarised as ModuleProcess::Events gives them), joined by '\n'.
struct Step {
  std::string send;
  std::string expect;
};

const std::string kSet = "SET\n";
const std::string kSettings =
    "pitch=0\npitch_range=0\nrate=0\nvolume=100\npunctuation_mode=none\nspelling_mode=off\n"
    "cap_let_recogn=none\nlanguage=pt-br\nsynthesis_voice=NULL\n.\n";

class ProtocolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!VoiceInstalled()) GTEST_SKIP() << "mbrola or the br4 voice is not installed";
    dir_ = fs::temp_directory_path() / ("tirla-sd-" + std::to_string(getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    module_ = std::make_unique<ModuleProcess>((dir_ / "orvia.conf").string(),
                                              (dir_ / "orvia.log").string());
  }
  void TearDown() override {
    module_.reset();
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  // What one step gave: the final lines of its replies, or of its message's events.
  std::string Run(const std::string& send, size_t replies) {
    module_->Send(send);
    std::string got;
    for (size_t i = 0; i < replies; ++i) {
      const std::vector<std::string> reply = module_->Reply();
      const std::string last = reply.empty() ? "(silent)" : reply.back();
      got += (got.empty() ? "" : "\n") + last;
      if (last == "200 OK SPEAKING")
        for (const std::string& event : module_->Events()) got += "\n" + event;
    }
    return got;
  }

  // Runs the steps; each expected line outside a message's events is one reply to read.
  void Play(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      size_t replies = 0;
      bool inEvents = false;
      for (size_t at = 0, end = 0; at < step.expect.size(); at = end + 1) {
        end = std::min(step.expect.find('\n', at), step.expect.size());
        const std::string line = step.expect.substr(at, end - at);
        if (!inEvents) ++replies;
        if (line == "200 OK SPEAKING") inEvents = true;
        if (line.starts_with("702") || line.starts_with("703") || line.starts_with("704"))
          inEvents = false;
      }
      EXPECT_EQ(Run(step.send, replies), step.expect) << "after sending: " << step.send.substr(0, 60);
    }
    EXPECT_EQ(module_->BadChunks(), 0);
  }

  void StartUp() {
    Play({{"INIT\n", "299 OK LOADED SUCCESSFULLY"},
          {"AUDIO\n", "207 OK RECEIVING AUDIO SETTINGS"},
          {"audio_output_method=server\n.\n", "203 OK AUDIO INITIALIZED"}});
  }

  fs::path dir_;
  std::unique_ptr<ModuleProcess> module_;
};

TEST_F(ProtocolTest, ServerSessionFromInitToQuit) {
  module_->Send("INIT\n");
  const std::vector<std::string> init = module_->Reply();
  ASSERT_EQ(init.size(), 2u);
  EXPECT_TRUE(init[0].starts_with("299-"));
  EXPECT_EQ(init[1], "299 OK LOADED SUCCESSFULLY");
  module_->Send("LIST VOICES\n");
  const std::vector<std::string> voices = module_->Reply();
  ASSERT_GE(voices.size(), 2u);
  EXPECT_EQ(voices[0], "200-br4\tpt-BR\tfemale1");
  EXPECT_EQ(voices.back(), "200 OK VOICE LIST SENT");
  Play({
      {"AUDIO\n", "207 OK RECEIVING AUDIO SETTINGS"},
      {"audio_output_method=server\n.\n", "203 OK AUDIO INITIALIZED"},
      {"LOGLEVEL\n", "207 OK RECEIVING LOGLEVEL SETTINGS"},
      {"log_level=4\n.\n", "203 OK LOGLEVEL SET"},
      {kSet, "203 OK RECEIVING SETTINGS"},
      {kSettings, "203 OK SETTINGS RECEIVED"},
      {"SPEAK\n", "202 OK RECEIVING MESSAGE"},
      {"<speak>Bom dia.<mark name=\"__spd_0\"/> Tudo bem?<mark name=\"fim\"/></speak>\n.\n",
       "200 OK SPEAKING\n701 BEGIN\n705 AUDIO\n700 __spd_0\n705 AUDIO\n700 fim\n702 END"},
      {"STOP\n", ""},  // nothing is spoken: no answer at all
      {kSet, "203 OK RECEIVING SETTINGS"},
      {"rate=100\npitch=-100\nvolume=-50\npunctuation_mode=all\nvoice=male1\n.\n",
       "203 OK SETTINGS RECEIVED"},
      {"CHAR\n", "202 OK RECEIVING MESSAGE"},
      {"A\n.\n", "200 OK SPEAKING\n701 BEGIN\n705 AUDIO\n702 END"},
      {"KEY\n", "202 OK RECEIVING MESSAGE"},
      {"control_alt_delete\n.\n", "200 OK SPEAKING\n701 BEGIN\n705 AUDIO\n702 END"},
      {"SOUND_ICON\n", "202 OK RECEIVING MESSAGE"},
      {"nao-existe\n.\n", "200 OK SPEAKING\n701 BEGIN\n705 AUDIO\n702 END"},
      {"DEBUG ON " + (dir_ / "nao" / "existe").string() + " \n", "303 CANT OPEN CUSTOM DEBUG FILE"},
      {"DEBUG ON " + (dir_ / "debug.log").string() + " \n", "200 OK DEBUGGING ON"},
      {"QUIT\n", "210 OK QUIT"},
  });
  EXPECT_GT(module_->Samples(), 16000u);
  EXPECT_EQ(module_->Wait(), 0);
  // level 4 logs every command and event; the debug file gets every line from DEBUG ON on
  const auto text = [](const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::string log = text(dir_ / "orvia.log"), debug = text(dir_ / "debug.log");
  for (const char* line : {"<- SPEAK", "-> 701 BEGIN", "-> 700-fim|700 INDEX MARK", "-> 702 END"})
    EXPECT_NE(log.find(line), std::string::npos) << line;
  EXPECT_EQ(log.find("-> 705 AUDIO"), std::string::npos);  // chunks only at level 5
  EXPECT_NE(debug.find("<- QUIT"), std::string::npos);
  EXPECT_NE(debug.find("-> 210 OK QUIT"), std::string::npos);
}

TEST_F(ProtocolTest, StopAndPauseEndTheMessageWithTheirEvent) {
  StartUp();
  std::string longText = "<speak>";
  for (int i = 0; i < 200; ++i)
    longText += "Frase número " + std::to_string(i) + ".<mark name=\"__spd_" + std::to_string(i) + "\"/> ";
  longText += "</speak>\n.\n";
  Play({
      {kSet, "203 OK RECEIVING SETTINGS"},
      {kSettings, "203 OK SETTINGS RECEIVED"},
      {"SPEAK\n", "202 OK RECEIVING MESSAGE"},
      // read before the first sound: the message ends at once
      {longText + "STOP\n", "200 OK SPEAKING\n701 BEGIN\n703 STOP"},
      {kSet + kSettings, "203 OK RECEIVING SETTINGS\n203 OK SETTINGS RECEIVED"},
      {"SPEAK\n", "202 OK RECEIVING MESSAGE"},
      {longText + "PAUSE\n", "200 OK SPEAKING\n701 BEGIN\n705 AUDIO\n700 __spd_0\n704 PAUSE"},
      {kSet + kSettings, "203 OK RECEIVING SETTINGS\n203 OK SETTINGS RECEIVED"},
      {"SPEAK\n", "202 OK RECEIVING MESSAGE"},
      // the voices are listed while speaking; another command ends the message, then is served
      {longText + "LIST VOICES\nSET\n",
       "200 OK SPEAKING\n701 BEGIN\n200 OK VOICE LIST SENT\n703 STOP\n203 OK RECEIVING SETTINGS"},
      {kSettings, "203 OK SETTINGS RECEIVED"},
      {"SPEAK\n", "202 OK RECEIVING MESSAGE"},
      {"<speak>Depois de parar, fala de novo.</speak>\n.\n",
       "200 OK SPEAKING\n701 BEGIN\n705 AUDIO\n702 END"},
  });
  // a screen reader's messages begin with a mark: after each way a message can be cut short,
  // the next one is spoken whole, every mark in its place
  const std::string leadingMarks =
      "<speak><mark name=\"0:3\"/><mark name=\"1:3\"/>Olá, <mark name=\"5:2\"/>de novo."
      "</speak>\n.\n";
  const std::string spokenWithMarks =
      "200 OK SPEAKING\n701 BEGIN\n700 0:3\n700 1:3\n705 AUDIO\n700 5:2\n705 AUDIO\n702 END";
  const std::string wordMarks = "<speak><mark name=\"0:4\"/>Leitor <mark name=\"7:2\"/>de "
                                "<mark name=\"10:4\"/>tela.</speak>\n.\n";
  for (const std::string cut : {"STOP\n", "PAUSE\n", "SET\n"}) {
    module_->Send("SPEAK\n");
    ASSERT_EQ(module_->Reply().back(), "202 OK RECEIVING MESSAGE");
    module_->Send(longText);
    EXPECT_EQ(module_->Reply().back(), "200 OK SPEAKING");
    EXPECT_EQ(module_->Reply().back(), "701 BEGIN");
    EXPECT_EQ(module_->Reply().back(), "705 AUDIO");
    module_->Send(cut);
    const std::vector<std::string> events = module_->Events();
    EXPECT_TRUE(events.back() == "703 STOP" || events.back() == "704 PAUSE") << cut;
    if (cut == "SET\n") Play({{kSettings, "203 OK RECEIVING SETTINGS\n203 OK SETTINGS RECEIVED"}});
    Play({{"SPEAK\n", "202 OK RECEIVING MESSAGE"},
          {leadingMarks, spokenWithMarks},
          {"SPEAK\n", "202 OK RECEIVING MESSAGE"},
          {wordMarks,
           "200 OK SPEAKING\n701 BEGIN\n700 0:4\n705 AUDIO\n700 7:2\n705 AUDIO\n700 10:4\n"
           "705 AUDIO\n702 END"}});
  }
}

TEST_F(ProtocolTest, BadInputGetsClearRepliesAndTheNextMessageSpeaks) {
  StartUp();
  const std::string speakOk = "<speak>Ainda falo.</speak>\n.\n";
  Play({
      {kSet, "203 OK RECEIVING SETTINGS"},
      {"rate=500\n.\n", "303 ERROR INVALID PARAMETER OR VALUE"},
      {kSet, "203 OK RECEIVING SETTINGS"},
      {"punctuation_mode=talvez\n.\n", "303 ERROR INVALID PARAMETER OR VALUE"},
      {kSet, "203 OK RECEIVING SETTINGS"},
      {"sem sinal de igual\n.\n", "302 ERROR BAD SYNTAX"},
      {kSet, "203 OK RECEIVING SETTINGS"},
      {"parametro_novo=1\nrate=10\n.\n", "203 OK SETTINGS RECEIVED"},
      {"AUDIO\n", "207 OK RECEIVING AUDIO SETTINGS"},
      {"audio_output_method=pulse\n.\n", "303 ERROR INVALID PARAMETER OR VALUE"},
      {"FALE\n", "300 ERR UNKNOWN COMMAND"},
      {"SPEAK\n", "202 OK RECEIVING MESSAGE"},
      {"<speak> <mark name=\"m\"/> </speak>\n.\n", "301 ERROR CANT SPEAK"},
      {"CHAR\n", "202 OK RECEIVING MESSAGE"},
      {"a\nb\n.\n", "305 DATA MORE THAN ONE LINE"},
      {"SPEAK\n", "202 OK RECEIVING MESSAGE"},
      {"<speak>Marca <mark name=\"x quebrada <b>&amp;&#99999999; </fim>\n.\n",
       "200 OK SPEAKING\n701 BEGIN\n705 AUDIO\n702 END"},
      {"SPEAK\n", "202 OK RECEIVING MESSAGE"},
      {"..com ponto no começo\n.\n", "200 OK SPEAKING\n701 BEGIN\n705 AUDIO\n702 END"},
  });
  // MBROLA killed between two messages: the next one still speaks
  std::ifstream children("/proc/" + std::to_string(module_->Pid()) + "/task/" +
                         std::to_string(module_->Pid()) + "/children");
  pid_t child = 0;
  ASSERT_TRUE(children >> child) << "no MBROLA child found";
  kill(child, SIGKILL);
  usleep(100000);
  Play({{"SPEAK\n", "202 OK RECEIVING MESSAGE"},
        {speakOk, "200 OK SPEAKING\n701 BEGIN\n705 AUDIO\n702 END"}});
  // a SPEAK of 1 MB is taken, speaks at once, and stops when told
  std::string big = "<speak>";
  while (big.size() < (1u << 20)) big += "Um texto muito longo, dito sem parar. ";
  module_->Send("SPEAK\n");
  EXPECT_EQ(module_->Reply().back(), "202 OK RECEIVING MESSAGE");
  module_->Send(big + "</speak>\n.\n");
  EXPECT_EQ(module_->Reply().back(), "200 OK SPEAKING");
  EXPECT_EQ(module_->Reply().back(), "701 BEGIN");
  EXPECT_EQ(module_->Reply().back(), "705 AUDIO");
  module_->Send("STOP\n");
  const std::vector<std::string> events = module_->Events();
  EXPECT_EQ(events.back(), "703 STOP");
  Play({{"SPEAK\n", "202 OK RECEIVING MESSAGE"},
        {speakOk, "200 OK SPEAKING\n701 BEGIN\n705 AUDIO\n702 END"},
        {"QUIT\n", "210 OK QUIT"}});
  EXPECT_EQ(module_->Wait(), 0);
}

// Each voice type listed speaks with a voice of its sex, as heard in the pitch of the sound
// sent; the installed voices are listed with the documented types (br1 and br3 male, br4 and
// br2 female).
TEST_F(ProtocolTest, VoiceTypesSpeakWithAVoiceOfTheirSex) {
  constexpr float kHighestMaleHz = 150, kLowestFemaleHz = 160;
  StartUp();
  module_->Send("LIST VOICES\n");
  const std::vector<std::string> listed = module_->Reply();
  const std::pair<std::string, std::string> documented[] = {
      {"br1", "male1"}, {"br3", "male2"}, {"br4", "female1"}, {"br2", "female2"}};
  for (const auto& [voice, type] : documented) {
    if (!fs::exists("/usr/share/mbrola/" + voice + "/" + voice)) continue;
    const std::string line = "200-" + voice + "\tpt-BR\t" + type;
    EXPECT_TRUE(std::find(listed.begin(), listed.end(), line) != listed.end()) << line;
  }
  for (const std::string& line : listed) {
    const size_t tab = line.rfind('\t');
    if (!line.starts_with("200-") || tab == std::string::npos) continue;
    const std::string type = line.substr(tab + 1);
    module_->ForgetAudio();
    Play({{kSet, "203 OK RECEIVING SETTINGS"},
          {"voice=" + type + "\n.\n", "203 OK SETTINGS RECEIVED"},
          {"SPEAK\n", "202 OK RECEIVING MESSAGE"},
          {"<speak>Bom dia, tudo bem com voc\xC3\xAA?</speak>\n.\n",
           "200 OK SPEAKING\n701 BEGIN\n705 AUDIO\n702 END"}});
    const std::vector<int16_t>& audio = module_->Audio();
    const float hz = soundtools::MedianPitch(soundtools::VoicedPitches(
        soundtools::FromInt16(audio.data(), audio.size()), module_->AudioRate()));
    if (type.starts_with("male")) EXPECT_LT(hz, kHighestMaleHz) << type;
    else EXPECT_GT(hz, kLowestFemaleHz) << type;
  }
}

TEST_F(ProtocolTest, EndOfInputEndsTheModule) {
  StartUp();
  EXPECT_EQ(module_->Wait(), 0);
}

}  // namespace
}  // namespace speechd_test
