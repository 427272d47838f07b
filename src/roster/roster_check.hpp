#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "roster/admin_roster.hpp"

namespace velmora {

// How the warnings name an admin's typed texts.
inline constexpr std::string_view kNameText = "name";
inline constexpr std::string_view kSteamIdText = "STEAMID";
inline constexpr std::string_view kIpAddressText = "IP address";

// Text typed where an admin's number was asked. The reading rules leave it pending, so it
// fails every number question after it, until a word question takes it as its answer.
struct StrayText {
  int position = 0;          // the admin at whose number question it was typed
  std::string text;          // what was typed, as far as it was read
  int takenAt = 0;           // the admin whose word question took it; 0 when none did
  std::string_view takenAs;  // that question: kNameText, kSteamIdText or kIpAddressText
};

// One admin as the server will see its client entry, whether typed in this run or read from
// an existing file.
struct EntryFacts {
  std::string name;
  std::optional<std::string> steamId;    // the "steam" value, when the entry has one
  std::optional<std::string> ipAddress;  // the "ip" value, when the entry has one
  bool hasAdminGroup = false;

  bool operator==(const EntryFacts&) const = default;
};

enum class EntryProblem {
  kSameName,
  kNoIdentifier,
  kEmptyIdentifier,
  kMalformedSteamId,
  kMalformedIpAddress,
  kNoAdminGroup,
};

struct EntryFinding {
  EntryProblem problem;
  // The entry it is about, as an index into the checked entries; for kSameName the first of
  // them, and sameName lists them all in order.
  std::size_t entry;
  std::vector<std::size_t> sameName;
};

// STEAM_X:Y:Z, where X is 0 to 5, Y is 0 or 1 and Z is one or more digits.
bool isSteamId(std::string_view text);
// Four numbers from 0 to 255 of at most three digits each, separated by dots.
bool isIpAddress(std::string_view text);

// What keeps the server from using an entry, wherever the entries come from, ordered by
// entry. Names that differ only in letter case are the same name: the server looks them up
// that way.
std::vector<EntryFinding> checkEntries(std::span<const EntryFacts> entries);

// What a finding other than kSameName says about entry, quoting what the operator typed when
// the entry is one of this run's admins (typed), as it stands in the file otherwise.
std::string describeEntryProblem(EntryProblem problem, const EntryFacts& entry,
                                 const AdminRecord* typed = nullptr);

// text as it can be shown on a terminal: control characters would act on it, and bytes that
// are no UTF-8 would show as garbage or not at all, so these are shown as \xHH.
std::string shown(std::string_view text);

// "admin 2 (Bob)": an admin named by position (index + 1) and name.
std::string adminLabel(std::size_t index, std::string_view name);

// The entry the file writer makes of a typed admin.
EntryFacts entryFactsOf(const AdminRecord& admin);

// One "velmora: warning: " line per finding about this run's admins and, when they are added
// to an existing file, about the entries already in it (earlier), which come first. Each
// stray text is said first among the warnings of the admin it was typed for.
std::vector<std::string> rosterWarnings(const AdminRoster& roster,
                                        std::span<const EntryFacts> earlier = {},
                                        std::span<const StrayText> strays = {});

}  // namespace velmora
