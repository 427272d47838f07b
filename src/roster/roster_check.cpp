#include "roster/roster_check.hpp"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "roster/file_value.hpp"
#include "roster/group_catalogue.hpp"
#include "roster/utf8_text.hpp"

namespace velmora {
namespace {

constexpr std::string_view kWarning = "velmora: warning: ";
constexpr std::string_view kSlot = "%s";

// template with each "%s" replaced by the next of values.
std::string filled(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string result;
  for (const std::string_view value : values) {
    const std::size_t slot = text.find(kSlot);
    result.append(text.substr(0, slot)).append(value);
    text.remove_prefix(slot + kSlot.size());
  }
  return result.append(text);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool allDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

}  // namespace

std::string shown(std::string_view text) {
  static constexpr std::string_view kHex = "0123456789abcdef";
  std::string result;
  while (!text.empty()) {
    const std::size_t length = utf8::characterLength(text);
    const auto byte = static_cast<unsigned char>(text[0]);
    if (length == 0 || byte < 0x20 || byte == 0x7f) {
      result.append("\\x").append(1, kHex[byte >> 4]).append(1, kHex[byte & 0xf]);
      text.remove_prefix(1);
    } else {
      result.append(text.substr(0, length));
      text.remove_prefix(length);
    }
  }
  return result;
}

namespace {

std::string foldedCase(std::string_view text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return folded;
}

bool hasEmptyIdentifier(const EntryFacts& entry) {
  return (entry.steamId && entry.steamId->empty()) || (entry.ipAddress && entry.ipAddress->empty());
}

struct EntryRule {
  EntryProblem problem;
  bool (*applies)(const EntryFacts&);
};

constexpr EntryRule kEntryRules[] = {
    {EntryProblem::kNoIdentifier, [](const EntryFacts& e) { return !e.steamId && !e.ipAddress; }},
    {EntryProblem::kEmptyIdentifier, hasEmptyIdentifier},
    {EntryProblem::kMalformedSteamId,
     [](const EntryFacts& e) {
       return e.steamId && !e.steamId->empty() && !isSteamId(*e.steamId);
     }},
    {EntryProblem::kMalformedIpAddress,
     [](const EntryFacts& e) {
       return e.ipAddress && !e.ipAddress->empty() && !isIpAddress(*e.ipAddress);
     }},
    {EntryProblem::kNoAdminGroup, [](const EntryFacts& e) { return !e.hasAdminGroup; }},
};

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

// The typed texts the file holds, and when it holds them.
struct TypedText {
  std::string_view what;
  TextField AdminRecord::*field;
  bool (*written)(const AdminRecord&);
};

constexpr TypedText kTypedTexts[] = {
    {kNameText, &AdminRecord::name, [](const AdminRecord& /*admin*/) { return true; }},
    {kSteamIdText, &AdminRecord::steamId,
     [](const AdminRecord& a) { return isCode(a.idMethod, IdMethod::kBySteamId); }},
    {kIpAddressText, &AdminRecord::ipAddress,
     [](const AdminRecord& a) { return isCode(a.idMethod, IdMethod::kByIpAddress); }},
};

constexpr std::string_view kReplacedText =
    R"(the %s "%s" is written as "%s": a value in clients.txt cannot hold " or \)";
constexpr std::string_view kCutText = R"(the %s is longer than %s bytes, so only "%s" is kept)";
constexpr std::string_view kNameNotUtf8 =
    R"(the name "%s" is not UTF-8 text: it is written as typed, and the server will show it )"
    "garbled";
constexpr std::string_view kStrayTaken =
    R"("%s" is not a number, so it was read as the next answer (admin %s's %s))";
constexpr std::string_view kStrayUnused = R"("%s" is not a number, so it was not used)";
constexpr std::string_view kImmunityNotOnMenu =
    "immunity group %s is not on the menu, so the entry gets no immunity";
constexpr std::string_view kNoImmunityChosen =
    "no immunity group was chosen, so the entry gets no immunity";
constexpr std::string_view kSameNames =
    "%s have the same name, so the server keeps only one of their entries";
constexpr std::string_view kCountOutOfRange =
    "the number of admins must be 1 to 10, not %s: nothing was set up and clients.txt was left "
    "as it was";
constexpr std::string_view kNoCount =
    "no number of admins from 1 to 10 was given: nothing was set up and clients.txt was left as "
    "it was";

template <typename Lines>
bool onMenu(const Lines& lines, std::int32_t typed) {
  return std::any_of(lines.begin(), lines.end(),
                     [typed](const auto& line) { return isCode(typed, line.group); });
}

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<std::string>& items) {
  std::string list;
  for (std::size_t i = 0; i < items.size(); ++i) {
    list.append(i == 0 ? "" : i + 1 == items.size() ? " and " : ", ").append(items[i]);
  }
  return list;
}

// The warning lines, each naming its admin by position and by the name as typed (or, for an
// entry from the file, as the file holds it).
class WarningList {
 public:
  WarningList(std::span<const EntryFacts> entries, std::span<const std::string> names)
      : entries_(entries), names_(names) {}

