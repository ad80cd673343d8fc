// TIRLA: the diphone synthesizer over a small database: groups, units and fallbacks (golden
// file), buffers, start failures and damaged files.
#include <cmath>
#include <fstream>
#include <random>
#include <sstream>

#include "support/test_kit.h"
#include "synth_fixture.h"

namespace synth_test {
namespace {

TEST_F(SynthTest, GroupsUnitsAndFallbacksPlayAsTheGoldenFileSays) {
  ASSERT_EQ(synth::InitDiphoneSynth(), synth::kStarted);
  bool spell = false;
  auto setting = [&spell](const std::string& name, const std::string& value) {
    if (name != "settings") return false;
    std::istringstream settings(value);
    spell = false;
    int cut = 0, minimum = 0, pause = 100;
    for (std::string s; settings >> s;) {
      if (s == "soletra") spell = true;
      else if (s.starts_with("corte=")) cut = std::stoi(s.substr(6));
      else if (s.starts_with("minimo=")) minimum = std::stoi(s.substr(7));
      else if (s.starts_with("pausa=")) pause = std::stoi(s.substr(6));
      else return false;
    }
    synth::SetSynthParameters(cut, minimum, pause);
    return true;
  };
  synth::SetSynthParameters(0, 0, 100);
  const int cases = support::CheckGoldenFile(
      support::SourcePath("tests/golden/synth/groups.txt"),
      [&spell](const std::string& phonetic) {
        images().clear();
        synth::SpeakPhonetic(phonetic, spell);
        return Trace();
      },
      setting);
  EXPECT_GT(cases, 20);
}

TEST_F(SynthTest, StartFailuresGiveTheirCodes) {
  EXPECT_EQ(synth::InitDiphoneSynth(), synth::kStarted);
  EXPECT_EQ(synth::UnitCount(), kUnits.size());
  synth::SetUnitBaseName("NENHUMA");  // no such unit files
  EXPECT_EQ(synth::InitDiphoneSynth(), synth::kNoUnits);
  EXPECT_FALSE(synth::SynthStarted());
  synth::SpeakPhonetic("[ka]", true);  // not started: nothing, no crash
  EXPECT_TRUE(images().empty());
  synth::SetUnitBaseName("TESTE");
  fs::remove(units_ / "TESTE.DIF");
  EXPECT_EQ(synth::InitDiphoneSynth(), synth::kNoUnits);
  WriteDatabase(kUnits);
  fs::remove(units_ / translator::kExceptionsFileName);
  EXPECT_EQ(synth::InitDiphoneSynth(), synth::kNoTranslatorFiles);
  fs::remove_all(letters_);
  EXPECT_EQ(synth::InitDiphoneSynth(), synth::kNoUnits);
  synth::CloseDiphoneSynth();
  synth::CloseDiphoneSynth();  // twice is harmless
}

TEST_F(SynthTest, UnitFileNamesMatchWithoutRegardToCaseAndNamesAreCut) {
  fs::rename(units_ / "TESTE.IND", units_ / "teste.ind");
  synth::SetUnitBaseName("TESTE_NOME_LONGO");
  EXPECT_EQ(synth::UnitBaseName(), "TESTE_NO");
  synth::SetUnitBaseName("teste");
  EXPECT_EQ(synth::InitDiphoneSynth(), synth::kStarted);
}

TEST_F(SynthTest, LongTextIsPlayedInSeveralFullImagesInOrder) {
  static size_t queued = 0;  // images handed over without a wait
  queued = 0;
  synth::SetSoundHooks({.MakeWaveHeader = nullptr,
                        .PlayWaveBuffer = Keep,
                        .IsSpeaking = nullptr,
                        .QueueWaveBuffer = [](const uint8_t* image, size_t size) {
                          ++queued;
                          Keep(image, size);
                        }});
  ASSERT_EQ(synth::InitDiphoneSynth(), synth::kStarted);
  synth::SetSynthParameters(0, 0, 100);
  std::string text, expected;
  for (int i = 0; i < 200; ++i) {
    text += i % 2 ? "[kA/za]" : "[tchi]";
    expected += std::string(expected.empty() ? "" : " ~:100 ") + (i % 2 ? "$KAZA:800" : "$TCHI:540");
  }
  synth::SpeakPhonetic(text, false);
  EXPECT_EQ(Trace(), expected);
  ASSERT_GE(images().size(), 2u);
  for (const std::vector<uint8_t>& image : images()) {
    EXPECT_LE(image.size(), synth::kSpeechBufferSize);
    EXPECT_EQ(image[40] | image[41] << 8, static_cast<int>(image.size() - 44));  // data size
    EXPECT_EQ(image[24] | image[25] << 8, synth::kSampleRate);
  }
  EXPECT_GT(images().front().size(), synth::kSpeechBufferSize - 1000);  // played when full
  EXPECT_EQ(queued, images().size() - 1);  // only the last is waited for
}

TEST_F(SynthTest, AStopEndsTheTextAtOnce) {
  static int asked = 0, silenced = 0;
  asked = silenced = 0;
  synth::SetSoundHooks({.MakeWaveHeader = nullptr,
                        .PlayWaveBuffer = Keep,
                        .IsSpeaking = [] { return ++silenced, false; },
                        .QueueWaveBuffer = Keep,
                        .stop = {.context = nullptr, .Requested = [](void*) { return ++asked > 100; }}});
  ASSERT_EQ(synth::InitDiphoneSynth(), synth::kStarted);
  synth::SetSynthParameters(0, 0, 100);
  std::string text;
  for (int i = 0; i < 200; ++i) text += "[kA/za]";
  synth::SpeakPhonetic(text, false);
  EXPECT_EQ(asked, 101);
  EXPECT_EQ(images().size(), 1u);  // the full buffer before the stop; the rest is dropped
  EXPECT_EQ(silenced, 1);
}

TEST_F(SynthTest, ACutUnitEndsOnAZeroCrossingAndFadesOut) {
  // $KA a loud sine of 40-sample periods: the cut lands mid-wave
  std::string wave;
  for (int i = 0; i < 700; ++i) wave += static_cast<char>(128 + std::lround(100 * std::sin(2 * M_PI * (i + 5) / 40)));
  Write(units_ / "TESTE.IND", IndexEntry("$KA", 700, 0));
  Write(units_ / "TESTE.DIF", wave);
  ASSERT_EQ(synth::InitDiphoneSynth(), synth::kStarted);
  synth::SetSynthParameters(393, 0, 0);
  synth::SpeakPhonetic("[ka]", false);
  const std::vector<uint8_t> heard = Heard();
  ASSERT_LE(heard.size(), 307u);
  ASSERT_GE(heard.size(), 307u - 22);  // back to the crossing, within 2 ms
  EXPECT_LE(std::abs(heard.back() - 128), 1);
  int widest = 0;  // the sine's own steps reach about 16
  for (size_t i = 1; i < heard.size(); ++i) widest = std::max(widest, std::abs(heard[i] - heard[i - 1]));
  EXPECT_LE(widest, 16);
  EXPECT_EQ(std::vector<uint8_t>(heard.begin(), heard.begin() + 250),
            std::vector<uint8_t>(wave.begin(), wave.begin() + 250));  // untouched before its fade
}

TEST_F(SynthTest, DamagedOrMissingDatabaseFailsTheStartNamingTheFile) {
  const std::string ka = IndexEntry("$KA", 700, 0), pa = IndexEntry("$PA", 300, 700);
  const std::string data(1000, 60);
  std::string noise(300, '\0');
  std::minstd_rand bytes(7);
  for (char& c : noise) c = static_cast<char>(bytes());
  const struct {
    const char* what;
    std::string index;  // "-": no .IND at all
    std::string data;   // "-": no .DIF at all
    const char* problem;  // in the message, after the file's name
  } cases[] = {
      {"whole and sorted, a prefix first", IndexEntry("$K", 5, 0) + ka + pa, data, ""},
      {"missing index", "-", data, "TESTE.IND\": n\xE3o existe"},
      {"missing data", ka, "-", "TESTE.DIF\": n\xE3o existe"},
      {"empty index", "", data, "TESTE.IND\": est\xE1 vazio"},
      {"index cut to 100 bytes", (ka + pa + ka + pa + ka + pa + ka).substr(0, 100), data,
       "tem 100 bytes"},
      {"random bytes", noise, data, "TESTE.IND\": a entrada"},
      {"name over 8 bytes", ka + IndexEntry("$PA", 300, 700, 12), data, "nome de 12 bytes"},
      {"out of order", pa + ka, data, "a entrada 2 ($KA) est\xE1 fora da ordem"},
      {"twice the same name", ka + ka, data, "a entrada 2 ($KA) est\xE1 fora da ordem"},
      {"data cut to 1,000 bytes", ka + IndexEntry("$PA", 400, 700), data,
       "a entrada 2 ($PA) vai at\xE9 o byte 1100, al\xE9m do fim de \"TESTE.DIF\" (1000 bytes)"},
      {"a unit past the end", ka + IndexEntry("$PA", 0, 99999), data, "vai at\xE9 o byte 99999"},
  };
  for (const auto& c : cases) {
    fs::remove(units_ / "TESTE.IND");
    fs::remove(units_ / "TESTE.DIF");
    if (c.index != "-") Write(units_ / "TESTE.IND", c.index);
    if (c.data != "-") Write(units_ / "TESTE.DIF", c.data);
    const bool whole = std::string(c.problem).empty();
    EXPECT_EQ(synth::InitDiphoneSynth(), whole ? synth::kStarted : synth::kNoUnits) << c.what;
    EXPECT_EQ(synth::SynthStarted(), whole) << c.what;
    if (whole) {
      EXPECT_EQ(synth::StartProblem(), "") << c.what;
      continue;
    }
    EXPECT_NE(synth::StartProblem().find("arquivo de unidades \"" + units_.string() + "/TESTE."),
              std::string::npos)
        << c.what << ": " << synth::StartProblem();
    EXPECT_NE(synth::StartProblem().find(c.problem), std::string::npos)
        << c.what << ": " << synth::StartProblem();
    synth::SpeakPhonetic("[ka]", false);  // not started: nothing
    EXPECT_TRUE(images().empty()) << c.what;
  }
}

TEST_F(SynthTest, UnitsLongerThanTheBufferKeepWhatFits) {
  Write(units_ / "TESTE.IND", IndexEntry("$KA", 65535, 0));
  Write(units_ / "TESTE.DIF", std::string(65535, 60));
  ASSERT_EQ(synth::InitDiphoneSynth(), synth::kStarted);
  synth::SetSynthParameters(0, 0, 0);
  synth::SpeakPhonetic("[ka]", false);
  EXPECT_EQ(Trace(), "$KA:63956");
  EXPECT_EQ(images().size(), 1u);
}

TEST_F(SynthTest, DamagedRecordingsGiveWhatTheyHoldOrNothing) {
  ASSERT_EQ(synth::InitDiphoneSynth(), synth::kStarted);
  // a data chunk that claims more than the file holds; a 16-bit file; a file that is no WAV
  Write(letters_ / "_44.wav", Wav8(std::string(50, 15), 8, 1000));
  Write(letters_ / "_46.wav", Wav8(std::string(200, 15), 16));
  Write(letters_ / "_58.wav", "not a sound");
  synth::SpeakPhonetic("[ /_,][ /_.][ /_:]", true);
  EXPECT_EQ(Trace(), "_44:50 ~:200");  // and the word pauses
  // a recording longer than the buffer keeps what fits
  Write(letters_ / "_44.wav", Wav8(std::string(70000, 15)));
  images().clear();
  synth::SpeakPhonetic("[ /_,]", true);
  EXPECT_EQ(Trace(), "_44:63956");
}

TEST_F(SynthTest, MissedUnitsAreToldToTheObserver) {
  ASSERT_EQ(synth::InitDiphoneSynth(), synth::kStarted);
  std::vector<std::string> missed;
  synth::SetUnitObserver({.context = &missed,
                          .Collect = nullptr,
                          .Missed = [](void* c, std::string_view name, synth::UnitOutcome o) {
                            static_cast<std::vector<std::string>*>(c)->push_back(
                                std::string(name) + (o == synth::UnitOutcome::kNoise ? " ruido" : " mudo"));
                          }});
  synth::SpeakPhonetic("[xu][ /_b][ka]", false);
  EXPECT_EQ(missed, (std::vector<std::string>{"$x ruido", "$u ruido", "_98 mudo"}));
}

TEST_F(SynthTest, CollectingNamesReadsNothing) {
  // No start needed: the observer answers for the database.
  std::vector<std::string> names;
  synth::SetUnitObserver({.context = &names,
                          .Collect = [](void* c, std::string_view name) {
                            static_cast<std::vector<std::string>*>(c)->emplace_back(name);
                            return name.size() <= 8;
                          }});
  synth::SpeakPhonetic("[ m/A~w][ tch/e^][ /_,]", true);
  EXPECT_EQ(names, (std::vector<std::string>{"$MACIRC", "$AWTIL", "$TCHECIRC", "$TCH", "$ECIRC", "_44"}));
  EXPECT_EQ(Trace(), "~:200");  // the word pauses only
}

}  // namespace
}  // namespace synth_test
