#include "roster/entry_wording.hpp"

#include <algorithm>
#include <cstdint>

#include "text/filled.hpp"
#include "text/shown.hpp"

namespace velmora {
namespace {

// How a finding reads: "typed" for an admin typed in this run, with the typed code or answer
// in place of its "%s", and "read" for an entry read from a file. A typed code of 0 chose
// nothing, which the "read" wording says best.
struct ProblemWording {
  EntryProblem problem;
  std::string_view typed;
  std::string_view read;
  std::string (*answer)(const EntryFacts&);
  std::int32_t AdminRecord::*code = nullptr;
};

std::string malformedSteamId(const EntryFacts& entry) { return shown(*entry.steamId); }
std::string malformedIpAddress(const EntryFacts& entry) { return shown(*entry.ipAddress); }
// "... is a Steam ID in its 64-bit form; as a STEAMID it is STEAM_0:0:11101".
std::string steamIdInOtherForm(const EntryFacts& entry) {
  const SteamAccount account = *steamAccountOf(*entry.steamId);
  return filled(
      R"("%s" is a Steam ID in its %s form; as a STEAMID it is %s)",
      {shown(*entry.steamId), account.form == SteamIdForm::kSixtyFourBit ? "64-bit" : "[U:1:A]",
       account.steamId()});
}

std::string emptyIdentifier(const EntryFacts& entry) {
  return std::string(entry.steamId && entry.steamId->empty() ? kSteamIdText : kIpAddressText);
}

constexpr ProblemWording kProblemWordings[] = {
    {EntryProblem::kNoIdentifier,
     "identification answer %s is neither 1 (STEAMID) nor 2 (IP address): the entry has no "
     "STEAMID or IP address, so the server cannot recognise this admin",
     "the entry has no STEAMID or IP address, so the server cannot recognise this admin", nullptr,
     &AdminRecord::idMethod},
    {EntryProblem::kEmptyIdentifier, "the %s is empty, so the server cannot recognise this admin",
     "the %s is empty, so the server cannot recognise this admin", emptyIdentifier},
    {EntryProblem::kSteamIdInOtherForm, "%s", "%s", steamIdInOtherForm},
    {EntryProblem::kMalformedSteamId,
     "\"%s\" is not a STEAMID: it must look like STEAM_0:1:1234567 (STEAM_X:Y:Z with X 0 to 5, "
     "Y 0 or 1 and Z digits)",
     "\"%s\" is not a STEAMID: it must look like STEAM_0:1:1234567 (STEAM_X:Y:Z with X 0 to 5, "
     "Y 0 or 1 and Z digits)",
     malformedSteamId},
    {EntryProblem::kMalformedIpAddress,
     "\"%s\" is not an IP address: it must be four numbers from 0 to 255 separated by dots",
     "\"%s\" is not an IP address: it must be four numbers from 0 to 255 separated by dots",
     malformedIpAddress},
    {EntryProblem::kNoAdminGroup,
     "admin group %s is not on the menu, so the entry gets no admin rights",
     "the entry names no admin group, so it gives no admin rights", nullptr,
     &AdminRecord::adminGroup},
};

}  // namespace

std::string adminLabel(std::size_t index, std::string_view name) {
  return filled("admin %s (%s)",
                {std::to_string(index + 1), name.empty() ? "no name" : shown(name)});
}

std::string describeEntryProblem(EntryProblem problem, const EntryFacts& entry,
                                 const AdminRecord* typed) {
  const ProblemWording* wording =
      std::find_if(std::begin(kProblemWordings), std::end(kProblemWordings),
                   [problem](const ProblemWording& w) { return w.problem == problem; });
  const bool quotesCode =
      typed != nullptr && wording->code != nullptr && typed->*wording->code != 0;
  if (quotesCode) {
    return filled(wording->typed, {std::to_string(typed->*wording->code)});
  }
  const std::string_view text =
      typed != nullptr && wording->code == nullptr ? wording->typed : wording->read;
  if (text.find(kSlot) == std::string_view::npos) {
    return std::string(text);
  }
  return filled(text, {wording->answer(entry)});
}

}  // namespace velmora
