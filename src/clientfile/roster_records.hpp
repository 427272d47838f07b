#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "roster/entry_values.hpp"

namespace velmora {

// A group a roster gives: a kind ("Admin" or "Immunity"), a name and the flags it gives.
struct RosterGroup {
  std::string_view kind;
  std::string name;
  std::string flags;
};

// One object of a roster's list read member by member, as the JSON parser meets them: an
// admin or a group. Each step gives the refusal of what it met, without "admin N: "; the
// first refusal is the roster's.
class RecordReading {
 public:
  RecordReading() = default;
  RecordReading(const RecordReading&) = delete;
  RecordReading& operator=(const RecordReading&) = delete;
  RecordReading(RecordReading&&) = delete;
  RecordReading& operator=(RecordReading&&) = delete;
  virtual ~RecordReading() = default;

  // What the list's items are called in refusals: "admin" or "group".
  [[nodiscard]] virtual std::string_view itemName() const = 0;
  // The refusal of an item that is no object.
  [[nodiscard]] virtual std::string_view notAnObject() const = 0;
  virtual void start() = 0;
  // A member's name; whether its value is read is up to the record.
  virtual std::optional<std::string> member(std::string name) = 0;
  // The member's value: a text, null, or (given false) anything else.
  virtual std::optional<std::string> value(std::optional<std::string> text, bool isText) = 0;
  // The record's end: what a whole record must hold.
  virtual std::optional<std::string> end() = 0;
};

// An admin as --list --json prints one: key, name, steam, ip, admin and immunity, each a text
// or null; line and account are ignored. key defaults to name, and name, when absent, to key.
class AdminReading : public RecordReading {
 public:
  [[nodiscard]] std::string_view itemName() const override { return "admin"; }
  [[nodiscard]] std::string_view notAnObject() const override {
    return "an admin is a JSON object";
  }
  void start() override;
  std::optional<std::string> member(std::string name) override;
  std::optional<std::string> value(std::optional<std::string> text, bool isText) override;
  std::optional<std::string> end() override;

  // The admin read, once end() found it whole.
  [[nodiscard]] EntryValues& admin() { return admin_; }

 private:
  EntryValues admin_;
  bool hasKey_ = false;
  bool hasName_ = false;
  std::string member_;
  const EntryField* field_ = nullptr;
  bool ignored_ = false;
};

// A group as --groups --json prints one: kind, name and flags, each a text; line is ignored.
// The kind is Admin or Immunity, letter case aside; the name is not empty; name and flags hold
// no quote, brace, backslash or control character (a tab among them), which no group line could
// hold as the server and other readers alike read it.
class GroupReading : public RecordReading {
 public:
  [[nodiscard]] std::string_view itemName() const override { return "group"; }
  [[nodiscard]] std::string_view notAnObject() const override { return "a group is a JSON object"; }
  void start() override;
  std::optional<std::string> member(std::string name) override;
  std::optional<std::string> value(std::optional<std::string> text, bool isText) override;
  std::optional<std::string> end() override;

  [[nodiscard]] RosterGroup& group() { return group_; }

 private:
  RosterGroup group_;
  std::string kindGiven_;
  bool hasKind_ = false;
  bool hasName_ = false;
  bool hasFlags_ = false;
  std::string member_;
};

// The group of groups with that kind and name, letter case aside; null when there is none.
const RosterGroup* rosterGroupNamed(std::span<const RosterGroup> groups, std::string_view kind,
                                    std::string_view name);

// The refusal of the first group of groups with the kind and name of one before it, letter case
// aside; empty when there is none.
std::optional<std::string> repeatedGroup(const std::vector<RosterGroup>& groups);

}  // namespace velmora
