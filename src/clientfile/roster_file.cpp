#include "clientfile/roster_file.hpp"

#include <algorithm>
#include <optional>
#include <string>

#include "text/json_text.hpp"
#include "text/shown.hpp"

namespace velmora {
namespace {

constexpr std::string_view kNotARoster =
    "a roster is a JSON array of admins, as velmora --list --json prints it, or an object "
    "with admins and groups, as velmora --export prints it";

// Reads a roster as the JSON parser meets its values, one at a time, without a tree of the
// whole text: a roster of many admins would feel the tree. The first refusal is kept, and the
// text is still read to its end, so that text that is not JSON is refused as such wherever it
// goes wrong, as a whole parse would refuse it first.
//
// A roster is an array of admins, or an object whose "admins" and "groups" are arrays. Depth
// counts the arrays and objects the parser is inside; the items of a list stand at listDepth_,
// and their members one deeper. Anything nested deeper than velmora reads is skipped (inner_).
class RosterReader : public nlohmann::json_sax<Json> {
 public:
  RosterReader(std::string_view rosterName, const TakeAdmin& take)
      : rosterName_(rosterName), take_(take) {}

  // Reads the roster as it comes, so that its text is never held whole.
  Result<RosterParts> read(std::istream& text) {
    Json::sax_parse(text, this);
    if (syntaxError_) {
      return refused(*syntaxError_);
    }
    if (std::optional<std::string> repeated = repeatedGroup(parts_.groups)) {
      refuse(*repeated);
    }
    if (refusal_) {
      return *refusal_;
    }
    return std::move(parts_);
  }

  bool null() override { return scalar(std::nullopt, true); }
  bool boolean(bool /*value*/) override { return scalar(std::nullopt, false); }
  bool number_integer(number_integer_t /*value*/) override { return scalar(std::nullopt, false); }
  bool number_unsigned(number_unsigned_t /*value*/) override { return scalar(std::nullopt, false); }
  bool number_float(number_float_t /*value*/, const string_t& /*text*/) override {
    return scalar(std::nullopt, false);
  }
  bool binary(binary_t& /*value*/) override { return scalar(std::nullopt, false); }
  bool string(string_t& value) override { return scalar(std::move(value), true); }

  bool start_object(std::size_t /*elements*/) override { return startNested(true); }
  bool start_array(std::size_t /*elements*/) override { return startNested(false); }
  bool end_object() override {
    --depth_;
    if (inner_ > 0) {
      --inner_;
    } else if (record_ != nullptr && depth_ == listDepth_) {
      endRecord();
    }
    return true;
  }
  bool end_array() override {
    --depth_;
    if (inner_ > 0) {
      --inner_;
    } else if (depth_ == listDepth_ - 1) {
      record_ = nullptr;
    }
    return true;
  }

  bool key(string_t& name) override {
    if (inner_ > 0) {
      return true;
    }
    if (depth_ == 1 && inObject_) {
      member_ = std::move(name);
      if (member_ != "admins" && member_ != "groups") {
        refuse("unknown member \"" + shown(member_) + "\": a roster has admins and groups");
      }
    } else if (record_ != nullptr && depth_ == listDepth_ + 1) {
      refuseItem(record_->member(std::move(name)));
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
  [[nodiscard]] Failure refused(std::string_view why) const {
    return {"velmora: cannot use the roster " + std::string(rosterName_) + ": " + std::string(why)};
  }
  void refuse(std::string_view why) {
    if (!refusal_) {
      refusal_ = refused(why);
    }
  }
  void refuseItem(const std::optional<std::string>& why) {
    if (why) {
      refuse(std::string(record_->itemName()) + " " + std::to_string(items_ + 1) + ": " + *why);
    }
  }
  void refuseList() {
    refuse("\"" + member_ + "\" must be an array of " + member_ +
           (member_ == "admins" ? ", as velmora --list --json prints it"
                                : ", as velmora --groups --json prints it"));
  }

  // A value that is no array or object, wherever it stands.
  bool scalar(std::optional<std::string> text, bool isText) {
    if (inner_ > 0) {
      return true;
    }
    if (depth_ == 0) {
      refuse(kNotARoster);
    } else if (depth_ == 1 && inObject_) {
      refuseList();
    } else if (record_ != nullptr && depth_ == listDepth_) {
      refuseItem(std::string(record_->notAnObject()));
      ++items_;
    } else if (record_ != nullptr && !refusal_) {
      refuseItem(record_->value(std::move(text), isText));
    }
    return true;
  }

  // An object or an array: the roster, one of its lists, an item, or one inside an item.
  bool startNested(bool isObject) {
    if (inner_ > 0) {
      ++inner_;
    } else if (depth_ == 0 && isObject) {
      inObject_ = true;
    } else if (depth_ == 0) {
      enterList(admins_);
    } else if (depth_ == 1 && inObject_) {
      if (isObject || (member_ != "admins" && member_ != "groups")) {
        refuseList();
        ++inner_;
      } else {
        enterList(member_ == "admins" ? static_cast<RecordReading&>(admins_) : groups_);
      }
    } else if (record_ != nullptr && depth_ == listDepth_ && isObject) {
      record_->start();
    } else if (record_ != nullptr && depth_ == listDepth_) {
      refuseItem(std::string(record_->notAnObject()));
      ++items_;
      ++inner_;
    } else {
      if (record_ != nullptr && !refusal_) {
        refuseItem(record_->value(std::nullopt, false));
      }
      ++inner_;
    }
    ++depth_;
    return true;
  }

  void enterList(RecordReading& record) {
    record_ = &record;
    listDepth_ = depth_ + 1;
    items_ = 0;
    (&record == &admins_ ? parts_.hasAdmins : parts_.hasGroups) = true;
  }

  void endRecord() {
    refuseItem(record_->end());
    ++items_;
    if (refusal_) {
      return;
    }
    if (record_ == &admins_) {
      take_(std::move(admins_.admin()));
    } else {
      parts_.groups.push_back(std::move(groups_.group()));
    }
  }

  std::string_view rosterName_;
  const TakeAdmin& take_;
  RosterParts parts_;
  AdminReading admins_;
  GroupReading groups_;
  RecordReading* record_ = nullptr;  // the list being read, when inside one
  std::size_t items_ = 0;            // of that list, read so far
  bool inObject_ = false;            // whether the roster is an object, not an array
  std::string member_;               // the roster object's member being read
  std::optional<Failure> refusal_;
  std::optional<std::string> syntaxError_;
  int depth_ = 0;
  int listDepth_ = 0;
  int inner_ = 0;  // how deep inside a value velmora does not read
};

}  // namespace

Result<RosterParts> readRoster(std::istream& text, std::string_view rosterName,
                               const TakeAdmin& take) {
  return RosterReader(rosterName, take).read(text);
}

}  // namespace velmora
