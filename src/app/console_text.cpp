#include "app/console_text.hpp"

#include <cstdint>

#include "roster/utf8_text.hpp"

namespace velmora {
namespace {

constexpr char32_t kReplacement = U'\uFFFD';
constexpr char16_t kEndOfInputKey = u'\x1A';

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void appendUtf8(std::string& text, char32_t point) {
  const auto byte = [](std::uint32_t bits) { return static_cast<char>(bits); };
  if (point < 0x80) {
    text += byte(point);
  } else if (point < 0x800) {
    text += byte(0xC0 | (point >> 6));
    text += byte(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    text += byte(0xE0 | (point >> 12));
    text += byte(0x80 | ((point >> 6) & 0x3F));
    text += byte(0x80 | (point & 0x3F));
  } else {
    text += byte(0xF0 | (point >> 18));
    text += byte(0x80 | ((point >> 12) & 0x3F));
    text += byte(0x80 | ((point >> 6) & 0x3F));
    text += byte(0x80 | (point & 0x3F));
  }
}

// The code point of the well-formed character at the front of text, length bytes long.
char32_t codePointOf(std::string_view text, std::size_t length) {
  static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t point = static_cast<unsigned char>(text[0]) & kLeadBits[length];
  for (std::size_t i = 1; i < length; ++i) {
    point = (point << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
  }
  return point;
}

}  // namespace

std::string utf8FromUtf16(std::u16string_view text) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      appendUtf8(result, 0x10000 + ((unit - 0xD800) << 10) + (text[++i] - 0xDC00));
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      appendUtf8(result, kReplacement);
    } else {
      appendUtf8(result, unit);
    }
  }
  return result;
}

std::u16string utf16FromUtf8(std::string_view text) {
  std::u16string result;
  while (!text.empty()) {
    const std::size_t length = utf8::characterLength(text);
    const char32_t point = length == 0 ? kReplacement : codePointOf(text, length);
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