  void add(std::size_t index, std::string_view text) {
    lines_.push_back(
        std::string(kWarning).append(adminLabel(index, names_[index])).append(": ").append(text));
  }
  void addFinding(const EntryFinding& finding, const AdminRecord* typed) {
    if (finding.problem == EntryProblem::kSameName) {
      std::vector<std::string> labels(finding.sameName.size());
      std::transform(finding.sameName.begin(), finding.sameName.end(), labels.begin(),
                     [this](std::size_t same) { return adminLabel(same, names_[same]); });
      lines_.push_back(std::string(kWarning).append(filled(kSameNames, {listed(labels)})));
      return;
    }
    add(finding.entry, describeEntryProblem(finding.problem, entries_[finding.entry], typed));
  }
  std::vector<std::string> take() { return std::move(lines_); }

 private:
  std::span<const EntryFacts> entries_;
  std::span<const std::string> names_;
  std::vector<std::string> lines_;
};

void addTypedFindings(WarningList& warnings, std::size_t index, const AdminRecord& admin) {
  for (const TypedText& text : kTypedTexts) {
    const TextField& field = admin.*text.field;
    const std::string_view typed = field.view();
    if (!text.written(admin)) {
      continue;
    }
    if (fileValue(typed) != typed) {
      warnings.add(index,
                   filled(kReplacedText, {text.what, shown(typed), shown(fileValue(typed))}));
    }
    if (field.wasCut()) {
      warnings.add(index, filled(kCutText,
                                 {text.what, std::to_string(TextField::kMaxLength), shown(typed)}));
    }
  }
  if (!utf8::isText(admin.name.view())) {
    warnings.add(index, filled(kNameNotUtf8, {shown(admin.name.view())}));
  }
}

void addStrayFinding(WarningList& warnings, std::size_t index, const StrayText& stray) {
  const std::string_view text = stray.text;
  const std::string typed = shown(text.substr(0, utf8::cutLength(text, TextField::kMaxLength)));
  warnings.add(index,
               stray.takenAt == 0
                   ? filled(kStrayUnused, {typed})
                   : filled(kStrayTaken, {typed, std::to_string(stray.takenAt), stray.takenAs}));
}

void addImmunityFinding(WarningList& warnings, std::size_t index, const AdminRecord& admin) {
  if (isCode(admin.immunityAnswer, ImmunityAnswer::kYes) &&
      !onMenu(catalogue::kImmunityGroupLines, admin.immunityGroup)) {
    warnings.add(index, admin.immunityGroup == 0
                            ? std::string(kNoImmunityChosen)
                            : filled(kImmunityNotOnMenu, {std::to_string(admin.immunityGroup)}));
  }
}

}  // namespace

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

std::string adminLabel(std::size_t index, std::string_view name) {
  return filled("admin %s (%s)",
                {std::to_string(index + 1), name.empty() ? "no name" : shown(name)});
}

