#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmora {

inline constexpr int kMaxAdmins = 10;
// Room for the longest text answer plus the terminating NUL of a classic fixed field.
inline constexpr std::size_t kTextFieldSize = 32;

// The numbers an operator types at the menus. Fields store any typed number unchanged;
// a value that is not listed here means "no method" or "no group".
enum class IdMethod : std::int32_t { kBySteamId = 1, kByIpAddress = 2 };
enum class AdminGroup : std::int32_t {
  kServeradmin = 1,
  kClanmember = 2,
  kTeamadmin = 3,
  kLevel2Access = 4,
  kNoRconOrSound = 5,
};
enum class ImmunityGroup : std::int32_t {
  kServeradmin = 1,
  kClanmember = 2,
  kTeamadmin = 3,
  kNoKickBan = 4,
  kNoFun = 5,
};
enum class ImmunityAnswer : std::int32_t { kYes = 1, kNo = 2 };

template <typename Code>
constexpr bool isCode(std::int32_t typed, Code code) {
  return typed == static_cast<std::int32_t>(code);
}

// A one-word text answer, kept to at most kTextFieldSize - 1 bytes.
class TextField {
 public:
  static constexpr std::size_t kMaxLength = kTextFieldSize - 1;
  // How much of a longer word assign must see to cut it right: a character that begins
  // among the kept bytes may end up to three bytes after them.
  static constexpr std::size_t kBytesToJudgeCut = kMaxLength + 3;

  // Keeps at most kMaxLength bytes of text, and never the first part of a character that
  // would not fit whole, so a name in any script stays UTF-8.
  void assign(std::string_view text);
  void clear() { *this = TextField{}; }
  [[nodiscard]] std::string_view view() const { return {chars_.data(), length_}; }
  // Whether assign had to leave out part of its text.
  [[nodiscard]] bool wasCut() const { return cut_; }

 private:
  std::array<char, kMaxLength> chars_{};
  std::size_t length_ = 0;
  bool cut_ = false;
};

struct AdminRecord {
  TextField name;
  std::int32_t idMethod = 0;
  TextField steamId;
  TextField ipAddress;
  std::int32_t adminGroup = 0;
  std::int32_t immunityAnswer = 0;
  std::int32_t immunityGroup = 0;
};

struct AdminRoster {
  std::int32_t count = 0;
  std::array<AdminRecord, kMaxAdmins> admins{};

  void clear();
  // Only counts of 1 to kMaxAdmins select admins; any other count selects none.
  [[nodiscard]] bool selectsAdmins() const { return count >= 1 && count <= kMaxAdmins; }
  // position is 1 to kMaxAdmins.
  [[nodiscard]] AdminRecord& recordAt(int position) { return admins.at(position - 1); }
  [[nodiscard]] const AdminRecord& recordAt(int position) const { return admins.at(position - 1); }
};

}  // namespace velmora
