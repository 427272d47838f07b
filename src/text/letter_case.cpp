#include "text/letter_case.hpp"

#include <algorithm>
#include <numeric>

namespace velmora {
namespace {

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool sameFoldedBytes(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return folded(x) == folded(y); });
}

std::uint64_t letterCaseAsideHash(std::string_view text) {
  // FNV-1a over the folded bytes.
  constexpr std::uint64_t kOffsetBasis = 14695981039346656037U;
  return std::accumulate(text.begin(), text.end(), kOffsetBasis, [](std::uint64_t hash, char c) {
    constexpr std::uint64_t kPrime = 1099511628211U;
    return (hash ^ static_cast<unsigned char>(folded(c))) * kPrime;
  });
}

}  // namespace velmora
