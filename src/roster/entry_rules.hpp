#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "roster/admin_roster.hpp"
#include "roster/entry_values.hpp"
#include "roster/steam_id.hpp"

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
  kSameAccount,
  kNoIdentifier,
  kEmptyIdentifier,
  kSteamIdInOtherForm,
  kMalformedSteamId,
  kMalformedIpAddress,
  kNoAdminGroup,
};

struct EntryFinding {
  EntryProblem problem;
  // The entry it is about, as an index into the checked entries; for kSameName and
  // kSameAccount the first of them, and alike lists them all in order.
  std::size_t entry;
  std::vector<std::size_t> alike;
};

// What a kSameAccount finding names the account by: STEAM_0:Y:Z when the STEAMID is in a form
// velmora knows, and the STEAMID itself otherwise.
std::string accountName(std::string_view steamId);

// Four numbers from 0 to 255 of at most three digits each, separated by dots.
bool isIpAddress(std::string_view text);

// What keeps the server from using an entry, wherever the entries come from, ordered by
// entry. Names that differ only in letter case are the same name: the server looks them up
// that way. STEAMIDs in any form that name one account, or that are the same text, are the
// same account.
std::vector<EntryFinding> checkEntries(std::span<const EntryFacts> entries);
// The same for count entries held elsewhere, without copying them: factsAt gives entry index.
// With ruledOn, an entry's own problems are looked for only where it says so; entries alike
// are always found among all of them.
using FactsAt = std::function<const EntryFacts&(std::size_t index)>;
std::vector<EntryFinding> checkEntries(std::size_t count, const FactsAt& factsAt,
                                       const std::function<bool(std::size_t index)>& ruledOn = {});

// What the rules look at in an entry's values, and in the entry the file writer makes of a
// typed admin.
EntryFacts entryFactsOf(const EntryValues& entry);
EntryFacts entryFactsOf(const AdminRecord& admin);

}  // namespace velmora
