#include "roster/steam_id.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

// A text and the STEAMID its account has, worked out by hand from the definitions: the 64-bit
// form is 76561197960265728 + A, [U:1:A] names A itself, and the STEAMID is STEAM_0:(A mod 2):
// (A div 2). Empty where the text names no individual account in a known form.
struct ConversionCase {
  std::string text;
  std::string steamId;
};

const std::vector<ConversionCase> kConversionCases = {
    {"76561197960265728", "STEAM_0:0:0"},           // the lowest 64-bit value, A = 0
    {"76561202255233023", "STEAM_0:1:2147483647"},  // the highest, A = 2^32 - 1
    {"76561197960265727", ""},                      // one below the lowest
    {"76561202255233024", ""},                      // one above the highest
    {"76561197960287930", "STEAM_0:0:11101"},       // A = 22202
    {"76561197960287931", "STEAM_0:1:11101"},       // A = 22203
    {"7656119796028793", ""},                       // 16 digits
    {"765611979602879300", ""},                     // 18 digits
    {"076561197960287930", ""},                     // a leading zero
    {"+76561197960287930", ""},                     // a leading sign
    {"[U:1:0]", "STEAM_0:0:0"},
    {"[U:1:22202]", "STEAM_0:0:11101"},
    {"[U:1:4294967295]", "STEAM_0:1:2147483647"},
    {"[U:1:4294967296]", ""},  // beyond 2^32 - 1
    {"[U:1:022202]", ""},      // a leading zero
    {"[U:1:]", ""},            // no number
    {"[U:1:+5]", ""},
    {"[G:1:5]", ""},  // a group, not an individual account
    {"[U:1:5", ""},
    {"[U:1:22202", ""},                  // no closing bracket
    {"[U:1:18446744073709551617]", ""},  // 2^64 + 1 must not wrap round to account 1
    {"STEAM_1:0:11101", "STEAM_0:0:11101"},
    {"STEAM_0:1:007", "STEAM_0:1:7"},
    {"STEAM_0:1:00000000007", "STEAM_0:1:7"},  // more digits than any account, but zeros
    {"STEAM_5:1:2147483647", "STEAM_0:1:2147483647"},
    {"STEAM_0:0:2147483648", ""},  // A would be 2^32
    {"STEAM_6:0:1", ""},
    {"", ""},
};

TEST(SteamAccount, EveryFormToItsSteamId) {
  for (const ConversionCase& c : kConversionCases) {
    const std::optional<SteamAccount> account = steamAccountOf(c.text);
    EXPECT_EQ(account ? account->steamId() : "", c.steamId) << c.text;
  }
}

TEST(SteamAccount, KnowsTheFormItWasWrittenIn) {
  EXPECT_EQ(steamAccountOf("STEAM_0:0:1")->form, SteamIdForm::kSteamId);
  EXPECT_EQ(steamAccountOf("76561197960265730")->form, SteamIdForm::kSixtyFourBit);
  EXPECT_EQ(steamAccountOf("[U:1:2]")->form, SteamIdForm::kBracketed);
}

}  // namespace
}  // namespace velmora
