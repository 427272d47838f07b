#include "platform/console_text.hpp"

#include "text/utf8.hpp"

namespace velmora {
namespace {

constexpr char16_t kEndOfInputKey = u'\x1A';

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::string utf8FromUtf16(std::u16string_view text) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      utf8::append(result, 0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00));
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      utf8::append(result, utf8::kReplacementCharacter);
    } else {
      utf8::append(result, unit);
    }
  }
  return result;
}

std::u16string utf16FromUtf8(std::string_view text) {
  std::u16string result;
  while (!text.empty()) {
    const std::size_t length = utf8::characterLength(text);
    const char32_t point = length == 0 ? utf8::kReplacementCharacter : utf8::decode(text, length);
    if (point >= 0x10000) {
      result += static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10));
      result += static_cast<char16_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
    } else {
      result += static_cast<char16_t>(point);
    }
    text.remove_prefix(length == 0 ? 1 : length);
  }
  return result;
}

std::string ConsoleTextDecoder::decode(std::u16string_view units) {
  if (ended_ || units.empty()) {
    return {};
  }
  if (atLineStart_ && units.front() == kEndOfInputKey) {
    ended_ = true;
    return {};
  }
  atLineStart_ = units.back() == u'\n';
  std::u16string text = held_ + std::u16string(units);
  held_.clear();
  if (isHighSurrogate(text.back())) {
    held_ = text.back();
    text.pop_back();
  }
  return utf8FromUtf16(text);
}

}  // namespace velmora
