#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Steam IDs in the forms operators find them: STEAM_X:Y:Z, which the server matches; the
// 64-bit form of a profile address (76561197960287930); and the [U:1:A] form of the server
// console and lookup sites ([U:1:22202]). Each names an individual account by its number A.
namespace velmora {

enum class SteamIdForm {
  kSteamId,       // STEAM_X:Y:Z, with A = 2Z + Y
  kSixtyFourBit,  // 17 digits, A = the value - 76561197960265728
  kBracketed,     // [U:1:A]
};

struct SteamAccount {
  SteamIdForm form;
  std::uint32_t number;  // A

  // STEAM_0:Y:Z, with Y = A mod 2 and Z = A div 2, without leading zeros.
  [[nodiscard]] std::string steamId() const;
};

// STEAM_X:Y:Z, where X is 0 to 5, Y is 0 or 1 and Z is one or more digits.
bool isSteamId(std::string_view text);

// The account text names in any of the three forms; empty for anything else, such as
// another kind of account, a value out of range, or a leading zero or sign.
std::optional<SteamAccount> steamAccountOf(std::string_view text);

}  // namespace velmora
