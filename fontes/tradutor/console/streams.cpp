// TIRLA: the program's standard output and input bound to the console.
#include <array>
#include <string>
#include <iostream>
#include <streambuf>

#include "console/console.h"
#include "console/keyboard.h"

namespace console {
namespace {

constexpr size_t kStreamBufferSize = 128;

// Output: bytes gather in 128 bytes; a flush writes them to the console and serves the
// window's messages. A line end goes out as CR LF.
class ConsoleOutput : public std::streambuf {
 public:
  ConsoleOutput() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

 protected:
  int_type overflow(int_type ch) override {
    Flush();
    if (!traits_type::eq_int_type(ch, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(ch);
      pbump(1);
    }
    return traits_type::not_eof(ch);
  }

  int sync() override {
    Flush();
    KeyWaiting();
    return 0;
  }

 private:
  void Flush() {
    std::string out;
    for (char* p = pbase(); p != pptr(); ++p) {
      if (*p == '\n') out += '\r';
      out += *p;
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    if (!out.empty()) ConsoleWrite(out);
  }

  std::array<char, kStreamBufferSize> buffer_{};
};

// Input: one edited line at a time from ReadConsoleLine; its CR LF reaches the reader as LF.
class ConsoleInput : public std::streambuf {
 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    uint16_t count = ReadConsoleLine(buffer_.data(), static_cast<uint16_t>(buffer_.size()));
    if (count >= 2 && buffer_[count - 2] == '\r') {
      buffer_[count - 2] = '\n';
      --count;
    }
    if (count == 0) return traits_type::eof();
    setg(buffer_.data(), buffer_.data(), buffer_.data() + count);
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::array<char, kStreamBufferSize> buffer_{};
};

}  // namespace

std::streambuf* ConsoleOutputBuffer() {
  static ConsoleOutput output;
  return &output;
}

std::streambuf* ConsoleInputBuffer() {
  static ConsoleInput input;
  return &input;
}

void BindStandardStreams() {
  std::cout.rdbuf(ConsoleOutputBuffer());
  std::cout.setf(std::ios::unitbuf);
  std::cin.rdbuf(ConsoleInputBuffer());
  std::cin.tie(&std::cout);
}

}  // namespace console
