// TIRLA: taking the program path off the process command line.
#include <string>

#include "driver/driver.h"
#include "platform/codepage.h"

namespace driver {

std::string ProcessCommandLine(int argc, char** argv) {
  std::string line = argc > 0 ? argv[0] : "";
  if (line.find(' ') != std::string::npos) line = "\"" + line + "\"";
  for (int i = 1; i < argc; ++i) {
    line += ' ';
    line += argv[i];
  }
  return platform::Utf8ToCp1252(line);
}

std::string CutProgramPath(std::string_view command_line) {
  std::string text(command_line);
  if (!text.empty() && text.front() == '"') {
    // Skip the quoted path; an unclosed quote leaves nothing.
    const size_t close = text.find('"', 1);
    text.erase(0, close == std::string::npos ? text.size() : close);
  }
  const size_t blank = text.find(' ');
  text.erase(0, blank == std::string::npos ? text.size() : blank + 1);
  return text;
}

}  // namespace driver
