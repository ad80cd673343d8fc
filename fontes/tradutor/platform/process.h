// TIRLA: starting other programs: a document or link handed to the desktop's opener, or a
// program run with its arguments. Never through a shell: each argument reaches the program
// as one argument, whatever characters it holds.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The program that opens a document or link the way the desktop would.
inline constexpr const char* kDocumentOpener = "xdg-open";

// Starts `program` (looked for on PATH when it holds no '/') with `arguments`, in the current
// folder, its input from /dev/null, and does not wait for it; the finished child is reaped.
// Text is cp1252. False, with the reason in `error` (UTF-8), when it could not be started.
bool RunProgram(std::string_view program, const std::vector<std::string>& arguments,
                std::string* error);

// Opens a document, file or link with kDocumentOpener. A name starting with '-' is handed
// over as "./-..." so that it can never be taken for an option.
bool OpenDocument(std::string_view document, std::string* error);

}  // namespace platform
