#include "clientfile/roster_file.hpp"

#include <algorithm>
#include <string>

#include "clientfile/held_values.hpp"
#include "text/json_text.hpp"
#include "text/shown.hpp"

namespace velmora {
namespace {

// The members a roster's admin may have that velmora reads; --list --json also prints these,
// which a roster may hold and velmora ignores.
constexpr std::string_view kIgnoredMembers[] = {"line", "account"};

class RosterReader {
 public:
  explicit RosterReader(std::string_view rosterName) : rosterName_(rosterName) {}

  Result<std::vector<EntryValues>> read(std::string_view text) {
    Json roster;
    try {
      roster = Json::parse(text);
    } catch (const Json::parse_error& error) {
      const std::string_view what = error.what();
      return refused(what.substr(std::min(what.find("] ") + 2, what.size())));
    }
    if (!roster.is_array()) {
      return refused("a roster is a JSON array of admins, as velmora --list --json prints it");
    }
    std::vector<EntryValues> admins;
    for (std::size_t index = 0; index < roster.size(); ++index) {
      Result<EntryValues> admin = adminOf(index, roster[index]);
      if (admin.failed()) {
        return admin.failure();
      }
      admins.push_back(std::move(admin.value()));
    }
    return admins;
  }

 private:
  [[nodiscard]] Failure refused(std::string_view why) const {
    return {"velmora: cannot use the roster " + std::string(rosterName_) + ": " + std::string(why)};
  }
  [[nodiscard]] Failure refused(std::size_t index, std::string_view why) const {
    return refused("admin " + std::to_string(index + 1) + ": " + std::string(why));
  }

  Result<EntryValues> adminOf(std::size_t index, const Json& admin) const {
    if (!admin.is_object()) {
      return refused(index, "an admin is a JSON object");
    }
    EntryValues values;
    bool hasKey = false;
    bool hasName = false;
    for (const auto& item : admin.items()) {
      const std::string& member = item.key();
      const Json& value = item.value();
      if (std::find(std::begin(kIgnoredMembers), std::end(kIgnoredMembers), member) !=
          std::end(kIgnoredMembers)) {
        continue;
      }
      const EntryField* known = entryFieldNamed(member);
      if (member != fields::kKey && known == nullptr) {
        return refused(index, "unknown member \"" + shown(member) +
                                  "\": an admin has key, name, steam, ip, admin and immunity "
                                  "(line and account are ignored)");
      }
      if (!value.is_string() && !value.is_null()) {
        return refused(index, "\"" + member + "\" must be a text or null");
      }
      const std::optional<std::string> text =
          value.is_string() ? std::optional(value.get<std::string>()) : std::nullopt;
      if (text) {
        if (std::optional<Failure> problem = valueRefusal(member, *text)) {
          return refused(index, problem->line.substr(problem->line.find(": ") + 2));
        }
      }
      if (member == fields::kKey) {
        hasKey = text.has_value();
        values.key = text.value_or("");
      } else {
        hasName = hasName || member == fields::kName;
        values.*known->member = text;
      }
    }
    if (!hasKey && !values.name) {
      return refused(index, "an admin needs a key or a name");
    }
    if (!hasKey) {
      values.key = *values.name;
    }
    if (!hasName) {
      values.name = values.key;
    }
    if (values.steamId && values.ipAddress) {
      return refused(index,
                     "\"steam\" and \"ip\" cannot both be given: an entry holds one of "
                     "them");
    }
    return values;
  }

  std::string_view rosterName_;
};

}  // namespace

Result<std::vector<EntryValues>> readRoster(std::string_view text, std::string_view rosterName) {
  return RosterReader(rosterName).read(text);
}

}  // namespace velmora
