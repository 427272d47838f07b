#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "roster/admin_roster.hpp"
#include "roster/entry_rules.hpp"

namespace velmora {

// What every warning line begins with.
inline constexpr std::string_view kWarningPrefix = "velmora: warning: ";

// Text typed where an admin's number was asked. The reading rules leave it pending, so it
// fails every number question after it, until a word question takes it as its answer.
struct StrayText {
  int position = 0;          // the admin at whose number question it was typed
  std::string text;          // what was typed, as far as it was read
  int takenAt = 0;           // the admin whose word question took it; 0 when none did
  std::string_view takenAs;  // that question: kNameText, kSteamIdText or kIpAddressText
};

// One "velmora: warning: " line per finding about this run's admins and, when they are added
// to an existing file, about the entries already in it (earlier), which come first. Each
// stray text is said first among the warnings of the admin it was typed for.
std::vector<std::string> rosterWarnings(const AdminRoster& roster,
                                        std::span<const EntryFacts> earlier = {},
                                        std::span<const StrayText> strays = {});

}  // namespace velmora
