#include "dialogue/menu_questions.hpp"

#include <algorithm>
#include <numeric>

#include "roster/entry_rules.hpp"
#include "roster/file_value.hpp"
#include "roster/group_catalogue.hpp"
#include "roster/steam_id.hpp"
#include "text/character_classes.hpp"
#include "text/filled.hpp"
#include "text/letter_case.hpp"
#include "text/shown.hpp"

namespace velmora {
namespace {

constexpr std::string_view kTakeAway = "-";
constexpr std::string_view kNone = "-";
constexpr std::size_t kGroupsPerLine = 3;

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The number written as text, when that is all the text is and it lies in 1 to count.
std::optional<std::size_t> placeIn(std::string_view text, std::size_t count) {
  if (!isAllDigits(text) || text.size() > 9) {
    return std::nullopt;
  }
  const std::size_t number = std::accumulate(
      text.begin(), text.end(), std::size_t{0},
      [](std::size_t sum, char digit) { return sum * 10 + static_cast<std::size_t>(digit - '0'); });
  return number >= 1 && number <= count ? std::optional(number - 1) : std::nullopt;
}

// "1=Serveradmin, 2=Clanmember, 3=Teamadmin" and so on, a few to a line, as the dialogue's
// menus list groups.
std::string groupList(std::span<const std::string> groups) {
  std::string list;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    list.append(i % kGroupsPerLine == 0 ? "" : ", ")
        .append(std::to_string(i + 1))
        .append("=")
        .append(shown(groups[i]));
    if (i % kGroupsPerLine == kGroupsPerLine - 1 || i + 1 == groups.size()) {
      list += '\n';
    }
  }
  return list;
}

std::string nowShown(const MaybeText& value) { return value ? shown(*value) : std::string(kNone); }

}  // namespace

std::optional<std::string> MenuQuestions::answer() {
  output_.flush();
  const std::optional<std::string> line = reader_.readLine(kLongestAnswer);
  if (!line) {
    return std::nullopt;
  }
  return std::string(trimmed(*line));
}

std::optional<menu::Choice> MenuQuestions::choice(std::string_view header) {
  for (;;) {
    say(header);
    say(menu::kChoices);
    const std::optional<std::string> given = answer();
    if (!given) {
      return std::nullopt;
    }
    if (const std::optional<std::size_t> place = placeIn(*given, 6)) {
      return static_cast<menu::Choice>(*place + 1);
    }
    say(filled(menu::kNotAChoice, {shown(*given)}));
  }
}

std::optional<std::size_t> MenuQuestions::admin(
    std::size_t count, const std::function<AdminFound(std::string_view)>& find) {
  for (;;) {
    say(filled(menu::kWhichAdmin, {std::to_string(count)}));
    const std::optional<std::string> given = answer();
    if (!given) {
      return std::nullopt;
    }
    if (const std::optional<std::size_t> place = placeIn(*given, count)) {
      return place;
    }
    const AdminFound found = find(*given);
    if (const auto* index = std::get_if<std::size_t>(&found)) {
      return *index;
    }
    say(std::get<std::string>(found) + "\n");
  }
}

std::optional<std::string> MenuQuestions::name(const std::optional<std::string>& now) {
  for (;;) {
    say(now ? filled(menu::kNameNow, {shown(*now)}) : std::string(menu::kName));
    std::optional<std::string> given = answer();
    if (given && !fitsInAValue(*given)) {
      say(filled(menu::kNotAValue, {shown(*given)}));
      continue;
    }
    if (!given || (!given->empty() && *given != kTakeAway)) {
      return given;
    }
    if (now && given->empty()) {
      return now;
    }
    say(menu::kNameNeeded);
  }
}

std::optional<MaybeText> MenuQuestions::value(
    const std::string& question, const std::optional<MaybeText>& now,
    const std::function<std::optional<std::string>(const std::string&)>& named,
    std::string_view refusal) {
  for (;;) {
    say(question);
    const std::optional<std::string> given = answer();
    if (!given) {
      return std::nullopt;
    }
    if (given->empty()) {
      return now.value_or(std::nullopt);
    }
    if (now && *given == kTakeAway) {
      return MaybeText{};
    }
    if (std::optional<std::string> chosen = named(*given)) {
      return MaybeText{std::move(*chosen)};
    }
    say(filled(refusal, {shown(*given)}));
  }
}

std::optional<MaybeText> MenuQuestions::identifier(const std::optional<MaybeText>& now) {
  return value(
      now ? filled(menu::kIdentifierNow, {nowShown(*now)}) : std::string(menu::kIdentifier), now,
      [](const std::string& given) {
        return steamAccountOf(given) || isIpAddress(given) ? std::optional(given) : std::nullopt;
      },
      menu::kNotAnIdentifier);
}

std::optional<MaybeText> MenuQuestions::group(std::string_view kind,
                                              std::span<const std::string> groups,
                                              const std::optional<MaybeText>& now) {
  const bool ofAdmins = kind == catalogue::kAdminKind;
  const std::string_view question =
      now ? (ofAdmins ? menu::kAdminGroupNow : menu::kImmunityGroupNow)
          : (ofAdmins ? menu::kAdminGroup : menu::kImmunityGroup);
  const std::string listed =
      groups.empty() ? filled(menu::kNoGroupsOfKind, {kind}) : groupList(groups);
  return value((now ? filled(question, {nowShown(*now)}) : std::string(question)) + listed, now,
               [groups](const std::string& given) -> std::optional<std::string> {
                 if (const std::optional<std::size_t> place = placeIn(given, groups.size())) {
                   return groups[*place];
                 }
                 const auto named = std::find_if(
                     groups.begin(), groups.end(),
                     [&given](const std::string& g) { return sameLetterCaseAside(g, given); });
                 return named != groups.end() ? std::optional(*named) : std::nullopt;
               },
               menu::kNotAGroup);
}

std::optional<bool> MenuQuestions::confirm(std::string_view verb) {
  for (;;) {
    say(filled(menu::kConfirm, {verb}));
    const std::optional<std::string> given = answer();
    if (!given) {
      return std::nullopt;
    }
    if (const std::optional<std::size_t> place = placeIn(*given, 2)) {
      return *place == 0;
    }
    say(filled(menu::kNotAChoice, {shown(*given)}));
  }
}

void MenuQuestions::waitForEnter() {
  say(menu::kCannotStart);
  (void)answer();
}

}  // namespace velmora
