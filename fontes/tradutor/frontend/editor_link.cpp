// TIRLA: opening the link or document under the line editor's cursor with the program the
// configuration names for its kind ([TOLVAN] PROG.<extension>), else the desktop's opener.
#include <algorithm>
#include <string>

#include "frontend/config.h"
#include "frontend/editor_field.h"
#include "frontend/sound.h"
#include "frontend/speech.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/report.h"

namespace frontend::editor {
namespace {

constexpr int kWaitSliceMs = 50;
constexpr size_t kExtensionLength = 3;
// Marks that surround a link in text: quotes, brackets, list bullets, sentence ends.
constexpr std::string_view kLinkMarks = "\"(*-.<=>[_{";

void WaitWhileSpeaking() {
  while (IsSpeaking()) platform::WaitMessages(kWaitSliceMs);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The configuration key of the program that opens `link`: PROG.HTM for a web address, else
// PROG. and the three characters after its first dot (its first three without a dot).
std::string ProgramKey(const std::string& upper) {
  if (StartsWith(upper, "HTTP://") || StartsWith(upper, "HTTPS://") || StartsWith(upper, "WWW."))
    return "PROG.HTM";
  const size_t dot = upper.find('.');
  return "PROG." + upper.substr(dot == std::string::npos ? 0 : dot + 1, kExtensionLength);
}

}  // namespace

std::string LinkAt(const Field& f) {
  int start = f.cursor;
  while (start > 1 && At(f, start - 1) != ' ') --start;
  int end = f.cursor;
  while (end <= f.maxLength && At(f, end) != ' ') ++end;
  std::string word = f.text.substr(start - 1, std::max(0, end - start));
  const size_t first = word.find_first_not_of(kLinkMarks);
  if (first == std::string::npos) return "";
  return word.substr(first, word.find_last_not_of(kLinkMarks) - first + 1);
}

// Programs and links are never run as the field's words: a program's name comes only from
// the configuration, the link is its one argument, and no shell sees either.
void OpenLink(Field& f) {
  const std::string link = LinkAt(f);
  if (link.empty()) {
    Beep();
    return;
  }
  const std::string upper = UpperCaseLatin1(link);
  const std::string program = ReadConfig("TOLVAN", ProgramKey(upper));
  WaitWhileSpeaking();
  std::string error;
  bool started;
  if (!program.empty())
    started = platform::RunProgram(program, {link}, &error);
  else  // the opener takes "www." names for files
    started = platform::OpenDocument(StartsWith(upper, "WWW.") ? "http://" + link : link, &error);
  WaitWhileSpeaking();
  if (!started) {
    platform::Report(platform::Severity::kWarning,
                     "n\xE3o foi poss\xEDvel abrir " + link + ": " + platform::Utf8ToCp1252(error));
    Beep();
  }
}

}  // namespace frontend::editor
