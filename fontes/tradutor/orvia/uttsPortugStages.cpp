// TIRLA: ORVIA text stages in order, from text to the lines written to MBROLA.
#include "orvia/uttsPortugStages.h"

#include <filesystem>

#include "orvia/uttsNormal.h"
#include "orvia/uttsPortug.h"
#include "orvia/uttsPortugCase.h"
#include "orvia/uttsPreproc.h"
#include "orvia/uttsProsodia.h"
#include "platform/folders.h"

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

std::string LoadTextData(const TextDataFiles& files) {
  ReleaseRules();
  uttsProsodia::ReleaseDiphoneList();
  if (!LoadRules(files.rules) || !LoadExceptions(files.exceptions))
    return "Erro na base de dados de portugu\xEAs";
  if (!uttsPreproc::LoadAbbreviations(files.abbreviations))
    return "Erro no arquivo de abreviaturas";
  uttsNormal::LoadNormalData(NormalFileFor(files.abbreviations));
  if (!uttsProsodia::LoadProsody(files.prosody) || !uttsProsodia::LoadDiphoneList(files.diphones))
    return "Erro no arquivo de pros\xF3" "dia";
  return {};
}

std::vector<std::string> TextToMbrolaLines(const std::string& text, double durationFactor,
                                           double pitchFactor) {
  if (Trim(text).empty()) return {};
  Lines lines =
      uttsProsodia::Tokenize(uttsPreproc::PreprocessText(uttsNormal::NormalizeText(text)));
  lines = uttsProsodia::AssignPatterns(std::move(lines), true);
  lines = BuildPhonemeList(lines);
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
