// TIRLA: opening the files the program reads its data, settings and text from. A folder, a
// device or a file that cannot be opened is refused at once, and a read that fails half-way
// is told apart from the end of the file: neither may pass for an empty table.
#pragma once
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

namespace platform {

// Opens `path` for binary reading when it is a regular file (or a link to one); false, with
// `in` closed, for anything else.
bool OpenDataFile(const std::string& path, std::ifstream& in);

// Whether reading `in` to its end went without a read error.
inline bool ReadWithoutError(const std::ifstream& in) { return !in.bad(); }

// The whole of the regular file `path` in `bytes`; false when it cannot be opened or read, or
// holds more than `limit` bytes.
bool ReadDataFile(const std::string& path, std::string& bytes, size_t limit = SIZE_MAX);

// Why `path` cannot be read, for the user (cp1252): "não existe", "é uma pasta", "não é um
// arquivo comum" or "não pôde ser lido"; empty when it can be opened.
std::string DataFileProblem(const std::string& path);

// The system's reason `error` (an errno value) in our words, for the user (cp1252), to follow
// a colon: "o disco está cheio", "está fechada"...
std::string SystemReason(int error);

}  // namespace platform
