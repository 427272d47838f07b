#pragma once

#include <cstdint>
#include <string_view>

// The server takes names and keys as the same when they differ only in the letter case of A
// to Z; every comparison of names follows that one rule.
namespace velmora {

// Whether a and b are the same letter case aside, byte by byte folded.
bool sameFoldedBytes(std::string_view a, std::string_view b);

// Whether a and b are the same, letter case aside. Most texts compared differ in length or are
// alike byte for byte: both are told here, where every caller's compiler sees it.
inline bool sameLetterCaseAside(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a == b || sameFoldedBytes(a, b));
}

// A hash of text that is the same for texts that are the same letter case aside, for tables
// that look names up as the server does.
std::uint64_t letterCaseAsideHash(std::string_view text);

}  // namespace velmora
