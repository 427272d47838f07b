#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "roster/admin_roster.hpp"

namespace velmora {

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

// The entry the file writer makes of a typed admin.
EntryFacts entryFactsOf(const AdminRecord& admin);

}  // namespace velmora
