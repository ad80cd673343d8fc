// TIRLA: builds the diphone synthesizer's unit databases DIFONES1..5 (.IND and .DIF) from the
// installed MBROLA voice. The unit names are the ones the synthesizer itself looks up: the
// translator turns a corpus into phonetic text, and the synthesizer splits it with a hook that
// collects names instead of reading units. Each unit is rendered once per speed level (the
// durations scaled), cut and levelled so that units join cleanly, and stored as 8-bit
// unsigned mono at 11025 samples per second.
// The configuration's unstressed cut of each level ([SINTETIZADOR] CORTEFONn, SOBRAFONn) is
// made to land on a quiet zero crossing of every unit it shortens.
//   build_units --output DIR --translator DIR --orvia DIR [--voice br4] [--levels 1-5]
//               [--manifest FILE] [--config TOLVAN.INI] CORPUS...
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "diphone/synth.h"
#include "diphone/translator.h"
#include "orvia/engine/mbrola.h"
#include "orvia/engine/minireg.h"
#include "orvia/text/uttsPreprocParts.h"
#include "orvia/text/uttsProsodia.h"
#include "orvia/text/uttsVoices.h"
#include "platform/codepage.h"
#include "platform/folders.h"
#include "platform/profile.h"
#include "platform/text.h"
#include "unit_files.h"
#include "unit_plan.h"
#include "unit_shape.h"

namespace {

// Speed levels 1 (slowest) to 5: the measure of the durations at each.
constexpr double kLevelScale[] = {1.45, 1.2, 1.0, 0.85, 0.72};
constexpr int kLevels = 5;
constexpr float kPeakTarget = 0.85f;  // the typical unit's peak, of full scale
constexpr size_t kMaxName = 8;

struct Options {
  std::string output, translator, orvia, voice = "br4", manifest, config;
  int firstLevel = 1, lastLevel = kLevels;
  std::vector<std::string> corpus;
};

[[noreturn]] void Fail(const std::string& message) {
  fprintf(stderr, "build_units: %s\n", message.c_str());
  exit(1);
}

Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) Fail("falta o valor de " + arg);
      return argv[++i];
    };
    if (arg == "--output") o.output = value();
    else if (arg == "--translator") o.translator = value();
    else if (arg == "--orvia") o.orvia = value();
    else if (arg == "--voice") o.voice = value();
    else if (arg == "--manifest") o.manifest = value();
    else if (arg == "--config") o.config = value();
    else if (arg == "--levels") {
      const std::string v = value();
      if (sscanf(v.c_str(), "%d-%d", &o.firstLevel, &o.lastLevel) != 2) o.lastLevel = o.firstLevel = atoi(v.c_str());
      if (o.firstLevel < 1 || o.lastLevel > kLevels || o.firstLevel > o.lastLevel) Fail("níveis inválidos: " + v);
    } else if (arg.starts_with("--")) Fail("opção desconhecida: " + arg);
    else o.corpus.push_back(arg);
  }
  if (o.output.empty() || o.translator.empty() || o.orvia.empty())
    Fail("uso: build_units --output PASTA --translator PASTA --orvia PASTA [--voice br4] "
         "[--levels 1-5] [--manifest ARQUIVO] [--config TOLVAN.INI] CORPUS...");
  return o;
}

// ---- unit names, as the synthesizer looks them up

struct Collector {
  std::set<std::string> names;
};

// Found are the names the database can hold and the voice can say; the others make the
// synthesizer fall back to shorter names, which are then collected in their turn.
bool CollectName(void* context, std::string_view name) {
  if (!name.starts_with('$')) return true;  // recorded sounds live in the letters folder
  std::vector<unitplan::Phone> phones;
  if (name.size() > kMaxName || !unitplan::UnitPhones(name, phones)) return false;
  static_cast<Collector*>(context)->names.emplace(name);
  return true;
}

void SpeakLine(const std::string& utf8) {
  synth::SpeakPhonetic(translator::TranslateToPhonetic(platform::Utf8ToCp1252(utf8)), false);
}

