// TIRLA: ORVIA text stages in order, from text to the lines written to MBROLA.
#include "orvia/text/uttsPortugStages.h"

#include <filesystem>

#include "orvia/text/uttsNormal.h"
#include "orvia/text/uttsPortug.h"
#include "orvia/text/uttsPortugCase.h"
#include "orvia/text/uttsPreproc.h"
#include "orvia/text/uttsProsodia.h"
#include "platform/codepage.h"
#include "platform/datafile.h"
#include "platform/folders.h"
#include "platform/report.h"

namespace uttsPortug {

constexpr size_t kMaxCommentLength = 80;  // bytes of a comment line written to MBROLA
constexpr const char* kNormalExtension = ".nrm";  // normalisation file beside the .abr

std::string NormalFileFor(const std::string& abbreviations) {
  std::filesystem::path path(abbreviations);
  return platform::FindFileNoCase(path.parent_path().string(),
                                  path.stem().string() + kNormalExtension);
}

TextDataFiles DataFilesIn(const std::string& folder, const std::string& base) {
  auto file = [&](const char* extension) {
    return platform::FindFileNoCase(folder, base + extension);
  };
  return {file(".nrl"), file(".exc"), file(".abr"), file(".pro"), file(".dfn")};
}

namespace {

// Loads one file; false, with a report that names the file and why, when it fails.
bool Load(bool (*loader)(const std::string&), const std::string& file) {
  if (loader(file)) return true;
  const std::string why = platform::DataFileProblem(file);
  platform::Report(platform::Severity::kError,
                   "arquivo de dados " + platform::Utf8ToCp1252(file) + ": " +
                       (why.empty() ? "n\xE3o p\xF4" "de ser lido por inteiro" : why));
  return false;
}

}  // namespace

void StartTextStages() {
  StartPortug();
  uttsPreproc::StartPreproc();
  uttsNormal::StartNormal();
  uttsProsodia::StartProsodia();
}

std::string LoadTextData(const TextDataFiles& files) {
  ReleaseRules();
  uttsProsodia::ReleaseDiphoneList();
  if (!Load(LoadRules, files.rules) || !Load(LoadExceptions, files.exceptions))
    return "Erro na base de dados de portugu\xEAs";
  if (!Load(uttsPreproc::LoadAbbreviations, files.abbreviations))
    return "Erro no arquivo de abreviaturas";
  uttsNormal::LoadNormalData(NormalFileFor(files.abbreviations));
  if (!Load(uttsProsodia::LoadProsody, files.prosody) ||
      !Load(uttsProsodia::LoadDiphoneList, files.diphones))
    return "Erro no arquivo de pros\xF3" "dia";
  return {};
}

std::vector<std::string> TextToMbrolaLines(const std::string& text, double durationFactor,
                                           double pitchFactor, PlaceInText place) {
  if (Trim(text).empty()) {
    // the last part of a text that ended on a cut brings only the final pause
    if (place.first || !place.last) return {};
    // (it carries no pitch point: in a whole text a phoneme of its phrase has one already)
    Lines pauses = uttsProsodia::ApplyProsody(Lines(2, kClosingPause), durationFactor, pitchFactor);
    return Lines{pauses.back()};
  }
  const std::string normal = uttsNormal::NormalizeText(text);
  const bool wholeText = place.first && place.last;
  Lines lines = uttsProsodia::Tokenize(wholeText ? uttsPreproc::PreprocessText(normal)
                                                 : uttsPreproc::PreprocessWords(normal));
  lines = uttsProsodia::AssignPatterns(std::move(lines), true);
  lines = BuildPhonemeList(lines, place.last);
  // the phrase start of a later part was the end of the part before it
  if (!place.first) lines.erase(lines.begin(), lines.begin() + std::min<size_t>(kPhraseStartLines, lines.size()));
  lines = uttsProsodia::ApplyProsody(std::move(lines), durationFactor, pitchFactor);
  // MBROLA reads lines into a buffer of its own and takes what overflows it, or what follows
  // a control character, for a phoneme: comments are cut and cleaned.
  for (std::string& line : lines) {
    if (line.empty() || line[0] != ';') continue;
    if (line.size() > kMaxCommentLength) line.resize(kMaxCommentLength);
    for (char& c : line)
      if (static_cast<unsigned char>(c) < ' ') c = ' ';
  }
  return lines;
}

}  // namespace uttsPortug
