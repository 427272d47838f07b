#include "clientfile/roster_file.hpp"

#include <algorithm>
#include <optional>
#include <string>

#include "clientfile/held_values.hpp"
#include "text/json_text.hpp"
#include "text/shown.hpp"

namespace velmora {
namespace {

// The members a roster's admin may have that velmora reads; --list --json also prints these,
// which a roster may hold and velmora ignores.
constexpr std::string_view kIgnoredMembers[] = {"line", "account"};

// Reads a roster as the JSON parser meets its values, one at a time, without a tree of the
// whole text: a roster of many admins would feel the tree. The first refusal is kept, and the
// text is still read to its end, so that text that is not JSON is refused as such wherever it
// goes wrong, as a whole parse would refuse it first.
class RosterReader : public nlohmann::json_sax<Json> {
 public:
  RosterReader(std::string_view rosterName, const TakeAdmin& take)
      : rosterName_(rosterName), take_(take) {}

  // Reads the roster as it comes, so that its text is never held whole.
  Result<> read(std::istream& text) {
    Json::sax_parse(text, this);
    if (syntaxError_) {
      return refused(*syntaxError_);
    }
    if (refusal_) {
      return *refusal_;
    }
    return {};
  }

  bool null() override { return text(std::nullopt); }
  bool boolean(bool /*value*/) override { return notText(); }
  bool number_integer(number_integer_t /*value*/) override { return notText(); }
  bool number_unsigned(number_unsigned_t /*value*/) override { return notText(); }
  bool number_float(number_float_t /*value*/, const string_t& /*text*/) override {
    return notText();
  }
  bool binary(binary_t& /*value*/) override { return notText(); }
  bool string(string_t& value) override { return text(std::move(value)); }

  bool start_object(std::size_t /*elements*/) override { return startNested(true); }
  bool start_array(std::size_t /*elements*/) override { return startNested(false); }
  bool end_object() override {
    if (--depth_ == kAdminDepth - 1 && !inner_) {
      endAdmin();
    }
    return endNested();
  }
  bool end_array() override {
    --depth_;
    return endNested();
  }

  bool key(string_t& name) override {
    if (depth_ != kAdminDepth || inner_) {
      return true;
    }
    member_ = std::move(name);
    ignored_ = std::find(std::begin(kIgnoredMembers), std::end(kIgnoredMembers), member_) !=
               std::end(kIgnoredMembers);
    field_ = entryFieldNamed(member_);
    if (!ignored_ && member_ != fields::kKey && field_ == nullptr) {
      refuseAdmin("unknown member \"" + shown(member_) +
                  "\": an admin has key, name, steam, ip, admin and immunity "
                  "(line and account are ignored)");
    }
    return true;
  }

  bool parse_error(std::size_t /*position*/, const std::string& /*lastToken*/,
                   const nlohmann::detail::exception& error) override {
    const std::string_view what = error.what();
    syntaxError_ = std::string(what.substr(std::min(what.find("] ") + 2, what.size())));
    return false;
  }

 private:
  // The roster is the array at depth 1; each admin an object in it, its members at depth 2.
  static constexpr int kAdminDepth = 2;

  [[nodiscard]] Failure refused(std::string_view why) const {
    return {"velmora: cannot use the roster " + std::string(rosterName_) + ": " + std::string(why)};
  }
  void refuse(std::string_view why) {
    if (!refusal_) {
      refusal_ = refused(why);
    }
  }
  void refuseAdmin(std::string_view why) {
    refuse("admin " + std::to_string(admins_ + 1) + ": " + std::string(why));
  }

  // A value that is not itself an object or an array, at the depth it stands at.
  bool scalar() {
    if (depth_ == 0) {
      refuse("a roster is a JSON array of admins, as velmora --list --json prints it");
    } else if (depth_ == kAdminDepth - 1) {
      refuseAdmin("an admin is a JSON object");
      ++admins_;
    }
    return true;
  }

  bool notText() {
    if (depth_ == kAdminDepth && !inner_ && !ignored_) {
      refuseAdmin("\"" + member_ + "\" must be a text or null");
      return true;
    }
    return depth_ == kAdminDepth || inner_ > 0 ? true : scalar();
  }

  bool text(std::optional<std::string> value) {
    if (depth_ != kAdminDepth || inner_) {
      return depth_ == kAdminDepth || inner_ > 0 ? true : scalar();
    }
    if (ignored_ || refusal_) {
      return true;
    }
    if (value) {
      if (std::optional<Failure> problem = valueRefusal(member_, *value)) {
        refuseAdmin(problem->line.substr(problem->line.find(": ") + 2));
        return true;
      }
    }
    if (member_ == fields::kKey) {
      hasKey_ = value.has_value();
      admin_.key = value.value_or("");
    } else {
      hasName_ = hasName_ || member_ == fields::kName;
      admin_.*field_->member = std::move(value);
    }
    return true;
  }

  // An object or an array: the roster, an admin, or one nested inside an admin's member.
  bool startNested(bool isObject) {
    if (inner_ > 0 || depth_ == kAdminDepth) {
      if (depth_ == kAdminDepth && inner_ == 0 && !ignored_) {
        refuseAdmin("\"" + member_ + "\" must be a text or null");
      }
      ++inner_;
    } else if (depth_ == 0 && isObject) {
      refuse("a roster is a JSON array of admins, as velmora --list --json prints it");
      ++inner_;
    } else if (depth_ == kAdminDepth - 1 && !isObject) {
      refuseAdmin("an admin is a JSON object");
      ++admins_;
      ++inner_;
    } else if (depth_ == kAdminDepth - 1) {
      admin_ = {};
      hasKey_ = hasName_ = false;
    }
    ++depth_;
    return true;
  }

  bool endNested() {
    if (inner_ > 0) {
      --inner_;
    }
    return true;
  }

  // The admin read, with the defaults of its key and name.
  void endAdmin() {
    EntryValues& values = admin_;
    if (!refusal_) {
      if (!hasKey_ && !values.name) {
        refuseAdmin("an admin needs a key or a name");
      } else if (values.steamId && values.ipAddress) {
        refuseAdmin(R"("steam" and "ip" cannot both be given: an entry holds one of them)");
      }
    }
    if (!hasKey_ && values.name) {
      values.key = *values.name;
    }
    if (!hasName_) {
      values.name = values.key;
    }
    ++admins_;
    if (!refusal_) {
      take_(std::move(values));
    }
  }

  std::string_view rosterName_;
  const TakeAdmin& take_;
  std::size_t admins_ = 0;  // read so far
  std::optional<Failure> refusal_;
  std::optional<std::string> syntaxError_;
  int depth_ = 0;
  int inner_ = 0;  // how deep inside a value velmora does not read
  EntryValues admin_;
  bool hasKey_ = false;
  bool hasName_ = false;
  std::string member_;
  const EntryField* field_ = nullptr;
  bool ignored_ = false;
};

}  // namespace

Result<> readRoster(std::istream& text, std::string_view rosterName, const TakeAdmin& take) {
  return RosterReader(rosterName, take).read(text);
}

}  // namespace velmora
