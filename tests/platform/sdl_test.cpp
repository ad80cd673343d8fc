// TIRLA: the console on the real SDL backend (offscreen driver): keys in, cells and pixels out.
#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "console/console.h"
#include "console/keyboard.h"
#include "platform/messages.h"
#include "platform/sdl/video_sdl.h"
#include "support/test_kit.h"

namespace {

void PushKey(SDL_Keycode key, Uint16 mod, const char* text) {
  SDL_Event down{};
  down.type = SDL_KEYDOWN;
  down.key.state = SDL_PRESSED;
  down.key.keysym.sym = key;
  down.key.keysym.mod = mod;
  SDL_PushEvent(&down);
  if (text) {
    SDL_Event input{};
    input.type = SDL_TEXTINPUT;
    std::strncpy(input.text.text, text, sizeof input.text.text - 1);
    SDL_PushEvent(&input);
  }
  SDL_Event up = down;
  up.type = SDL_KEYUP;
  up.key.state = SDL_RELEASED;
  SDL_PushEvent(&up);
}

class SdlConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    dir_ = support::TestScratch();
    setenv("TOLVAN_WINDIR", dir_.c_str(), 1);
    std::ofstream(dir_ / "TOLVAN.INI")
        << "[VIDEO]\nCORFUNDO=1\nCORLETRA=14\nFONTE=DejaVu Sans Mono\n"
           "LARGURALETRA=12\nALTURALETRA=24\n";
    platform::ResetMessages();
    console::StartConsole();
    console::UseVideoDriver(platform::SdlVideoDriver());
  }

  void TearDown() override {
    platform::SdlVideoDriver().display->DestroyWindow();
    console::StartConsole();
  }

  std::filesystem::path dir_;
};

TEST_F(SdlConsoleTest, TypedKeysComeBackAsCellsAndYellowOnBluePixels) {
  console::SetWindowTitle("TIRLA");
  console::ConsoleWrite("Ola ");
  ASSERT_TRUE(console::ConsoleOpen());

  PushKey(SDLK_o, KMOD_NONE, "o");
  PushKey(SDLK_k, KMOD_NONE, "k");
  PushKey(SDLK_UP, KMOD_NONE, nullptr);  // 0 ignored, then 72 taken as 'H'
  PushKey(SDLK_BACKSPACE, KMOD_NONE, nullptr);
  PushKey(SDLK_a, KMOD_NONE, "\xC3\xA7");  // a UTF-8 ç arrives as cp1252
  PushKey(SDLK_RETURN, KMOD_NONE, nullptr);
  char line[128];
  const uint16_t count = console::ReadConsoleLine(line, sizeof line);
  EXPECT_EQ(std::string(line, count), "ok\xE7\r\n");
  EXPECT_EQ(console::ScreenChar(5, 1), 'o');
  EXPECT_EQ(console::ScreenChar(7, 1), static_cast<uint8_t>(0xE7));
  EXPECT_EQ(console::CursorRow(), 2);

  // Row 2 is blank: pure blue. The 'O' of row 1 has yellow glyph pixels on blue.
  platform::Rgb pixel;
  ASSERT_TRUE(platform::SdlWindowPixel(6, 24 + 12, &pixel));
  EXPECT_EQ(pixel, (platform::Rgb{0, 0, 255}));
  int yellow = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 12; ++x)
      if (platform::SdlWindowPixel(x, y, &pixel) && pixel == platform::Rgb{255, 255, 0}) ++yellow;
  EXPECT_GT(yellow, 5);
}

TEST_F(SdlConsoleTest, ControlKeysAndPostedMessagesThroughSdlEvents) {
  console::OpenConsole();
  PushKey(SDLK_RETURN, KMOD_LCTRL, nullptr);
  PushKey(SDLK_BACKSPACE, KMOD_LCTRL, nullptr);
  PushKey(SDLK_INSERT, KMOD_LSHIFT, nullptr);
  PushKey(SDLK_F5, KMOD_LCTRL, nullptr);
  PushKey(SDLK_c, KMOD_LCTRL, nullptr);
  PushKey(SDLK_BACKSLASH, KMOD_LCTRL, nullptr);  // the editor's dial
  PushKey(SDLK_a, KMOD_LALT, "a");  // a system key: nothing
  std::string codes;
  while (console::KeyWaiting()) codes += static_cast<char>(console::ReadKeyCode());
  EXPECT_EQ(codes, std::string("\x0A\x7F\x00\xFE\x00\x62\x03\x1C", 8));

  // A message posted from another thread wakes a blocking wait on the window.
  std::thread poster([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    platform::PostMessage(platform::kWakeUpEngine);
  });
  console::WaitMessage();
  poster.join();
  EXPECT_TRUE(platform::HasPostedMessage());
  console::PumpThreadMessages();
  EXPECT_FALSE(platform::HasPostedMessage());
}

TEST_F(SdlConsoleTest, ClipboardCarriesCp1252Text) {
  console::OpenConsole();
  console::CopyToClipboard("a\xE7\xE3o");
  char buffer[16];
  console::PasteFromClipboard(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "a\xE7\xE3o");
  char* utf8 = SDL_GetClipboardText();
  EXPECT_STREQ(utf8, "ação");
  SDL_free(utf8);
}

TEST(SdlConsoleDeathTest, NoDisplayEndsWithCodeOneAndAPortugueseMessage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("SDL_VIDEODRIVER", "nenhum", 1);
        console::StartConsole();
        console::UseVideoDriver(platform::SdlVideoDriver());
        console::ConsoleWrite("x");
      },
      ::testing::ExitedWithCode(1), "tirla: não foi possível abrir a janela: ");
  // No driver named and no display: SDL's invisible fallback is not taken for a window.
  EXPECT_EXIT(
      {
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        console::StartConsole();
        console::UseVideoDriver(platform::SdlVideoDriver());
        console::ConsoleWrite("x");
      },
      ::testing::ExitedWithCode(1), "nenhuma tela");
}

}  // namespace