bool isSteamId(std::string_view text) {
  constexpr std::string_view kPrefix = "STEAM_";
  if (!text.starts_with(kPrefix) || text.size() < kPrefix.size() + 5) {
    return false;
  }
  text.remove_prefix(kPrefix.size());
  return text[0] >= '0' && text[0] <= '5' && text[1] == ':' && (text[2] == '0' || text[2] == '1') &&
         text[3] == ':' && allDigits(text.substr(4));
}

bool isIpAddress(std::string_view text) {
  constexpr int kParts = 4;
  for (int part = 1; part <= kParts; ++part) {
    const std::size_t end = part < kParts ? text.find('.') : text.size();
    if (end == std::string_view::npos) {
      return false;
    }
    const std::string_view number = text.substr(0, end);
    if (!allDigits(number) || number.size() > 3 || std::stoi(std::string(number)) > 255) {
      return false;
    }
    text.remove_prefix(std::min(text.size(), end + 1));
  }
  return true;
}

std::vector<EntryFinding> checkEntries(std::span<const EntryFacts> entries) {
  std::unordered_map<std::string, std::vector<std::size_t>> byName;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    byName[foldedCase(entries[i].name)].push_back(i);
  }
  std::vector<EntryFinding> findings;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::vector<std::size_t>& sameName = byName[foldedCase(entries[i].name)];
    if (sameName.size() > 1 && sameName.front() == i) {
      findings.push_back({EntryProblem::kSameName, i, sameName});
    }
    for (const EntryRule& rule : kEntryRules) {
      if (rule.applies(entries[i])) {
        findings.push_back({rule.problem, i, {}});
      }
    }
  }
  return findings;
}

EntryFacts entryFactsOf(const AdminRecord& admin) {
  EntryFacts entry;
  entry.name = fileValue(admin.name.view());
  entry.hasAdminGroup = onMenu(catalogue::kAdminGroupLines, admin.adminGroup);
  if (isCode(admin.idMethod, IdMethod::kBySteamId)) {
    entry.steamId = fileValue(admin.steamId.view());
  }
  if (isCode(admin.idMethod, IdMethod::kByIpAddress)) {
    entry.ipAddress = fileValue(admin.ipAddress.view());
  }
  return entry;
}

std::vector<std::string> rosterWarnings(const AdminRoster& roster,
                                        std::span<const EntryFacts> earlier,
                                        std::span<const StrayText> strays) {
  if (!roster.selectsAdmins()) {
    return {std::string(kWarning).append(
        roster.count == 0 ? std::string(kNoCount)
                          : filled(kCountOutOfRange, {std::to_string(roster.count)}))};
  }
  std::vector<EntryFacts> entries(earlier.begin(), earlier.end());
  std::vector<std::string> names(earlier.size());
  std::transform(earlier.begin(), earlier.end(), names.begin(),
                 [](const EntryFacts& entry) { return entry.name; });
  for (int position = 1; position <= roster.count; ++position) {
    entries.push_back(entryFactsOf(roster.recordAt(position)));
    names.emplace_back(roster.recordAt(position).name.view());
  }
  WarningList warnings(entries, names);
  const std::vector<EntryFinding> findings = checkEntries(entries);
  auto finding = findings.begin();
  for (std::size_t index = 0; index < entries.size(); ++index) {
    const AdminRecord* typed = index < earlier.size()
                                   ? nullptr
                                   : &roster.recordAt(static_cast<int>(index - earlier.size()) + 1);
    if (typed != nullptr) {
      const int position = static_cast<int>(index - earlier.size()) + 1;
      for (const StrayText& stray : strays) {
        if (stray.position == position) {
          addStrayFinding(warnings, index, stray);
        }
      }
      addTypedFindings(warnings, index, *typed);
    }
    for (; finding != findings.end() && finding->entry == index; ++finding) {
      warnings.addFinding(*finding, typed);
    }
    if (typed != nullptr) {
      addImmunityFinding(warnings, index, *typed);
    }
  }
  return warnings.take();
}

}  // namespace velmora
