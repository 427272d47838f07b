#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "roster/admin_roster.hpp"

namespace velmora::catalogue {

// The separators differ from line to line on purpose: the file must match, byte for byte,
// the layout the server's plug-in documents.

// The key of an entry's personal groups block and of the global one.
inline constexpr std::string_view kGroupsKey = "groups";

// The keys that a personal "groups" block and the global one put groups under.
inline constexpr std::string_view kAdminKind = "Admin";
inline constexpr std::string_view kImmunityKind = "Immunity";

template <typename Group>
struct GroupLine {
  Group group;
  std::string_view name;   // as the menus and the global "groups" section name it
  std::string_view piece;  // ends with the name in quotes
};

// clang-format off
inline constexpr std::array<GroupLine<AdminGroup>, 5> kAdminGroupLines = {{
    {AdminGroup::kServeradmin,    "Serveradmin",      "\n\t\t\t\t\"Admin\"\t\"Serveradmin\""},
    {AdminGroup::kClanmember,     "Clanmember",       "\n\t\t\t\t\"Admin\"\t\"Clanmember\""},
    {AdminGroup::kTeamadmin,      "Teamadmin",        "\n\t\t\t\t\"Admin\"\t\"Teamadmin\""},
    {AdminGroup::kLevel2Access,   "Level 2 Access",   "\n\t\t\t\t\"Admin\"  \"Level 2 Access\""},
    {AdminGroup::kNoRconOrSound,  "No Rcon Or Sound", "\n\t\t\t\t\"Admin\"  \"No Rcon Or Sound\""},
}};

inline constexpr std::array<GroupLine<ImmunityGroup>, 5> kImmunityGroupLines = {{
    {ImmunityGroup::kServeradmin, "Serveradmin",      "\n\t\t\t\t\"Immunity\"  \"Serveradmin\""},
    {ImmunityGroup::kClanmember,  "Clanmember",       "\n\t\t\t\t\"Immunity\"  \"Clanmember\""},
    {ImmunityGroup::kTeamadmin,   "Teamadmin",        "\n\t\t\t\t\"Immunity\"  \"Teamadmin\""},
    {ImmunityGroup::kNoKickBan,   "No Kick Ban",      "\n\t\t\t\t\"Immunity\"  \"No Kick Ban\""},
    {ImmunityGroup::kNoFun,       "NoFun",            "\n\t\t\t\t\"Immunity\"  \"NoFun\""},
}};
// clang-format on

template <typename Line>
constexpr bool endsWithItsName(const Line& line) {
  const std::string_view piece = line.piece;
  const std::size_t nameStart = piece.size() - line.name.size() - 1;
  return piece.size() >= line.name.size() + 2 && piece.ends_with('"') &&
         piece[nameStart - 1] == '"' && piece.substr(nameStart, line.name.size()) == line.name;
}

template <typename Lines>
constexpr bool piecesEndWithTheirNames(const Lines& lines) {
  return std::all_of(lines.begin(), lines.end(),
                     [](const auto& line) { return endsWithItsName(line); });
}
static_assert(piecesEndWithTheirNames(kAdminGroupLines));
static_assert(piecesEndWithTheirNames(kImmunityGroupLines));

// The line whose group a typed code chooses; null for a code that is not on the menu.
template <typename Lines>
constexpr const typename Lines::value_type* lineFor(const Lines& lines, std::int32_t typed) {
  const auto line = std::find_if(lines.begin(), lines.end(),
                                 [typed](const auto& l) { return isCode(typed, l.group); });
  return line == lines.end() ? nullptr : &*line;
}

// The line of a group that is not on the menu, such as one that a hand-made file defines.
inline constexpr std::string_view kOtherAdminGroupPiece = "\n\t\t\t\t\"Admin\"\t\"%s\"";
inline constexpr std::string_view kOtherImmunityGroupPiece = "\n\t\t\t\t\"Immunity\"  \"%s\"";

// The line of the group named name, exactly as the menu spells it; null for any other name.
template <typename Lines>
constexpr const typename Lines::value_type* lineNamed(const Lines& lines, std::string_view name) {
  const auto line =
      std::find_if(lines.begin(), lines.end(), [name](const auto& l) { return l.name == name; });
  return line == lines.end() ? nullptr : &*line;
}

// The global "groups" section, the same in every file. One piece per line, kept whole.
// clang-format off
inline constexpr std::array<std::string_view, 24> kGlobalGroups = {
    "\n\t// These are global groups of flags that can be assigned to clients",
    "\n\t\"groups\"",
    "\n\t{",
    "\n\t\t\"Immunity\"",
    "\n\t\t{",
    "\n\t\t\t\"Serveradmin\"\t\"a b c d e f g h i j k l m n o p q r s t u v x y afk ping autojoin grav Immunity\"",
    "\n\t\t\t\"Clanmember\"    \"a b c k n p ping grav autojoin Immunity\"",
    "\n\t\t\t\"Teamadmin\"     \"b k n ping Immunity\"",
    "\n\t\t\t\"No Kick Ban\"   \"b k Immunity\"",
    "\n\t\t\t\"NoFun\"\t        \"d f g i j l t Immunity\"",
    "\n\t\t}",
    "\n\t\t\"Admin\"",
    "\n\t\t{",
    "\n\t\t\t\"Serveradmin\"  \"A B C D E F G H I J K L M N O P Q R S T U V W X Y Z a b c d e\"",
    "\n\t\t\t\"Serveradmin\"  \"f g i k l m o p q q2 q3 r s t v w x y z admin client grav pban spray\"",
    "\n\t\t\t\"Clanmember\"   \"B D F H I K M N O Q R S T U V W X Y Z a b c d f g i j k l m o p s t v w y admin pban\"",
    "\n\t\t\t\"Teamadmin\"    \"I O V a b k l o p v w admin\"",
    "\n\t\t\t\"Level 2 Access\"\t\"A B C D E F G H I J K L M N O P Q R S T U V W X Y Z a c d e\"",
    "\n\t\t\t\"Level 2 Access\"\t\"f g i j k l m o p q r s t v w z admin spray grav pban client\"",
    "\n\t\t\t\"No Rcon Or Sound\"\t\"A B C D E F G H I J K L M N O P Q R S T U V W X Y Z a b c d\"",
    "\n\t\t\t\"No Rcon Or Sound\"\t\"e f g i j k l m o q s t v w x y z admin spray grav pban\"",
    "\n\t\t\t\"No Rcon Or Sound\"\t\"client\"",
    "\n\t\t}",
    "\n\t}",
};
// clang-format on

}  // namespace velmora::catalogue
