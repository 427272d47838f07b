#include "dialogue/wording.hpp"

#include <array>

namespace velmora {
namespace {

constexpr PromptSet kSingleSet = {
    .namePrompt = "\n\nEnter your name: ",
    .idQuestion = "\n\nAdd admin by STEAMID or IP address?",
    .steamIdPrompt = "\n\nEnter your STEAMID:\t",
    .steamIdExample = "Example: if your STEAMID is STEAM_0:1:234567\n",
    .steamIdHint = "\t\t\tThen you enter: STEAM_0:1:1234567\n",
    .ipAddressPrompt = "\n\nEnter your IP address: ",
    .groupPrompt = "\nEnter the Group type this admin will be in: ",
};

constexpr PromptSet kFirstSet = {
    .namePrompt = "\n\nEnter the name of the first admin: ",
    .idQuestion = "\n\nAdd admin by STEAMID or IP address?",
    .steamIdPrompt = "\n\nEnter the first admin's STEAMID: ",
    .steamIdExample = "Example: if the STEAMID is STEAM_0:1:234567\n",
    .steamIdHint = "\t\t\t\t Then you enter: STEAM_0:1:1234567\n",
    .ipAddressPrompt = "\n\nEnter the first admin's IP address: ",
    .groupPrompt = "\nEnter the Group type this admin will be in",
};

// The first admin's group prompt ends in a colon only when exactly two admins are set up.
constexpr std::string_view kFirstOfTwoGroupPrompt = "\nEnter the Group type this admin will be in:";

constexpr PromptSet kLaterSet = {
    .namePrompt = {},  // by position, from kLaterNamePrompts
    .idQuestion = "\n\nAdd this admin by STEAMID or IP address?",
    .steamIdPrompt = "\n\nEnter the this admin's STEAMID: ",
    .steamIdExample = "Example: if the STEAMID is STEAM_0:1:234567\n",
    .steamIdHint = "\t\t\t\t Then you enter: STEAM_0:1:1234567\n",
    .ipAddressPrompt = "\n\nEnter this admin's IP address: ",
    .groupPrompt = "\nEnter the Group type this admin will be in",
};

// Indexed by position - 2.
constexpr std::array<std::string_view, 9> kLaterNamePrompts = {
    "\n\nEnter the name of the second admin: ", "\n\nEnter the name of the third admin: ",
    "\n\nEnter the name of the fourth admin: ", "\n\nEnter the name of the fifth admin: ",
    "\n\nEnter the name of the sixth admin: ",  "\n\nEnter the name of the seventh admin: ",
    "\n\nEnter the name of the eighth admin: ", "\n\nEnter the name of the ninth admin: ",
    "\n\nEnter the name of the tenth admin: ",
};

struct HintException {
  int position;
  int minCount;
  std::string_view steamIdHint;
};

constexpr std::array<HintException, 2> kLaterHintExceptions = {{
    {6, 9, "\t\t\t\t then you enter: STEAM_0:1:1234567\n"},
    {10, 10, "\t\t\tthen you enter: STEAM_0:1:1234567\n"},
}};

PromptSet laterSetFor(int count, int position) {
  PromptSet prompts = kLaterSet;
  prompts.namePrompt = kLaterNamePrompts.at(static_cast<std::size_t>(position - 2));
  for (const HintException& exception : kLaterHintExceptions) {
    if (position == exception.position && count >= exception.minCount) {
      prompts.steamIdHint = exception.steamIdHint;
    }
  }
  return prompts;
}

}  // namespace

PromptSet promptSetFor(int count, int position) {
  if (count == 1) {
    return kSingleSet;
  }
  if (position == 1) {
    PromptSet prompts = kFirstSet;
    if (count == 2) {
      prompts.groupPrompt = kFirstOfTwoGroupPrompt;
    }
    return prompts;
  }
  return laterSetFor(count, position);
}

}  // namespace velmora
