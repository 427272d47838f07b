#include "clientfile/roster_records.hpp"

#include <algorithm>

#include "clientfile/defined_groups.hpp"
#include "clientfile/held_values.hpp"
#include "roster/file_value.hpp"
#include "text/letter_case.hpp"
#include "text/shown.hpp"

namespace velmora {
namespace {

// The members of a roster's admin that --list --json also prints and velmora ignores.
constexpr std::string_view kIgnoredMembers[] = {"line", "account"};

std::optional<std::string> mustBeTextOrNull(std::string_view member) {
  return "\"" + std::string(member) + "\" must be a text or null";
}

// What a group's name or flags may not hold: what would end or open its token, or make other
// readers read it otherwise than the server.
bool fitsInAGroupLine(std::string_view text) {
  return fitsInAValue(text) && text.find_first_of("\"{}\\\t") == std::string_view::npos;
}

}  // namespace

void AdminReading::start() {
  admin_ = {};
  hasKey_ = hasName_ = false;
}

std::optional<std::string> AdminReading::member(std::string name) {
  member_ = std::move(name);
  ignored_ = std::find(std::begin(kIgnoredMembers), std::end(kIgnoredMembers), member_) !=
             std::end(kIgnoredMembers);
  field_ = entryFieldNamed(member_);
  if (!ignored_ && member_ != fields::kKey && field_ == nullptr) {
    return "unknown member \"" + shown(member_) +
           "\": an admin has key, name, steam, ip, admin and immunity "
           "(line and account are ignored)";
  }
  return std::nullopt;
}

std::optional<std::string> AdminReading::value(std::optional<std::string> text, bool isText) {
  if (ignored_) {
    return std::nullopt;
  }
  if (!isText) {
    return mustBeTextOrNull(member_);
  }
  if (text) {
    if (std::optional<Failure> problem = valueRefusal(member_, *text)) {
      return problem->line.substr(problem->line.find(": ") + 2);
    }
  }
  if (member_ == fields::kKey) {
    hasKey_ = text.has_value();
    admin_.key = text.value_or("");
  } else if (field_ != nullptr) {
    hasName_ = hasName_ || member_ == fields::kName;
    admin_.*field_->member = std::move(text);
  }
  return std::nullopt;
}

std::optional<std::string> AdminReading::end() {
  std::optional<std::string> refusal;
  if (!hasKey_ && !admin_.name) {
    refusal = "an admin needs a key or a name";
  } else if (admin_.steamId && admin_.ipAddress) {
    refusal = R"("steam" and "ip" cannot both be given: an entry holds one of them)";
  }
  if (!hasKey_ && admin_.name) {
    admin_.key = *admin_.name;
  }
  if (!hasName_) {
    admin_.name = admin_.key;
  }
  return refusal;
}

void GroupReading::start() {
  group_ = {};
  kindGiven_.clear();
  hasKind_ = hasName_ = hasFlags_ = false;
}

std::optional<std::string> GroupReading::member(std::string name) {
  member_ = std::move(name);
  if (member_ != "kind" && member_ != "name" && member_ != "flags" && member_ != "line") {
    return "unknown member \"" + shown(member_) +
           "\": a group has kind, name and flags "
           "(line is ignored)";
  }
  return std::nullopt;
}

std::optional<std::string> GroupReading::value(std::optional<std::string> text, bool isText) {
  if (member_ == "line") {
    return std::nullopt;
  }
  if (!isText || !text) {
    return "\"" + member_ + "\" must be a text";
  }
  if (member_ == "kind") {
    hasKind_ = true;
    kindGiven_ = std::move(*text);
  } else if (!fitsInAGroupLine(*text)) {
    return "the " + member_ + " \"" + shown(*text) +
           "\" holds a quote, a brace, a backslash or a control character, which no "
           "group in clients.txt can hold";
  } else if (member_ == "name") {
    hasName_ = !text->empty();
    group_.name = std::move(*text);
  } else {
    hasFlags_ = true;
    group_.flags = std::move(*text);
  }
  return std::nullopt;
}

std::optional<std::string> GroupReading::end() {
  group_.kind = groupKindOf(kindGiven_);
  if (!hasKind_) {
    return "a group needs a kind, Admin or Immunity";
  }
  if (group_.kind.empty()) {
    return "the kind \"" + shown(kindGiven_) + "\" is neither Admin nor Immunity";
  }
  if (!hasName_) {
    return "a group needs a name";
  }
  if (!hasFlags_) {
    return "a group needs its flags, as a text (an empty one for none)";
  }
  return std::nullopt;
}

const RosterGroup* rosterGroupNamed(std::span<const RosterGroup> groups, std::string_view kind,
                                    std::string_view name) {
  const auto group = std::find_if(groups.begin(), groups.end(), [&](const RosterGroup& g) {
    return g.kind == kind && sameLetterCaseAside(g.name, name);
  });
  return group == groups.end() ? nullptr : &*group;
}

std::optional<std::string> repeatedGroup(const std::vector<RosterGroup>& groups) {
  for (std::size_t i = 0; i < groups.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (groups[i].kind == groups[j].kind && sameLetterCaseAside(groups[i].name, groups[j].name)) {
        return "group " + std::to_string(i + 1) + " has the kind and name of group " +
               std::to_string(j + 1) + ", \"" + std::string(groups[i].kind) + "\" \"" +
               groups[i].name + "\"";
      }
    }
  }
  return std::nullopt;
}

}  // namespace velmora
