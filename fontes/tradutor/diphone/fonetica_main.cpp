// TIRLA: fonetica, prints the phonetic text of each line of standard input.
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

#include "diphone/translator.h"
#include "platform/codepage.h"
#include "platform/datafile.h"
#include "platform/folders.h"
#include "platform/report.h"
#include "platform/settings.h"

namespace {

constexpr size_t kLongestLine = 1u << 20;  // bytes of a line translated at once

const char* const kUsage =
    "Uso: fonetica [PASTA]\n"
    "Escreve a transcrição fonética de cada linha da entrada padrão (UTF-8 ou Windows-1252).\n"
    "As regras (regras.rgr) e as exceções (portug.exc) vêm de PASTA; sem ela, da pasta das\n"
    "unidades do sintetizador ([TRADUTOR] DIRDIFONES de TOLVAN.INI, ou a pasta instalada).\n";

// Loads one of the translator's files; false (said on standard error) when it cannot be read.
bool Load(bool (*loader)(const std::string&), const std::string& path, const char* what) {
  if (loader(path)) return true;
  const std::string why = platform::DataFileProblem(path);
  platform::Report(platform::Severity::kError,
                   platform::Utf8ToCp1252(std::string("não foi possível abrir o arquivo de ") +
                                          what + " " + path) +
                       (why.empty() ? "" : ": " + why));
  return false;
}

// One line of standard input without its end; a line longer than kLongestLine comes in
// pieces of that length, so that input without line ends (a device) cannot fill the memory.
bool ReadLine(std::string& line) {
  line.clear();
  for (int c; line.size() < kLongestLine && (c = std::cin.get()) != EOF;) {
    if (c == '\n') return true;
    line += static_cast<char>(c);
  }
  return !line.empty();
}

}  // namespace

int main(int argc, char** argv) {
  platform::SetReportProgram("fonetica");
  if (argc > 1 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  const std::string folder = argc > 1 ? std::string(argv[1]) : platform::UnitsFolder();
  translator::StartTranslator();
  if (!Load(translator::LoadRules, platform::JoinPath(folder, translator::kRulesFileName),
            "regras") ||
      !Load(translator::LoadExceptions,
            platform::JoinPath(folder, translator::kExceptionsFileName), "exceções"))
    return 2;
  std::ios::sync_with_stdio(false);
  std::string line;
  while (ReadLine(line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::cout << platform::Cp1252ToUtf8(
                     translator::TranslateToPhonetic(platform::Utf8ToCp1252(line)))
              << '\n';
  }
  translator::FreeRules();
  return 0;
}
