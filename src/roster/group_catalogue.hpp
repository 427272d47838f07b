#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "roster/admin_roster.hpp"

namespace velmora::catalogue {

// The separators differ from line to line on purpose: the file must match, byte for byte,
// the layout the server's plug-in documents.

struct AdminGroupLine {
  AdminGroup group;
  std::string_view piece;
};
inline constexpr std::array<AdminGroupLine, 5> kAdminGroupLines = {{
    {AdminGroup::kServeradmin, "\n\t\t\t\t\"Admin\"\t\"Serveradmin\""},
    {AdminGroup::kClanmember, "\n\t\t\t\t\"Admin\"\t\"Clanmember\""},
    {AdminGroup::kTeamadmin, "\n\t\t\t\t\"Admin\"\t\"Teamadmin\""},
    {AdminGroup::kLevel2Access, "\n\t\t\t\t\"Admin\"  \"Level 2 Access\""},
    {AdminGroup::kNoRconOrSound, "\n\t\t\t\t\"Admin\"  \"No Rcon Or Sound\""},
}};

struct ImmunityGroupLine {
  ImmunityGroup group;
  std::string_view piece;
};
inline constexpr std::array<ImmunityGroupLine, 5> kImmunityGroupLines = {{
    {ImmunityGroup::kServeradmin, "\n\t\t\t\t\"Immunity\"  \"Serveradmin\""},
    {ImmunityGroup::kClanmember, "\n\t\t\t\t\"Immunity\"  \"Clanmember\""},
    {ImmunityGroup::kTeamadmin, "\n\t\t\t\t\"Immunity\"  \"Teamadmin\""},
    {ImmunityGroup::kNoKickBan, "\n\t\t\t\t\"Immunity\"  \"No Kick Ban\""},
    {ImmunityGroup::kNoFun, "\n\t\t\t\t\"Immunity\"  \"NoFun\""},
}};

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
