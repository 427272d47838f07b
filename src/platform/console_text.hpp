#pragma once

#include <string>
#include <string_view>

// Windows consoles and command lines speak UTF-16; inside the program text is UTF-8. These
// conversions are kept free of the platform so that every build can test them.
namespace velmora {

// text as UTF-8; a surrogate without its partner becomes U+FFFD.
std::string utf8FromUtf16(std::u16string_view text);

// text as UTF-16; a byte that begins no well-formed UTF-8 character becomes U+FFFD.
std::u16string utf16FromUtf8(std::string_view text);

// Turns what a console hands over, one read at a time, into the UTF-8 bytes a pipe would
// give. A surrogate pair split across two reads is joined. A Ctrl+Z at the start of a line
// ends the input, as it does for the C runtime's text mode; inside a line it is a character.
class ConsoleTextDecoder {
 public:
  // The UTF-8 for one read; empty once the input has ended.
  std::string decode(std::u16string_view units);
  [[nodiscard]] bool ended() const { return ended_; }

 private:
  std::u16string held_;  // a high surrogate that ended the last read
  bool atLineStart_ = true;
  bool ended_ = false;
};

}  // namespace velmora
