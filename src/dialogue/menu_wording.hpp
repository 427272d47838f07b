#pragma once

#include <string_view>

// The texts of the operator's menu, in the dialogue's manner: short lines and numbered
// choices. %s stands for what each one names.
namespace velmora::menu {

inline constexpr std::string_view kHolds = "\n%s holds %s.\n";
inline constexpr std::string_view kMissing =
    "\n%s does not exist yet, so it holds no admins; the first admin added makes it.\n";
inline constexpr std::string_view kChoices =
    "\n1=list the admins, 2=add an admin, 3=change an admin\n"
    "4=remove an admin, 5=check the file, 6=end\n";

// The choices, by the number the operator types.
enum class Choice { kList = 1, kAdd, kChange, kRemove, kCheck, kEnd };

inline constexpr std::string_view kWhichAdmin =
    "\nWhich admin? A number from 1 to %s, or a name, STEAMID or IP address: ";

inline constexpr std::string_view kName = "\nEnter the admin's name: ";
inline constexpr std::string_view kIdentifier =
    "\nEnter the admin's STEAMID or IP address (an empty line for none): ";
inline constexpr std::string_view kAdminGroup =
    "\nEnter the Group type this admin will be in (an empty line for none):\n";
inline constexpr std::string_view kImmunityGroup =
    "\nEnter the Immunity type this admin will have (an empty line for none):\n";

// The same questions about an admin who is there, with what it has now.
inline constexpr std::string_view kNameNow =
    "\nEnter the admin's name (now %s; an empty line keeps it): ";
inline constexpr std::string_view kIdentifierNow =
    "\nEnter the admin's STEAMID or IP address (now %s; an empty line keeps it, - for none): ";
inline constexpr std::string_view kAdminGroupNow =
    "\nEnter the Group type this admin will be in (now %s; an empty line keeps it, - for "
    "none):\n";
inline constexpr std::string_view kImmunityGroupNow =
    "\nEnter the Immunity type this admin will have (now %s; an empty line keeps it, - for "
    "none):\n";
inline constexpr std::string_view kNoGroupsOfKind = "(the file has no \"%s\" group)\n";

inline constexpr std::string_view kEntryToAdd = "\nThe admin as it will be written:\n";
inline constexpr std::string_view kEntryToRemove = "\nThe admin as the file holds it:\n";
inline constexpr std::string_view kChangeToMake = "\nThe change:\n";
inline constexpr std::string_view kConfirm = "\n1=%s, 2=cancel\n";
inline constexpr std::string_view kCancelled = "Nothing was changed.\n";

// What is said of an answer that does not fit; the question is then asked again.
inline constexpr std::string_view kNotAChoice = "\"%s\" is not one of the choices.\n";
inline constexpr std::string_view kNotAGroup = "\"%s\" is not one of the groups.\n";
inline constexpr std::string_view kNotAnIdentifier =
    "\"%s\" is neither a STEAMID (STEAM_0:1:1234567, or its 64-bit or [U:1:A] form) nor an IP "
    "address.\n";
inline constexpr std::string_view kNameNeeded = "An admin needs a name.\n";
inline constexpr std::string_view kNotAValue =
    "\"%s\" holds a control character, which no value in clients.txt can hold.\n";

inline constexpr std::string_view kCannotStart = "\nPress Enter to close this window.\n";

}  // namespace velmora::menu
