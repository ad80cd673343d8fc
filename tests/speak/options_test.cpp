// TIRLA: tests of the orvia program's options (what each asks of the engine, what is refused)
// and of how it tells SSML and binary input from text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orvia/orviaOptions.h"
#include "orvia/text/uttsSsml.h"
#include "platform/codepage.h"
#include "platform/report.h"

namespace {

using orviaCli::Capitals;
using Punctuation = uttsPreproc::Punctuation;

// Parses `args` with the reports kept in `said` (UTF-8).
bool Parse(std::vector<std::string> args, orviaCli::Options& options, std::string& said) {
  args.insert(args.begin(), "orvia");
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  platform::SetReportSink({.context = &said, .Write = [](void* c, platform::Severity, std::string_view t) {
                             *static_cast<std::string*>(c) += platform::Cp1252ToUtf8(t);
                           }});
  const bool ok = orviaCli::ParseArguments(static_cast<int>(argv.size()), argv.data(), options);
  platform::SetStandardErrorSink();
  return ok;
}

TEST(OrviaOptions, EachOptionGivesItsEngineSetting) {
  const struct {
    std::vector<std::string> args;
    double duration, pitch, volume;
    int gapMs;
    Capitals capitals;
    double capitalPitch;
    Punctuation punctuation;
    std::string signs;
  } cases[] = {
      {{}, 0.8, 1.0, 1.0, 0, Capitals::kNone, 1.0, Punctuation::kMost, ""},
      {{"-s", "120"}, 0.8 * 1.5168, 1.0, 1.0, 0, Capitals::kNone, 1.0, Punctuation::kMost, ""},
      {{"-s300"}, 0.8 * 0.5576, 1.0, 1.0, 0, Capitals::kNone, 1.0, Punctuation::kMost, ""},
      {{"-s", "130"}, 0.8 * (1.5168 + 1.2756) / 2, 1.0, 1.0, 0, Capitals::kNone, 1.0, Punctuation::kMost, ""},
      {{"-s", "450", "--nivel-velocidade", "6"}, 0.4, 1.0, 1.0, 0, Capitals::kNone, 1.0, Punctuation::kMost, ""},
      {{"-p", "0"}, 0.8, 0.6512, 1.0, 0, Capitals::kNone, 1.0, Punctuation::kMost, ""},
      {{"-p", "99"}, 0.8, 1.6757, 1.0, 0, Capitals::kNone, 1.0, Punctuation::kMost, ""},
      {{"--nivel-tom", "11"}, 0.8, 2.0, 1.0, 0, Capitals::kNone, 1.0, Punctuation::kMost, ""},
      {{"-a", "0"}, 0.8, 1.0, 0.0, 0, Capitals::kNone, 1.0, Punctuation::kMost, ""},
      {{"-a", "200"}, 0.8, 1.0, 1.8895, 0, Capitals::kNone, 1.0, Punctuation::kMost, ""},
      {{"-g", "5"}, 0.8, 1.0, 1.0, 50, Capitals::kNone, 1.0, Punctuation::kMost, ""},
      {{"-k", "1"}, 0.8, 1.0, 1.0, 0, Capitals::kWord, 1.0, Punctuation::kMost, ""},
      {{"-k2"}, 0.8, 1.0, 1.0, 0, Capitals::kWord, 1.0, Punctuation::kMost, ""},
      {{"-k20"}, 0.8, 1.0, 1.0, 0, Capitals::kPitchRise, 1.2, Punctuation::kMost, ""},
      {{"--punct"}, 0.8, 1.0, 1.0, 0, Capitals::kNone, 1.0, Punctuation::kAll, ""},
      {{"--punct=,;"}, 0.8, 1.0, 1.0, 0, Capitals::kNone, 1.0, Punctuation::kMost, ",;"},
  };
  for (const auto& c : cases) {
    orviaCli::Options options;
    std::string said;
    ASSERT_TRUE(Parse(c.args, options, said)) << said;
    const orviaCli::EngineSettings s = orviaCli::SettingsFor(options);
    const std::string args = testing::PrintToString(c.args);
    EXPECT_NEAR(s.durationFactor, c.duration, 1e-4) << args;
    EXPECT_NEAR(s.pitchFactor, c.pitch, 1e-4) << args;
    EXPECT_NEAR(s.volumeRatio, c.volume, 1e-4) << args;
    EXPECT_EQ(s.wordGapMs, c.gapMs) << args;
    EXPECT_EQ(s.capitals, c.capitals) << args;
    EXPECT_NEAR(s.capitalPitchFactor, c.capitalPitch, 1e-9) << args;
    EXPECT_EQ(s.punctuation, c.punctuation) << args;
    EXPECT_EQ(s.namedSigns, c.signs) << args;
  }
}

TEST(OrviaOptions, TextSourcesAndTheWordsAfterTheOptions) {
  const struct {
    std::vector<std::string> args;
    std::string textFile;
    std::vector<std::string> text;
  } cases[] = {
      {{"-f", "-"}, "-", {}},
      {{"--stdin"}, "-", {}},
      {{"-q", "Bom", "-s"}, "", {"Bom", "-s"}},  // after the text, words only
      {{"--", "-5", "graus"}, "", {"-5", "graus"}},
  };
  for (const auto& c : cases) {
    orviaCli::Options options;
    std::string said;
    ASSERT_TRUE(Parse(c.args, options, said)) << said;
    EXPECT_EQ(options.textFile, c.textFile);
    EXPECT_EQ(options.text, c.text);
  }
}

// Every refusal names what was given and points at --help.
TEST(OrviaOptions, BadOptionsAreRefusedAndPointAtHelp) {
  const struct {
    std::vector<std::string> args;
    const char* said;
  } cases[] = {
      {{"-s", "79"}, "de 80 a 450 (palavras por minuto), não \"79\""},
      {{"-s", "451"}, "de 80 a 450"},
      {{"-s", "rápido"}, "não \"rápido\""},
      {{"-p", "100"}, "de 0 a 99"},
      {{"-a", "-1"}, "de 0 a 200"},
      {{"-g", "x"}, "centésimos de segundo"},
      {{"-k", "101"}, "de 0 a 100"},
      {{"-b", "4"}, "UTF-16 não é lido"},
      {{"--nivel-velocidade", "10"}, "de -12 a 9"},
      {{"--nivel-tom", "-6"}, "de -5 a 11"},
      {{"-s"}, "falta um valor depois de -s"},
      {{"-qx"}, "opção desconhecida: -qx"},
      {{"--pho=1"}, "opção desconhecida: --pho=1"},
      {{"--rapido"}, "opção desconhecida: --rapido"},
  };
  for (const auto& c : cases) {
    orviaCli::Options options;
    std::string said;
    EXPECT_FALSE(Parse(c.args, options, said)) << c.said;
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
    EXPECT_NE(said.find("(orvia --help mostra as opções)"), std::string::npos) << said;
  }
}

TEST(OrviaText, SsmlAndBinaryAreToldFromText) {
  std::string controls(100, 'a'), fewControls(100, 'a');
  for (int i = 0; i < 20; ++i) controls[i * 5] = '\x01';
  for (int i = 0; i < 5; ++i) fewControls[i * 20] = '\x1B';
  const struct {
    std::string text;
    orviaCli::TextKind kind;
  } cases[] = {
      {"Bom dia", orviaCli::TextKind::kPlain},
      {"", orviaCli::TextKind::kPlain},
      {"Tabela:\tum\r\ndois\f", orviaCli::TextKind::kPlain},
      {"Ol\xE1, Jo\xE3o", orviaCli::TextKind::kPlain},  // cp1252 letters are text
      {"<speak>Oi</speak>", orviaCli::TextKind::kSsml},
      {"\xEF\xBB\xBF  <?xml version=\"1.0\"?>\n<!-- c -->\n<SPEAK xml:lang=\"pt-BR\">Oi", orviaCli::TextKind::kSsml},
      {"<speaker>Oi", orviaCli::TextKind::kPlain},
      {"a <speak> b", orviaCli::TextKind::kPlain},
      {"<?xml version=\"1.0\"", orviaCli::TextKind::kPlain},
      {std::string("ab\0cd", 5), orviaCli::TextKind::kBinary},
      {"<speak>" + std::string("\0", 1), orviaCli::TextKind::kBinary},
      {controls, orviaCli::TextKind::kBinary},
      {fewControls, orviaCli::TextKind::kPlain},
      {std::string(orviaCli::kSniffBytes, 'a') + std::string("\0", 1), orviaCli::TextKind::kPlain},
  };
  for (const auto& c : cases) EXPECT_EQ(orviaCli::KindOf(c.text), c.kind) << c.text.substr(0, 60);
}

// Pieces as "text|pause|s" (s when spelled).
std::string Show(const std::vector<uttsSsml::Piece>& pieces) {
  std::string out;
  for (const uttsSsml::Piece& p : pieces)
    out += "[" + p.text + "|" + std::to_string(p.pauseAfterMs) + (p.spell ? "|s" : "") + "]";
  return out;
}

TEST(OrviaText, ASpokenDocumentHasItsBreaksAndSpelling) {
  const struct {
    const char* ssml;
    const char* spoken;  // with Reading::kSpoken
    const char* marks;   // with Reading::kMarks, as a speech service reads it
  } cases[] = {
      {"<speak>Bom <break time=\"500ms\"/>dia</speak>", "[Bom |500][dia|0]", "[Bom  dia|0]"},
      {"Um<break time='2s'/>dois", "[Um|2000][dois|0]", "[Um dois|0]"},
      {"Um<break time=\"1.5s\"/>", "[Um|1500]", "[Um |0]"},
      {"<break strength=\"strong\"/>Um", "[|700][Um|0]", "[ Um|0]"},
      {"Um<break/><break strength='x-weak'/>", "[Um|500]", "[Um  |0]"},
      {"Um<break time=\"99s\"/>", "[Um|10000]", "[Um |0]"},
      {"Um<break time=\"muito\"/>", "[Um|400]", "[Um |0]"},
      {"CPF <say-as interpret-as=\"characters\">abc</say-as> fim",
       "[CPF |0][abc|0|s][ fim|0]", "[CPF abc fim|0]"},
      {"<say-as interpret-as=\"date\">1/2</say-as>", "[1/2|0]", "[1/2|0]"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Show(uttsSsml::SsmlToPieces(c.ssml, uttsSsml::Reading::kSpoken)), c.spoken) << c.ssml;
    EXPECT_EQ(Show(uttsSsml::SsmlToPieces(c.ssml)), c.marks) << c.ssml;
  }
}

}  // namespace
