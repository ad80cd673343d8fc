// TIRLA: data files opened only when they are regular files, and read errors kept.
#include "platform/datafile.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/codepage.h"

namespace platform {

bool OpenDataFile(const std::string& path, std::ifstream& in) {
  in.close();
  struct stat info {};
  // Opening a folder succeeds, and every read of it then fails: refused here.
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  in.open(path, std::ios::binary);
  return in.is_open();
}

bool ReadDataFile(const std::string& path, std::string& bytes, size_t limit) {
  std::ifstream in;
  if (!OpenDataFile(path, in)) return false;
  bytes.clear();
  char chunk[65536];
  // read() turns a failing read into badbit instead of throwing out of the stream buffer
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    const size_t n = static_cast<size_t>(in.gcount());
    if (n > limit - bytes.size()) return false;
    bytes.append(chunk, n);
  }
  return ReadWithoutError(in);
}

std::string DataFileProblem(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return "n\xE3o existe";
  if (S_ISDIR(info.st_mode)) return "\xE9 uma pasta";
  if (!S_ISREG(info.st_mode)) return "n\xE3o \xE9 um arquivo comum";
  std::ifstream in(path, std::ios::binary);
  return in.is_open() ? std::string() : "n\xE3o p\xF4" "de ser lido";
}

namespace {

// The reasons a file, a pipe or a program usually fails for, in words the user knows; the
// system's own text is English.
struct Reason {
  int error;
  const char* words;  // UTF-8
};

constexpr Reason kReasons[] = {
    {EBADF, "está fechada"},
    {EPIPE, "quem a lia a fechou"},
    {ENOSPC, "não há mais espaço para gravar"},
    {EDQUOT, "a cota de disco acabou"},
    {EFBIG, "o arquivo ficou grande demais"},
    {EACCES, "sem permissão"},
    {EPERM, "sem permissão"},
    {EROFS, "o disco só permite leitura"},
    {ENOENT, "não existe"},
    {ENOTDIR, "uma parte do caminho não é uma pasta"},
    {EISDIR, "é uma pasta"},
    {ENAMETOOLONG, "o nome é longo demais"},
    {ELOOP, "links demais no caminho"},
    {EIO, "erro de leitura ou gravação no dispositivo"},
    {ENXIO, "o dispositivo não existe"},
    {ENODEV, "o dispositivo não existe"},
    {EMFILE, "arquivos abertos demais"},
    {ENFILE, "arquivos abertos demais"},
    {ENOMEM, "falta memória"},
    {ENOEXEC, "não é um programa"},
    {ETXTBSY, "o arquivo está em uso"},
    {EAGAIN, "o recurso está ocupado"},
};

}  // namespace

std::string SystemReason(int error) {
  for (const Reason& reason : kReasons)
    if (reason.error == error) return Utf8ToCp1252(reason.words);
  return "erro do sistema n\xBA " + std::to_string(error);
}

}  // namespace platform
