// TIRLA: the test kit: the golden-file runner, per-test scratch folders, kept reports.
#include "support/test_kit.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/codepage.h"
#include "platform/report.h"

namespace support {

fs::path SourcePath(std::string_view relative) { return fs::path(TIRLA_SOURCE_DIR) / relative; }

namespace {

// ---- golden files ----

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The bracketed text of a line with its escapes read; nothing when it has no brackets.
std::optional<std::string> Bracketed(const std::string& line) {
  const size_t open = line.find('['), close = line.rfind(']');
  if (open == std::string::npos || close == std::string::npos || close < open) return {};
  std::string text;
  for (size_t i = open + 1; i < close; ++i) {
    if (line[i] == '\\' && i + 1 < close && line[i + 1] == '\\') {
      text += '\\';
      ++i;
    } else if (line[i] == '\\' && i + 3 < close && line[i + 1] == 'x' &&
               HexValue(line[i + 2]) >= 0 && HexValue(line[i + 3]) >= 0) {
      text += static_cast<char>(HexValue(line[i + 2]) * 16 + HexValue(line[i + 3]));
      i += 3;
    } else {
      text += line[i];
    }
  }
  return text;
}

// The other way: control bytes as \xHH, the backslash doubled.
std::string Escaped(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (byte < 0x20 || byte == 0x7F) {
      out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool UpdateWanted() {
  const char* update = std::getenv("TIRLA_UPDATE_GOLDEN");
  return update && std::string_view(update) == "1";
}

// One case while its file is read: the input, and the lines (0-based) of its outputs.
struct OpenCase {
  std::string input;
  size_t inLine = 0;
  std::vector<std::string> expected;
  size_t firstOut = 0, endOut = 0;
};

// The out lines that replace a case's, by the line where they start.
struct Replacement {
  size_t firstOut, endOut;
  std::vector<std::string> lines;
};

}  // namespace

std::vector<fs::path> GoldenFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file() && entry.path().extension() == ".txt") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

int CheckGoldenFile(const fs::path& file, const GoldenRun& run, const GoldenSetting& setting) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    ADD_FAILURE() << "golden file not found: " << file;
    return 0;
  }
  std::vector<std::string> lines =
      SplitLines(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  const std::string name = fs::relative(file, SourcePath("")).string();
  const bool update = UpdateWanted();
  std::vector<Replacement> replacements;
  std::optional<OpenCase> open;
  int cases = 0;

  auto finish = [&] {
    if (!open) return;
    OpenCase c = std::move(*open);
    open.reset();
    if (c.expected.empty()) {
      ADD_FAILURE_AT(name.c_str(), static_cast<int>(c.inLine + 1)) << "an in line without out lines";
      return;
    }
    ++cases;
    std::string expected;
    for (const std::string& line : c.expected) expected += (expected.empty() ? "" : "\n") + line;
    const std::string got = run(c.input);
    if (got == expected) return;
    if (update) {
      Replacement r{c.firstOut, c.endOut, {}};
      for (const std::string& line : SplitLines(got + "\n")) r.lines.push_back("out [" + Escaped(line) + "]");
      replacements.push_back(std::move(r));
      return;
    }
    ADD_FAILURE_AT(name.c_str(), static_cast<int>(c.firstOut + 1))
        << "in  [" << platform::Cp1252ToUtf8(c.input) << "]\nexpected:\n"
        << platform::Cp1252ToUtf8(expected) << "\ngot:\n" << platform::Cp1252ToUtf8(got);
  };

  for (size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const int number = static_cast<int>(i + 1);
    if (line.starts_with("out ")) {
      const std::optional<std::string> text = Bracketed(line);
      if (!open || !text) {
        ADD_FAILURE_AT(name.c_str(), number) << (open ? "no [text]" : "an out line without its in line");
        continue;
      }
      if (open->expected.empty()) open->firstOut = i;
      open->expected.push_back(*text);
      open->endOut = i + 1;
      continue;
    }
    if (open && !open->expected.empty()) finish();
    if (line.empty() || line[0] == '#') continue;
    if (line.starts_with("in ")) {
      if (open) finish();  // an in line without outputs
      const std::optional<std::string> text = Bracketed(line);
      if (!text) {
        ADD_FAILURE_AT(name.c_str(), number) << "no [text]";
        continue;
      }
      open = OpenCase{.input = *text, .inLine = i};
    } else if (line[0] == '@') {
      const size_t blank = line.find(' ');
      const std::string key = line.substr(1, blank == std::string::npos ? blank : blank - 1);
      const std::string value = blank == std::string::npos ? "" : line.substr(blank + 1);
      if (!setting || !setting(key, value)) ADD_FAILURE_AT(name.c_str(), number) << "unknown setting @" << key;
    } else {
      ADD_FAILURE_AT(name.c_str(), number) << "line not understood: " << platform::Cp1252ToUtf8(line);
    }
  }
  finish();

  if (!replacements.empty()) {
    std::vector<std::string> rewritten;
    size_t next = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (next < replacements.size() && replacements[next].firstOut == i) {
        rewritten.insert(rewritten.end(), replacements[next].lines.begin(), replacements[next].lines.end());
        i = replacements[next++].endOut - 1;
      } else {
        rewritten.push_back(lines[i]);
      }
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (const std::string& line : rewritten) out << line << '\n';
    std::printf("%s: %zu cases rewritten\n", name.c_str(), replacements.size());
  }
  return cases;
}

// ---- scratch folders ----

namespace {

fs::path& CurrentScratch() {
  static fs::path folder;
  return folder;
}

// Removes the scratch folder once the test and its fixture are gone.
class ScratchRemover : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override {
    if (CurrentScratch().empty()) return;
    std::error_code ignored;
    fs::remove_all(CurrentScratch(), ignored);
    CurrentScratch().clear();
  }
};

}  // namespace

const fs::path& TestScratch() {
  static const bool listening = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScratchRemover);
    return true;
  }();
  (void)listening;
  fs::path& folder = CurrentScratch();
  if (folder.empty()) {
    if (!::testing::UnitTest::GetInstance()->current_test_info()) {
      ADD_FAILURE() << "a scratch folder is only for a test";
      std::abort();
    }
    // short: paths in a TOLVAN.INI are read into buffers of 80 characters
    static int serial = 0;
    folder = fs::temp_directory_path() /
             ("tirla-test-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  return folder;
}

std::string WriteScratchFile(const std::string& name, std::string_view bytes) {
  const fs::path path = TestScratch() / name;
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

// ---- reports ----

KeptReports::KeptReports() {
  platform::SetReportSink({.context = this, .Write = [](void* context, platform::Severity, std::string_view text) {
                             static_cast<KeptReports*>(context)->texts_.emplace_back(text);
                           }});
}

KeptReports::~KeptReports() { platform::SetStandardErrorSink(); }

bool KeptReports::Mention(std::string_view piece) const {
  return std::any_of(texts_.begin(), texts_.end(),
                     [&](const std::string& text) { return text.find(piece) != std::string::npos; });
}

std::string KeptReports::Joined() const {
  std::string all;
  for (const std::string& text : texts_) all += text + "\n";
  return all;
}

}  // namespace support