std::set<std::string> CollectNames(const Options& o) {
  Collector collector;
  synth::SetUnitObserver({.context = &collector, .Collect = CollectName});
  for (const std::string& file : o.corpus) {
    std::ifstream in(file, std::ios::binary);
    if (!in) Fail("corpus não encontrado: " + file);
    for (std::string line; std::getline(in, line);) SpeakLine(line);
  }
  // The texts of the recordings: number, clock and key words; and every character's name.
  if (!o.manifest.empty()) {
    std::ifstream in(o.manifest, std::ios::binary);
    if (!in) Fail("manifesto não encontrado: " + o.manifest);
    for (std::string line; std::getline(in, line);) {
      const size_t equals = line.find('=');
      if (!line.starts_with(';') && equals != std::string::npos)
        synth::SpeakPhonetic(translator::TranslateToPhonetic(line.substr(equals + 1)), false);
    }
  }
  for (int code = 0; code < 256; ++code)
    synth::SpeakPhonetic(translator::TranslateToPhonetic(uttsPreproc::CharName(static_cast<unsigned char>(code))), false);
  synth::SetUnitObserver({});
  return collector.names;
}

// ---- rendering

std::string VoicePath(const std::string& voice) {
  if (voice.find('/') != std::string::npos) return voice;
  std::string path;
  if (!minireg::ReadRegistryString(minireg::kLocalMachine, std::string(minireg::kMbrolaDatabases) + voice + "\\", path))
    Fail("voz do MBROLA não instalada: " + voice);
  return path;
}

soundtools::Signal Render(const std::string& lines) {
  const mbrola::EntryPoints& m = mbrola::Mbrola();
  if (m.write_MBR(lines.c_str()) < 0 || m.flush_MBR() < 0) {
    char why[256];
    m.lastErrorStr_MBR(why, sizeof why);
    Fail(std::string("MBROLA falhou: ") + platform::Cp1252ToUtf8(why));
  }
  std::vector<int16_t> samples;
  int16_t chunk[8192];
  for (int got; (got = m.read_MBR(chunk, 8192)) > 0;) samples.insert(samples.end(), chunk, chunk + got);
  return soundtools::FromInt16(samples.data(), samples.size());
}

// The unstressed cut of a level and the length it leaves at least, as the front-end reads
// them; none without a configuration.
struct LevelCut {
  size_t cut = 0, minimum = 0;
};

LevelCut ReadLevelCut(const std::string& config, int level) {
  if (config.empty()) return {};
  auto read = [&](const char* key) {
    const std::string value = platform::GetProfileString("SINTETIZADOR", key + std::to_string(level), "", 256, config);
    return static_cast<size_t>(std::max<int64_t>(0, platform::ParseLeadingNumber(value).value));
  };
  return {read("CORTEFON"), read("SOBRAFON")};
}

struct LevelReport {
  size_t bytes = 0;
  int missingPairs = 0;
  std::string lacking;    // the units rendered across a pair the voice lacks
  int badEdges = 0;       // units whose first or last sample is not near silence
  float quietest = 1e9f;  // vowel loudness after levelling, in dB of full scale
  float loudest = -1e9f;
};

