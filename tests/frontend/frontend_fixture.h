// TIRLA: the front-end on the in-memory window and sound device, with recordings that say
// their own name ("#<name>#" as samples) so the played blocks tell what was heard, and key
// scripts typed one key at a time, as a person types.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/keyboard.h"
#include "diphone/synth.h"
#include "diphone/waveout.h"
#include "frontend/config.h"
#include "frontend/editor.h"
#include "frontend/review.h"
#include "frontend/speech.h"
#include "platform/audio/pcm.h"
#include "platform/keys.h"
#include "platform/memory/braille_memory.h"
#include "platform/memory/video_memory.h"
#include "platform/messages.h"
#include "platform/wav.h"
#include "support/test_kit.h"

namespace frontend_test {

namespace fs = std::filesystem;

class FrontEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = support::TestScratch();
    fs::create_directories(dir_ / "letras");
    fs::create_directories(dir_ / "difones");
    for (const char* file : {"regras.rgr", "portug.exc"})
      fs::copy_file(fs::path(TIRLA_SOURCE_DIR) / "data/diphone" / file, dir_ / "difones" / file);
    // no units (one nameless entry, never looked up): phrases give noise or nothing
    std::ofstream(dir_ / "difones/DIFONES3.IND") << std::string(15, '\0');
    std::ofstream(dir_ / "difones/DIFONES3.DIF");
    for (int code = 0; code < 256; ++code) Record("_" + std::to_string(code));
    for (const char* name :
         {"_DEL", "_FALACI", "_FALDLG", "_VELOC", "_APFCPO", "_APICPO", "_CPOAPA", "_FON97",
          "_um", "_cinco", "_MENOS", "_doze", "_dez", "_hora", "_horas", "_de", "dtmf_0", "dtmf_1",
          "dtmf_5", "dtmf_X", "dtmf_#"})
      Record(name);
    std::ofstream ini(dir_ / "TOLVAN.INI");
    ini << "[TRADUTOR]\nDIRDIFONES=" << (dir_ / "difones").string()
        << "\ndirLetras=" << (dir_ / "letras").string() << "\n[SINTETIZADOR]\n";
    for (int speed = 1; speed <= 5; ++speed)
      ini << "DIFONES" << speed << "=DIFONES3\nINTERPAL" << speed << "=0\n";
    ini << "[TOLVAN]\n" << extraIni_;
    ini.close();
    const char* saved = getenv("TOLVAN_WINDIR");
    saved_ = saved ? saved : "";
    setenv("TOLVAN_WINDIR", dir_.c_str(), 1);
    platform::ResetMessages();
    platform::ResetMemoryVideo();
    console::StartConsole();
    console::UseVideoDriver(platform::MemoryVideoDriver());
    console::SetScreenSize({.Columns = 80, .Rows = rows_});
    console::OpenConsole();
    platform::PcmUseMemoryDevice(true);
    waveout::StartWaveOut();
    synth::StartSynth();
    frontend::StartConfig();
    frontend::StartFrontEnd();
    frontend::StartEditor();
    frontend::StartReview();
    frontend::StartSpeech(3, "");
    platform::MemoryVideo().on_wait = [this] { NextKey(); };
    Played();
  }
  void TearDown() override {
    platform::MemoryVideo().on_wait = nullptr;
    frontend::EndSpeech();
    platform::PcmUseMemoryDevice(false);
    setenv("TOLVAN_WINDIR", saved_.c_str(), 1);
  }

  void Record(const std::string& name) {
    std::string said = name[0] == '_' ? name.substr(1) : name;
    if (said.back() == '#') said.back() = 'H';  // '#' marks the name's ends
    std::ofstream(dir_ / "letras" / (name + ".wav"), std::ios::binary)
        << platform::MakeWavImage(11025, 8, 1, "#" + said + "#.");  // the device silences
                                                                   // the last byte
  }

  // What played since the last call: recordings by name, "click", "beep", and a run of other
  // sound (speech of the synthesizer) as "~".
  static std::vector<std::string> Played() {
    std::vector<std::string> names;
    for (const auto& block : platform::PcmPlayedBlocks()) {
      const std::string bytes(block.bytes.begin(), block.bytes.end());
      if (bytes.size() > 2 && bytes[0] == '#') {
        for (size_t at = 0; at < bytes.size() && bytes[at] == '#';) {  // joined recordings
          const size_t end = bytes.find('#', at + 1);
          if (end == std::string::npos) break;
          names.push_back(bytes.substr(at + 1, end - at - 1));
          at = end + 2;
        }
      } else if (bytes.rfind("\x80\x70\x60\x50\x40", 0) == 0) {
        names.push_back("beep");
      } else if (bytes.size() == 256) {
        names.push_back("click");
      } else if (names.empty() || names.back() != "~") {
        names.push_back("~");
      }
    }
    platform::PcmForgetPlayed();
    return names;
  }

  // Key scripts: a character types itself; {Name} is a key, with the prefixes S-, C- and A-
  // for Shift, Ctrl and Alt ({S-Right}, {C-v}, {C-S-A-F9}). Names: Left Right Up Down Home End
  // PgUp PgDn Insert Delete F1..F12 Enter Esc Back Tab. Each key is typed when the program
  // waits for one; '|' types the next key together with the one before it.
  void Keys(std::string_view script) {
    keys_.clear();
    bool join = false;
    for (size_t i = 0; i < script.size();) {
      std::function<void()> key;
      if (script[i] == '|') {
        join = true;
        ++i;
        continue;
      }
      if (script[i] != '{') {
        const std::string typed(1, script[i++]);
        key = [typed] { platform::PushTyped(typed); };
      } else {
        const size_t end = script.find('}', i);
        key = NamedKey(script.substr(i + 1, end - i - 1));
        i = end + 1;
      }
      if (join && !keys_.empty()) {
        auto before = keys_.back();
        keys_.back() = [before, key] { before(); key(); };
      } else {
        keys_.push_back(key);
      }
      join = false;
    }
    snapshots_.clear();
  }

  // The watched row, its first cells' attributes and the console cursor, seen each time a
  // key was awaited.
  struct Snapshot {
    std::string row;
    std::vector<uint8_t> attributes;  // columns 1..8
    int column;
    int cursorRow;
  };
  std::vector<Snapshot> snapshots_;
  int snapshotRow_ = 1;

  // The text of a 1-based screen row without trailing blanks.
  static std::string Row(int row) {
    std::string text;
    for (int c = 1; c <= console::ScreenSize().Columns; ++c)
      text += static_cast<char>(console::ScreenChar(c, row));
    return text.substr(0, text.find_last_not_of(' ') + 1);
  }

  static void PutAt(int column, int row, std::string_view text, uint8_t attribute = 0x0F) {
    const uint8_t saved = console::TextAttribute();
    console::SetTextAttribute(attribute);
    console::MoveCursor(column, row);
    console::ConsoleWrite(text);
    console::SetTextAttribute(saved);
  }

  fs::path dir_;
  std::string saved_;
  std::string extraIni_;  // lines of [TOLVAN], set before SetUp
  int rows_ = 25;         // screen rows, set before SetUp

 private:
  void NextKey() {
    std::vector<uint8_t> attributes;
    for (int column = 1; column <= 8; ++column)
      attributes.push_back(console::ScreenAttribute(column, snapshotRow_));
    snapshots_.push_back(
        {Row(snapshotRow_), attributes, console::CursorColumn(), console::CursorRow()});
    if (keys_.empty()) return;
    auto key = keys_.front();
    keys_.erase(keys_.begin());
    key();
  }

  static std::function<void()> NamedKey(std::string_view name) {
    namespace vk = platform::vk;
    if (name.starts_with("Route")) {  // {Route5}: the braille display's routing key on cell 5
      const int cell = std::stoi(std::string(name.substr(5)));
      return [cell] { platform::PushBrailleKey(platform::BrailleKeyKind::kRoute, cell); };
    }
    unsigned mods = 0;
    for (;;) {
      if (name.starts_with("S-")) mods |= platform::kModShift;
      else if (name.starts_with("C-")) mods |= platform::kModCtrl;
      else if (name.starts_with("A-")) mods |= platform::kModAlt;
      else break;
      name.remove_prefix(2);
    }
    struct Named {
      std::string_view name;
      int vk;
      int ch;
    };
    static constexpr Named kNamed[] = {
        {"Left", vk::kLeft, -1},    {"Right", vk::kRight, -1},   {"Up", vk::kUp, -1},
        {"Down", vk::kDown, -1},    {"Home", vk::kHome, -1},     {"End", vk::kEnd, -1},
        {"PgUp", vk::kPrior, -1},   {"PgDn", vk::kNext, -1},     {"Insert", vk::kInsert, -1},
        {"Delete", vk::kDelete, -1}, {"Enter", vk::kReturn, 13}, {"Esc", vk::kEscape, 27},
        {"Back", vk::kBack, 8},     {"Tab", vk::kTab, 9},
    };
    int key = 0, ch = -1;
    for (const Named& n : kNamed)
      if (n.name == name) key = n.vk, ch = n.ch;
    if (key == 0 && name.size() > 1 && name[0] == 'F') {
      key = vk::kF1 + std::stoi(std::string(name.substr(1))) - 1;
    } else if (key == 0 && name.size() == 1) {  // Ctrl or Alt with a character
      const char c = name[0];
      key = c >= 'a' && c <= 'z' ? c - 'a' + 'A' : (c >= '0' && c <= '9' ? c : 0);
      if ((mods & platform::kModCtrl) && !(mods & platform::kModAlt)) ch = c & 0x1F;
    }
    return [key, ch, mods] {
      if (key) platform::PushKeyDown(key, mods);
      if (ch >= 0) platform::PushChar(static_cast<unsigned char>(ch), mods);
      if (key) platform::PushKeyUp(key, mods);
    };
  }

  std::vector<std::function<void()>> keys_;
};

}  // namespace frontend_test
