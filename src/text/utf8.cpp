#include "text/utf8.hpp"

#include <algorithm>
#include <array>
#include <cstdint>

namespace velmora::utf8 {
namespace {

struct ByteRange {
  unsigned char least;
  unsigned char most;
};

// The Unicode standard's table of well-formed byte sequences: by lead byte, the range the
// second byte must lie in; every later byte is a plain continuation byte.
struct SequenceRule {
  ByteRange lead;
  ByteRange second;
  std::size_t length;
};

constexpr ByteRange kContinuation = {0x80, 0xBF};

constexpr std::array<SequenceRule, 9> kSequenceRules = {{
    {{0x00, 0x7F}, {0x00, 0xFF}, 1},
    {{0xC2, 0xDF}, kContinuation, 2},
    {{0xE0, 0xE0}, {0xA0, 0xBF}, 3},
    {{0xE1, 0xEC}, kContinuation, 3},
    {{0xED, 0xED}, {0x80, 0x9F}, 3},
    {{0xEE, 0xEF}, kContinuation, 3},
    {{0xF0, 0xF0}, {0x90, 0xBF}, 4},
    {{0xF1, 0xF3}, kContinuation, 4},
    {{0xF4, 0xF4}, {0x80, 0x8F}, 4},
}};

bool within(char c, ByteRange range) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= range.least && byte <= range.most;
}

// The length of the character that rule's lead byte begins at the front of text, or 0.
std::size_t lengthUnder(const SequenceRule& rule, std::string_view text) {
  if (text.size() < rule.length || (rule.length > 1 && !within(text[1], rule.second))) {
    return 0;
  }
  for (std::size_t i = 2; i < rule.length; ++i) {
    if (!within(text[i], kContinuation)) {
      return 0;
    }
  }
  return rule.length;
}

}  // namespace

std::size_t characterLength(std::string_view text) {
  if (text.empty()) {
    return 0;
  }
  const auto* const rule =
      std::find_if(kSequenceRules.begin(), kSequenceRules.end(),
                   [lead = text[0]](const SequenceRule& r) { return within(lead, r.lead); });
  return rule == kSequenceRules.end() ? 0 : lengthUnder(*rule, text);
}

bool isText(std::string_view text) {
  while (!text.empty()) {
    const std::size_t length = characterLength(text);
    if (length == 0) {
      return false;
    }
    text.remove_prefix(length);
  }
  return true;
}

std::size_t cutLength(std::string_view text, std::size_t maxBytes) {
  std::size_t kept = 0;
  while (kept < text.size()) {
    const std::size_t step = std::max<std::size_t>(characterLength(text.substr(kept)), 1);
    if (kept + step > maxBytes) {
      break;
    }
    kept += step;
  }
  return kept;
}

char32_t decode(std::string_view text, std::size_t length) {
  static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t point = static_cast<unsigned char>(text[0]) & kLeadBits[length];
  for (std::size_t i = 1; i < length; ++i) {
    point = (point << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
  }
  return point;
}

void append(std::string& text, char32_t point) {
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

}  // namespace velmora::utf8