void BuildLevel(int level, const std::vector<std::string>& names, const Options& o, int hertz,
                int voiceRate) {
  const auto start = std::chrono::steady_clock::now();
  // A fresh MBROLA for each level: its sound does not depend on the levels built before it.
  const mbrola::EntryPoints& m = mbrola::Mbrola();
  m.close_MBR();
  if (m.init_MBR(VoicePath(o.voice).c_str()) < 0) Fail("a voz não pôde ser carregada: " + o.voice);
  const std::string base = "DIFONES" + std::to_string(level);
  const soundtools::Resampler resampler(voiceRate, unitshape::kUnitRate);
  std::vector<unitshape::ShapedUnit> shaped;
  LevelReport report;
  for (size_t i = 0; i < names.size(); ++i) {
    unitplan::Plan plan;
    unitplan::PlanUnit(names[i], kLevelScale[level - 1], plan);
    report.missingPairs += plan.missingPairs;
    if (plan.missingPairs > 0) report.lacking += " " + names[i];
    shaped.push_back(unitshape::ShapeUnit(plan, Render(unitplan::PhoLines(plan, hertz)), resampler));
  }
  // The synthesizer cuts units of more than two characters that are not stressed.
  const LevelCut cut = ReadLevelCut(o.config, level);
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i].size() > 2) unitshape::AlignCut(shaped[i].samples, cut.cut, cut.minimum);
  const std::vector<float> gains = unitshape::LevelGains(shaped, kPeakTarget);
  unitfiles::Units units;
  for (size_t i = 0; i < names.size(); ++i) {
    std::vector<uint8_t> bytes = soundtools::ToUnsigned8(shaped[i].samples, gains[i]);
    if (!bytes.empty() && (std::abs(bytes.front() - 128) > 2 || std::abs(bytes.back() - 128) > 2))
      ++report.badEdges;
    if (shaped[i].nucleusRms > 0) {
      const float db = 20 * std::log10(shaped[i].nucleusRms * gains[i]);
      report.quietest = std::min(report.quietest, db);
      report.loudest = std::max(report.loudest, db);
    }
    report.bytes += bytes.size();
    units.emplace(names[i], std::move(bytes));
  }
  std::string error;
  if (!unitfiles::WriteUnitFiles(platform::JoinPath(o.output, base), units, error)) Fail(error);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  printf("%s: %zu unidades, %zu bytes (%.1f s de som), vogais de %.1f a %.1f dB, "
         "%d bordas fora do silêncio, %d pares ausentes na voz (%s); %.1f s\n",
         base.c_str(), names.size(), report.bytes, report.bytes / 11025.0, report.quietest,
         report.loudest, report.badEdges, report.missingPairs, report.lacking.c_str() + !report.lacking.empty(),
         seconds);
  fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  Options o = ParseOptions(argc, argv);
  const auto start = std::chrono::steady_clock::now();
  synth::StartSynth();
  translator::StartTranslator();
  if (!translator::LoadTranslatorFiles(o.translator)) Fail("regras do tradutor não encontradas em " + o.translator);
  uttsProsodia::StartProsodia();
  if (!uttsProsodia::LoadProsody(platform::JoinPath(o.orvia, "portug.pro")) ||
      !uttsProsodia::LoadDiphoneList(platform::JoinPath(o.orvia, "portug.dfn")))
    Fail("prosódia ou lista de difones do ORVIA não encontrada em " + o.orvia);
  // Another voice than br4: its names, pitch and diphone list, from the voice table beside.
  const uttsVoices::Voice* voice = nullptr;
  if (uttsVoices::LoadVoices(platform::JoinPath(o.orvia, "portug.voz")).empty())
    voice = uttsVoices::FindVoice(o.voice);
  if (voice) {
    const std::string failure =
        uttsVoices::UseVoice(*voice, o.orvia, platform::JoinPath(o.orvia, "portug.dfn"));
    if (!failure.empty()) Fail(platform::Cp1252ToUtf8(failure));
  }
  const int voiceRate = voice ? voice->rate : unitshape::kVoiceRate;
  if (voice && o.voice.find('/') == std::string::npos) o.voice = voice->name;  // an alias
  printf("coletando os nomes das unidades...\n");
  fflush(stdout);
  const std::set<std::string> collected = CollectNames(o);
  const std::vector<std::string> names(collected.begin(), collected.end());
  printf("%zu nomes de unidades coletados em %.1f s\n", names.size(),
         std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  fflush(stdout);

  minireg::StartMinireg();
  if (!mbrola::MbrolaBind()) Fail("programa mbrola não encontrado");
  // The neutral pitch: the middle of ORVIA's pitch table.
  const int hertz = uttsProsodia::HertzBase() * uttsProsodia::HertzPercent(5) / 100;
  for (int level = o.firstLevel; level <= o.lastLevel; ++level) BuildLevel(level, names, o, hertz, voiceRate);
  mbrola::Mbrola().close_MBR();
  return 0;
}
