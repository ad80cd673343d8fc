// TIRLA: fonetica, prints the phonetic text of each line of standard input.
// Usage: fonetica [folder]. Without a folder the rules and exceptions are read from the unit
// directory that the synthesizer uses: [TRADUTOR] DIRDIFONES of TOLVAN.INI, or the shared one.
#include <cstdio>
#include <iostream>
#include <string>

#include "diphone/translator.h"
#include "platform/codepage.h"
#include "platform/folders.h"
#include "platform/settings.h"

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? std::string(argv[1]) : platform::UnitsFolder();
  translator::StartTranslator();
  const std::string rules = platform::JoinPath(folder, translator::kRulesFileName);
  if (!translator::LoadRules(rules)) {
    std::cerr << "fonetica: não foi possível abrir o arquivo de regras "
              << rules << "\n";
    return 2;
  }
  const std::string exceptions = platform::JoinPath(folder, translator::kExceptionsFileName);
  if (!translator::LoadExceptions(exceptions)) {
    std::cerr << "fonetica: não foi possível abrir o arquivo de exceções "
              << exceptions << "\n";
    return 2;
  }
  std::ios::sync_with_stdio(false);
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::cout << platform::Cp1252ToUtf8(
                     translator::TranslateToPhonetic(platform::Utf8ToCp1252(line)))
              << '\n';
  }
  translator::FreeRules();
  return 0;
}
