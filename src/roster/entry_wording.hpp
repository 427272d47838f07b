#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "roster/admin_roster.hpp"
#include "roster/entry_rules.hpp"

namespace velmora {

// How the warnings name an admin's typed texts.
inline constexpr std::string_view kNameText = "name";
inline constexpr std::string_view kSteamIdText = "STEAMID";
inline constexpr std::string_view kIpAddressText = "IP address";

// "admin 2 (Bob)": an admin named by position (index + 1) and name.
std::string adminLabel(std::size_t index, std::string_view name);

// What a finding other than kSameName and kSameAccount says about entry, quoting what the operator
// typed when the entry is one of this run's admins (typed), as it stands in the file otherwise.
std::string describeEntryProblem(EntryProblem problem, const EntryFacts& entry,
                                 const AdminRecord* typed = nullptr);

}  // namespace velmora
