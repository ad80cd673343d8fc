// TIRLA: ORVIA text stages in order, from text to the lines written to MBROLA.
#pragma once
#include <string>
#include <vector>

namespace uttsPortug {

// The five text data files, full paths.
struct TextDataFiles {
  std::string rules;          // letter-to-sound rules (.nrl)
  std::string exceptions;     // exceptions dictionary (.exc)
  std::string abbreviations;  // abbreviations (.abr)
  std::string prosody;        // prosody (.pro)
  std::string diphones;       // diphone list (.dfn)
};

// The files of `base` ("portug") in `folder`: folder/base.nrl and so on.
TextDataFiles DataFilesIn(const std::string& folder, const std::string& base = "portug");

// The normalisation file that goes with an abbreviations file: the same folder and name,
// ending in ".nrm" (portug.abr, portug.nrm). Being optional, it is not one of the five.
std::string NormalFileFor(const std::string& abbreviations);

// Puts every text stage in its start state: no rules, exceptions, abbreviations,
// normalisation data, prosody or diphone list; the default punctuation. Then LoadTextData.
void StartTextStages();

// Releases the old rules and diphone list and loads the five files in the engine's order.
// Empty result on success, else the engine's Portuguese message (cp1252) for the first
// failing step: "Erro na base de dados de português", "Erro no arquivo de abreviaturas",
// "Erro no arquivo de prosódia".
std::string LoadTextData(const TextDataFiles& files);

// Where a piece of text stands in the text it comes from. A text read as it arrives is cut
// after its sentences; its parts together give the lines the whole text gives: only the first
// opens with a phrase start, only the last closes with the final pause.
struct PlaceInText {
  bool first = true;
  bool last = true;
};

// Runs the text stages on a cp1252 text: normalisation, preprocessing, tokens, pitch patterns, phoneme
// list, durations and pitch. The result holds the lines for MBROLA, without line ends.
std::vector<std::string> TextToMbrolaLines(const std::string& text, double durationFactor,
                                           double pitchFactor, PlaceInText place = {});

}  // namespace uttsPortug
