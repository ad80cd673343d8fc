// TIRLA: tests of ORVIA's data files that are there but cannot be read: a folder in a data
// file's place is refused by its loader, and the engine's load names the file and says why.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "orvia/text/uttsPortug.h"
#include "orvia/text/uttsPortugStages.h"
#include "orvia/text/uttsPreproc.h"
#include "orvia/text/uttsProsodia.h"
#include "orvia_test_files.h"
#include "platform/codepage.h"
#include "support/test_kit.h"

namespace {

namespace fs = std::filesystem;

TEST(UnreadableDataFiles, AFolderInPlaceOfAnyFileFailsTheLoadAndIsNamed) {
  const struct {
    const char* ext;
    bool (*loader)(const std::string&);
    const char* message;  // of the engine's load
  } cases[] = {
      {".nrl", uttsPortug::LoadRules, "Erro na base de dados de português"},
      {".exc", uttsPortug::LoadExceptions, "Erro na base de dados de português"},
      {".abr", uttsPreproc::LoadAbbreviations, "Erro no arquivo de abreviaturas"},
      {".pro", uttsProsodia::LoadProsody, "Erro no arquivo de prosódia"},
      {".dfn", uttsProsodia::LoadDiphoneList, "Erro no arquivo de prosódia"},
  };
  const fs::path folder = support::TestScratch() / "pastas";
  support::KeptReports reports;
  for (const auto& c : cases) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const std::string ext : {".nrl", ".exc", ".abr", ".pro", ".dfn"})
      fs::copy_file(orvia_test::DataFolder() + "/portug" + ext, folder / ("portug" + ext));
    const fs::path spoiled = folder / ("portug" + std::string(c.ext));
    fs::remove(spoiled);
    fs::create_directory(spoiled);
    EXPECT_FALSE(c.loader(spoiled.string())) << c.ext;
    reports.Clear();
    EXPECT_EQ(uttsPortug::LoadTextData(uttsPortug::DataFilesIn(folder.string())),
              platform::Utf8ToCp1252(c.message))
        << c.ext;
    const std::string named = spoiled.string() + ": " + platform::Utf8ToCp1252("é uma pasta");
    EXPECT_TRUE(reports.Mention(named)) << c.ext;
  }
}

}  // namespace
