// TIRLA: the orvia program: ORVIA from the command line.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "orvia/uttsPortug.h"
#include "orvia/uttsPortugStages.h"
#include "orvia/uttsPreproc.h"
#include "orvia/uttsProsodia.h"
#include "platform/codepage.h"
#include "platform/folders.h"
#include "platform/profile.h"

namespace {

constexpr size_t kProfileValueSize = 256;  // like the engine's configuration buffers

const char* const kUsage =
    "Uso: orvia [opções] [TEXTO...]\n"
    "  --pho         escreve as linhas que o ORVIA entrega ao MBROLA, sem falar\n"
    "  --dados PASTA lê os arquivos de dados (portug.nrl, .exc, .abr, .pro, .dfn) de PASTA\n"
    "  --help        mostra esta ajuda\n"
    "Sem TEXTO, o texto vem da entrada padrão (UTF-8).\n";

struct Options {
  bool pho = false;              // print the MBROLA lines instead of speaking
  std::string dataFolder;        // empty: [ORVIATTS] DIR, else the shared data folder
  std::vector<std::string> text; // words of the text, UTF-8
};

// The data folder the engine uses: [ORVIATTS] DIR of TOLVAN.INI, else share/tolvan/orviatts.
std::string DefaultDataFolder() {
  std::string dir = platform::GetProfileString("ORVIATTS", "DIR", "", kProfileValueSize, "TOLVAN.INI");
  if (!dir.empty()) return platform::SlashPath(dir);
  return platform::SharedDataPath("orviatts");
}

std::string BaseName() {
  std::string base = platform::GetProfileString("ORVIATTS", "BASE", "", kProfileValueSize, "TOLVAN.INI");
  return base.empty() ? "portug" : base;
}

// Parses the arguments; false (with a message) on a bad one.
bool ParseArguments(int argc, char** argv, Options& options, bool& help) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--pho") {
      options.pho = true;
    } else if (arg == "--dados" || arg == "-d") {
      if (i + 1 >= argc) {
        std::cerr << "orvia: falta o nome da pasta depois de " << arg << "\n";
        return false;
      }
      options.dataFolder = argv[++i];
    } else if (arg == "--help" || arg == "-h") {
      help = true;
    } else if (arg == "--") {
      for (++i; i < argc; ++i) options.text.push_back(argv[i]);
    } else if (arg.size() > 1 && arg[0] == '-' && options.text.empty()) {
      std::cerr << "orvia: opção desconhecida: " << arg << "\n" << kUsage;
      return false;
    } else {
      options.text.push_back(arg);
    }
  }
  return true;
}

std::string TextOf(const Options& options) {
  if (options.text.empty()) {
    return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  std::string joined;
  for (const std::string& word : options.text) {
    if (!joined.empty()) joined += ' ';
    joined += word;
  }
  return joined;
}

int PrintPho(const std::string& cp1252Text) {
  std::string out;
  for (const std::string& line : uttsPortug::TextToMbrolaLines(cp1252Text, 1.0, 1.0)) {
    out += platform::Cp1252ToUtf8(line);
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  bool help = false;
  if (!ParseArguments(argc, argv, options, help)) return 2;
  if (help) {
    std::cout << kUsage;
    return 0;
  }
  if (!options.pho) {
    std::cerr << "orvia: esta versão só escreve as linhas para o MBROLA; use --pho\n";
    return 2;
  }
  uttsPortug::StartPortug();
  uttsPreproc::StartPreproc();
  uttsProsodia::StartProsodia();
  std::string folder = options.dataFolder.empty() ? DefaultDataFolder() : options.dataFolder;
  std::string failure = uttsPortug::LoadTextData(uttsPortug::DataFilesIn(folder, BaseName()));
  if (!failure.empty()) {
    std::cerr << "orvia: " << platform::Cp1252ToUtf8(failure) << " (pasta de dados: " << folder
              << ")\n";
    return 1;
  }
  return PrintPho(platform::Utf8ToCp1252(TextOf(options)));
}
