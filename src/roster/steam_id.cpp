#include "roster/steam_id.hpp"

#include <algorithm>
#include <limits>
#include <numeric>

#include "text/character_classes.hpp"

namespace velmora {
namespace {

constexpr std::uint64_t kLastAccount = std::numeric_limits<std::uint32_t>::max();
// The 64-bit form of account 0: an individual account in the public universe.
constexpr std::uint64_t kFirstSixtyFourBit = 76561197960265728;
constexpr std::size_t kSixtyFourBitDigits = 17;
constexpr std::string_view kSteamIdPrefix = "STEAM_";
constexpr std::string_view kBracketedPrefix = "[U:1:";

// The value of digits, which are at most nineteen, so that it cannot overflow.
std::uint64_t decimalValue(std::string_view digits) {
  return std::accumulate(digits.begin(), digits.end(), std::uint64_t{0},
                         [](std::uint64_t value, char digit) {
                           return value * 10 + static_cast<std::uint64_t>(digit - '0');
                         });
}

// The value of digits when it is at most kLastAccount; more than ten digits never are.
std::optional<std::uint64_t> accountValue(std::string_view digits) {
  if (!isAllDigits(digits) || digits.size() > 10) {
    return std::nullopt;
  }
  const std::uint64_t value = decimalValue(digits);
  return value <= kLastAccount ? std::optional(value) : std::nullopt;
}

std::optional<SteamAccount> fromSteamId(std::string_view text) {
  if (!isSteamId(text)) {
    return std::nullopt;
  }
  const std::uint64_t y = text[kSteamIdPrefix.size() + 2] == '1' ? 1 : 0;
  std::string_view z = text.substr(kSteamIdPrefix.size() + 4);
  // Leading zeros change no number: STEAM_0:1:007 is account 15.
  z.remove_prefix(std::min(z.find_first_not_of('0'), z.size() - 1));
  const std::optional<std::uint64_t> half = accountValue(z);
  if (!half || *half * 2 + y > kLastAccount) {
    return std::nullopt;
  }
  return SteamAccount{SteamIdForm::kSteamId, static_cast<std::uint32_t>(*half * 2 + y)};
}

std::optional<SteamAccount> fromSixtyFourBit(std::string_view text) {
  if (text.size() != kSixtyFourBitDigits || !isAllDigits(text)) {
    return std::nullopt;
  }
  const std::uint64_t value = decimalValue(text);
  if (value < kFirstSixtyFourBit || value - kFirstSixtyFourBit > kLastAccount) {
    return std::nullopt;
  }
  return SteamAccount{SteamIdForm::kSixtyFourBit,
                      static_cast<std::uint32_t>(value - kFirstSixtyFourBit)};
}

std::optional<SteamAccount> fromBracketed(std::string_view text) {
  if (!text.starts_with(kBracketedPrefix) || !text.ends_with(']')) {
    return std::nullopt;
  }
  const std::string_view digits =
      text.substr(kBracketedPrefix.size(), text.size() - kBracketedPrefix.size() - 1);
  const std::optional<std::uint64_t> value = accountValue(digits);
  if (!value || (digits.size() > 1 && digits[0] == '0')) {
    return std::nullopt;
  }
  return SteamAccount{SteamIdForm::kBracketed, static_cast<std::uint32_t>(*value)};
}

}  // namespace

std::string SteamAccount::steamId() const {
  return "STEAM_0:" + std::to_string(number % 2) + ":" + std::to_string(number / 2);
}

bool isSteamId(std::string_view text) {
  if (!text.starts_with(kSteamIdPrefix) || text.size() < kSteamIdPrefix.size() + 5) {
    return false;
  }
  text.remove_prefix(kSteamIdPrefix.size());
  return text[0] >= '0' && text[0] <= '5' && text[1] == ':' && (text[2] == '0' || text[2] == '1') &&
         text[3] == ':' && isAllDigits(text.substr(4));
}

std::optional<SteamAccount> steamAccountOf(std::string_view text) {
  std::optional<SteamAccount> account = fromSteamId(text);
  if (!account) {
    account = fromSixtyFourBit(text);
  }
  if (!account) {
    account = fromBracketed(text);
  }
  return account;
}

}  // namespace velmora
