// TIRLA: F12 in the line editor opens the word under the cursor with the configured program
// or the desktop's opener, as one argument that nothing else can come out of.
#include <string>
#include <vector>

#include "../opener_fixture.h"
#include "frontend_fixture.h"

namespace {

using Argv = std::vector<std::string>;

class OpenLinkTest : public frontend_test::FrontEndTest {
 protected:
  OpenLinkTest() { extraIni_ = "PROG.PDF=" + openers_.Fake("leitor-pdf") + "\n"; }
  opener_test::FakeOpeners openers_;
};

TEST_F(OpenLinkTest, TheWordUnderTheCursorIsOpenedWhole) {
  const std::string marker = (openers_.Folder() / "ran").string();
  struct Case {
    std::string text;
    const char* keys;  // F12 where the cursor stands
    Argv run;          // what was started; none: a beep
  };
  const Case cases[] = {
      {"veja (http://ex.com/a;b$(touch " + marker + ")). fim", "{C-Right}{F12}{Enter}",
       {"xdg-open", "http://ex.com/a;b$(touch"}},
      {"<www.exemplo.com.br>", "{End}{F12}{Enter}", {"xdg-open", "http://www.exemplo.com.br"}},
      {"ler \"o texto.pdf\"", "{End}{Left}{F12}{Enter}", {"leitor-pdf", "texto.pdf"}},
      {"--rf", "{F12}{Enter}", {"xdg-open", "rf"}},
      {"`id`;'x'", "{F12}{Enter}", {"xdg-open", "`id`;'x'"}},
      {"setup.exe", "{F12}{Enter}", {"xdg-open", "setup.exe"}},  // never run as a program
      {"a  ...  b", "{Right}{Right}{Right}{F12}{Enter}", {}},
  };
  size_t started = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Keys(c.keys);
    std::string text = c.text;
    frontend::EditLine(text, 1, 1, true, 78, 255);
    const std::vector<std::string> played = Played();
    if (c.run.empty()) {
      EXPECT_EQ(played.back(), "beep");
      continue;
    }
    const auto runs = openers_.Runs(++started);
    ASSERT_EQ(runs.size(), started);
    EXPECT_EQ(runs.back(), c.run);
  }
  EXPECT_FALSE(std::filesystem::exists(marker));
}

}  // namespace
