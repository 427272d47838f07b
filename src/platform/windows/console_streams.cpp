#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <array>
#include <iostream>
#include <string>

#include "platform/console_streams.hpp"
#include "platform/console_text.hpp"

namespace velmora::console {
namespace {

bool isConsole(HANDLE handle) {
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0;
}

// Reads a console in UTF-16, as typed, instead of through its code page, which loses every
// character outside it.
class ConsoleInput : public std::streambuf {
 public:
  explicit ConsoleInput(HANDLE handle) : handle_(handle) {}

 protected:
  int_type underflow() override {
    while (gptr() == egptr()) {
      std::array<wchar_t, 4096> units{};
      DWORD count = 0;
      if (decoder_.ended() ||
          ReadConsoleW(handle_, units.data(), static_cast<DWORD>(units.size()), &count, nullptr) ==
              0 ||
          count == 0) {
        return traits_type::eof();
      }
      bytes_ = decoder_.decode(std::u16string(units.data(), units.data() + count));
      setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
    }
    return traits_type::to_int_type(*gptr());
  }

 private:
  HANDLE handle_;
  ConsoleTextDecoder decoder_;
  std::string bytes_;
};

// Collects UTF-8 and shows it at the console in UTF-16 when flushed. The console's code page
// is left alone: a change would outlast the program in the operator's window.
class ConsoleOutput : public std::streambuf {
 public:
  explicit ConsoleOutput(HANDLE handle) : handle_(handle) {}

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      pending_ += traits_type::to_char_type(c);
    }
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    return count;
  }
  int sync() override {
    const std::u16string units = utf16FromUtf8(pending_);
    pending_.clear();
    std::wstring wide(units.begin(), units.end());
    for (std::wstring_view rest = wide; !rest.empty();) {
      DWORD written = 0;
      if (WriteConsoleW(handle_, rest.data(), static_cast<DWORD>(rest.size()), &written, nullptr) ==
              0 ||
          written == 0) {
        return -1;
      }
      rest.remove_prefix(written);
    }
    return 0;
  }

 private:
  HANDLE handle_;
  std::string pending_;
};

struct ConsoleStream {
  explicit ConsoleStream(HANDLE handle) : output(handle), stream(&output) {}
  ConsoleOutput output;
  std::ostream stream;
};

// One stream for each standard handle, made when first needed.
template <DWORD kHandle>
std::ostream& textStream(std::ostream& bytes) {
  const HANDLE handle = GetStdHandle(kHandle);
  if (!isConsole(handle)) {
    return bytes;
  }
  static ConsoleStream console(handle);
  return console.stream;
}

}  // namespace

std::streambuf& input() {
  const HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
  if (!isConsole(handle)) {
    return *std::cin.rdbuf();
  }
  static ConsoleInput console(handle);
  return console;
}

std::ostream& textOutput() { return textStream<STD_OUTPUT_HANDLE>(std::cout); }

std::ostream& byteOutput() {
  if (isConsole(GetStdHandle(STD_OUTPUT_HANDLE))) {
    return textOutput();
  }
  // The C runtime's text mode would write each line feed as CR LF, and a CR LF as CR CR LF.
  std::cout.flush();
  static_cast<void>(_setmode(_fileno(stdout), _O_BINARY));
  return std::cout;
}
std::ostream& textErrors() { return textStream<STD_ERROR_HANDLE>(std::cerr); }

}  // namespace velmora::console
