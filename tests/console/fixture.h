// TIRLA: a clean console on the in-memory backend, with its own TOLVAN.INI.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "console/console.h"
#include "console/keyboard.h"
#include "platform/messages.h"
#include "platform/memory/video_memory.h"
#include "support/test_kit.h"

namespace console_test {

using support::ExitCodeOf;

class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = support::TestScratch();
    setenv("TOLVAN_WINDIR", dir_.c_str(), 1);
    WriteIni("");
    platform::ResetMessages();
    platform::ResetMemoryVideo();
    console::StartConsole();
    console::UseVideoDriver(platform::MemoryVideoDriver());
  }

  void TearDown() override {
    platform::SetMessageHandler(platform::kWaveBlockDone, nullptr);
  }

  // Replaces TOLVAN.INI with `text`.
  void WriteIni(const std::string& text) {
    std::ofstream(dir_ / "TOLVAN.INI", std::ios::binary) << text;
  }

  static platform::MemoryVideoState& Video() { return platform::MemoryVideo(); }

  // Every key code queued, read out.
  static std::string DrainKeys() {
    std::string codes;
    while (console::KeyWaiting()) codes += static_cast<char>(console::ReadKeyCode());
    return codes;
  }

  // Text of a 1-based screen row, as the console holds it.
  static std::string ScreenRow(int row) {
    std::string text;
    for (int c = 1; c <= console::ScreenSize().Columns; ++c)
      text += static_cast<char>(console::ScreenChar(c, row));
    return text;
  }

  std::filesystem::path dir_;
};

inline std::string Bytes(std::initializer_list<int> codes) {
  std::string text;
  for (int c : codes) text += static_cast<char>(c);
  return text;
}

}  // namespace console_test
