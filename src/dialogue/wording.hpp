#pragma once

#include <string_view>

namespace velmora {

// The texts that differ from admin to admin, chosen by the admin count and position.
struct PromptSet {
  std::string_view namePrompt;
  std::string_view idQuestion;
  std::string_view steamIdPrompt;
  std::string_view steamIdExample;
  std::string_view steamIdHint;
  std::string_view ipAddressPrompt;
  std::string_view groupPrompt;
};

// count is 1 to kMaxAdmins and position is 1 to count.
PromptSet promptSetFor(int count, int position);

// Texts shared by every admin and by the dialogue's opening and closing.
namespace wording {

inline constexpr std::string_view kOpeningQuestion[] = {
    "How many admins do you wish to set up?\n",
    "1=one admin, 2= two admins...",
    "\nNote: Works for 10 admins\n\n",
};
inline constexpr std::string_view kIdMenu = "\n1=by STEAMID, 2=by IP address\n";
inline constexpr std::string_view kAdminGroupMenu[] = {
    "\n1=Serveradmin, 2=Clanmember, 3=Teamadmin\n",
    "4=Level 2 Access, 5=No Rcon Or Sound\n",
};
inline constexpr std::string_view kImmunityQuestion[] = {
    "\nWould you like to give this admin Immunity?",
    "\n1=Yes, 2=No\n",
};
inline constexpr std::string_view kImmunityGroupPrompt[] = {
    "\nEnter the Immunity type this admin will have: ",
    "\n1=Serveradmin, 2=Clanmember, 3=Teamadmin\n",
    "4=No Kick Ban, 5=NoFun\n",
};
inline constexpr std::string_view kClosingHint =
    "\n\nLook for you clients.txt file in the same folder as the velmora";
inline constexpr std::string_view kCreditFrame[] = {
    "\n\n\n", "velmora sets up your server admins so you do not have to type the file by hand.",
    "\n\n",   "Suggestions and corrections are welcome: tell the velmora developers.",
    "\n\n",
};

}  // namespace wording
}  // namespace velmora
