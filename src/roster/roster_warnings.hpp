#pragma once

#include <cstddef>
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

// The "velmora: warning: " lines about what was typed for one admin, named by label: a quote
// or a backslash written as its look-alike, a text cut to fit, a name that is not UTF-8. Only the
// texts the admin's identification method writes are looked at.
std::vector<std::string> typedTextWarnings(std::string_view label, const AdminRecord& typed);

// The "velmora: warning: " lines about the entries at the indexes about, among entries, as the
// rules find them: each entry's own problems, and the entries alike to it.
std::vector<std::string> entryWarnings(std::span<const EntryFacts> entries,
                                       std::span<const std::size_t> about);
// The same for count entries held elsewhere, without copying them: factsAt gives entry index.
std::vector<std::string> entryWarnings(std::size_t count, const FactsAt& factsAt,
                                       std::span<const std::size_t> about);

}  // namespace velmora
