#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What the server reads is UTF-8, and names come in every script: these functions tell where
// one character ends and the next begins, and turn characters into code points and back.
namespace velmora::utf8 {

// U+FFFD, which stands in for what is no character.
inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// The length of the well-formed character at the front of text, or 0 when the bytes there
// form none, including when text ends inside one. Well-formed is RFC 3629's and the Unicode
// standard's: no overlong forms, no surrogates, nothing above U+10FFFF.
std::size_t characterLength(std::string_view text);

// Whether every byte of text belongs to a well-formed character.
bool isText(std::string_view text);

// How many bytes at the front of text to keep so that at most maxBytes are kept and the cut
// never falls inside a well-formed character. Bytes that form no character count one by one.
std::size_t cutLength(std::string_view text, std::size_t maxBytes);

// The code point of the well-formed character of length bytes at the front of text.
char32_t decode(std::string_view text, std::size_t length);

// Appends the UTF-8 form of point, which is a scalar value: at most U+10FFFF, no surrogate.
void append(std::string& text, char32_t point);

}  // namespace velmora::utf8
