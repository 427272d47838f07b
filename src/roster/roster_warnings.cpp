#include "roster/roster_warnings.hpp"

#include <algorithm>
#include <functional>
#include <utility>

#include "roster/entry_wording.hpp"
#include "roster/file_value.hpp"
#include "roster/group_catalogue.hpp"
#include "text/filled.hpp"
#include "text/listed.hpp"
#include "text/shown.hpp"
#include "text/utf8.hpp"

namespace velmora {
namespace {

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
constexpr std::string_view kSameAccounts =
    "%s have the same Steam account, %s, so one person has several entries, perhaps with "
    "different groups";
constexpr std::string_view kCountOutOfRange =
    "the number of admins must be 1 to 10, not %s: nothing was set up and clients.txt was left "
    "as it was";
constexpr std::string_view kNoCount =
    "no number of admins from 1 to 10 was given: nothing was set up and clients.txt was left as "
    "it was";

// The warning lines, each naming its admin by position and by the name as typed (or, for an
// entry from the file, as the file holds it).
class WarningList {
 public:
  using NameAt = std::function<std::string_view(std::size_t index)>;

  WarningList(FactsAt factsAt, NameAt nameAt)
      : factsAt_(std::move(factsAt)), nameAt_(std::move(nameAt)) {}

  void add(std::size_t index, std::string_view text) {
    addFor(adminLabel(index, nameAt_(index)), text);
  }
  void addFor(std::string_view label, std::string_view text) {
    lines_.push_back(std::string(kWarningPrefix).append(label).append(": ").append(text));
  }
  void addFinding(const EntryFinding& finding, const AdminRecord* typed) {
    if (finding.problem == EntryProblem::kSameName ||
        finding.problem == EntryProblem::kSameAccount) {
      std::vector<std::string> labels(finding.alike.size());
      std::transform(finding.alike.begin(), finding.alike.end(), labels.begin(),
                     [this](std::size_t same) { return adminLabel(same, nameAt_(same)); });
      lines_.push_back(
          std::string(kWarningPrefix)
              .append(finding.problem == EntryProblem::kSameName
                          ? filled(kSameNames, {listed(labels)})
                          : filled(kSameAccounts,
                                   {listed(labels),
                                    shown(accountName(*factsAt_(finding.entry).steamId))})));
      return;
    }
    add(finding.entry, describeEntryProblem(finding.problem, factsAt_(finding.entry), typed));
  }
  std::vector<std::string> take() { return std::move(lines_); }

 private:
  FactsAt factsAt_;
  NameAt nameAt_;
  std::vector<std::string> lines_;
};

void addTypedFindings(WarningList& warnings, std::string_view label, const AdminRecord& admin) {
  for (const TypedText& text : kTypedTexts) {
    const TextField& field = admin.*text.field;
    const std::string_view typed = field.view();
    if (!text.written(admin)) {
      continue;
    }
    if (fileValue(typed) != typed) {
      warnings.addFor(label,
                      filled(kReplacedText, {text.what, shown(typed), shown(fileValue(typed))}));
    }
    if (field.wasCut()) {
      warnings.addFor(label, filled(kCutText, {text.what, std::to_string(TextField::kMaxLength),
                                               shown(typed)}));
    }
  }
  if (!utf8::isText(admin.name.view())) {
    warnings.addFor(label, filled(kNameNotUtf8, {shown(admin.name.view())}));
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
      catalogue::lineFor(catalogue::kImmunityGroupLines, admin.immunityGroup) == nullptr) {
    warnings.add(index, admin.immunityGroup == 0
                            ? std::string(kNoImmunityChosen)
                            : filled(kImmunityNotOnMenu, {std::to_string(admin.immunityGroup)}));
  }
}

}  // namespace

std::vector<std::string> rosterWarnings(const AdminRoster& roster,
                                        std::span<const EntryFacts> earlier,
                                        std::span<const StrayText> strays) {
  if (!roster.selectsAdmins()) {
    return {std::string(kWarningPrefix)
                .append(roster.count == 0
                            ? std::string(kNoCount)
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
  WarningList warnings([&entries](std::size_t i) -> const EntryFacts& { return entries[i]; },
                       [&names](std::size_t i) { return std::string_view(names[i]); });
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
      addTypedFindings(warnings, adminLabel(index, names[index]), *typed);
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

std::vector<std::string> typedTextWarnings(std::string_view label, const AdminRecord& typed) {
  WarningList warnings({}, {});  // about one admin, named by label alone
  addTypedFindings(warnings, label, typed);
  return warnings.take();
}

std::vector<std::string> entryWarnings(std::span<const EntryFacts> entries,
                                       std::span<const std::size_t> about) {
  return entryWarnings(
      entries.size(), [entries](std::size_t i) -> const EntryFacts& { return entries[i]; }, about);
}

std::vector<std::string> entryWarnings(std::size_t count, const FactsAt& factsAt,
                                       std::span<const std::size_t> about) {
  std::vector<bool> marked(count);
  for (const std::size_t index : about) {
    marked[index] = true;
  }
  const auto isAbout = [&marked](std::size_t index) { return marked[index]; };
  WarningList warnings(factsAt,
                       [&factsAt](std::size_t i) { return std::string_view(factsAt(i).name); });
  for (const EntryFinding& finding : checkEntries(count, factsAt, isAbout)) {
    if (isAbout(finding.entry) ||
        std::any_of(finding.alike.begin(), finding.alike.end(), isAbout)) {
      warnings.addFinding(finding, nullptr);
    }
  }
  return warnings.take();
}

}  // namespace velmora
