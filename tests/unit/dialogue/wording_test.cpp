#include "dialogue/wording.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace velmora {
namespace {

constexpr std::string_view kUsualHint = "\t\t\t\t Then you enter: STEAM_0:1:1234567\n";

struct WordingCase {
  int count;
  int position;
  std::string_view namePrompt;
  std::string_view idQuestion;
  std::string_view steamIdPrompt;
  std::string_view steamIdHint;
  std::string_view ipAddressPrompt;
  std::string_view groupPrompt;
};

const std::vector<WordingCase> kWordingCases = {
    {1, 1, "\n\nEnter your name: ", "\n\nAdd admin by STEAMID or IP address?",
     "\n\nEnter your STEAMID:\t", "\t\t\tThen you enter: STEAM_0:1:1234567\n",
     "\n\nEnter your IP address: ", "\nEnter the Group type this admin will be in: "},
    {2, 1, "\n\nEnter the name of the first admin: ", "\n\nAdd admin by STEAMID or IP address?",
     "\n\nEnter the first admin's STEAMID: ", kUsualHint,
     "\n\nEnter the first admin's IP address: ", "\nEnter the Group type this admin will be in:"},
    {2, 2,
     "\n\nEnter the name of the second admin: ", "\n\nAdd this admin by STEAMID or IP address?",
     "\n\nEnter the this admin's STEAMID: ", kUsualHint,
     "\n\nEnter this admin's IP address: ", "\nEnter the Group type this admin will be in"},
    {3, 1, "\n\nEnter the name of the first admin: ", "\n\nAdd admin by STEAMID or IP address?",
     "\n\nEnter the first admin's STEAMID: ", kUsualHint,
     "\n\nEnter the first admin's IP address: ", "\nEnter the Group type this admin will be in"},
    {8, 6,
     "\n\nEnter the name of the sixth admin: ", "\n\nAdd this admin by STEAMID or IP address?",
     "\n\nEnter the this admin's STEAMID: ", kUsualHint,
     "\n\nEnter this admin's IP address: ", "\nEnter the Group type this admin will be in"},
    {9, 6,
     "\n\nEnter the name of the sixth admin: ", "\n\nAdd this admin by STEAMID or IP address?",
     "\n\nEnter the this admin's STEAMID: ", "\t\t\t\t then you enter: STEAM_0:1:1234567\n",
     "\n\nEnter this admin's IP address: ", "\nEnter the Group type this admin will be in"},
    {10, 6,
     "\n\nEnter the name of the sixth admin: ", "\n\nAdd this admin by STEAMID or IP address?",
     "\n\nEnter the this admin's STEAMID: ", "\t\t\t\t then you enter: STEAM_0:1:1234567\n",
     "\n\nEnter this admin's IP address: ", "\nEnter the Group type this admin will be in"},
    {10, 7,
     "\n\nEnter the name of the seventh admin: ", "\n\nAdd this admin by STEAMID or IP address?",
     "\n\nEnter the this admin's STEAMID: ", kUsualHint,
     "\n\nEnter this admin's IP address: ", "\nEnter the Group type this admin will be in"},
    {10, 10,
     "\n\nEnter the name of the tenth admin: ", "\n\nAdd this admin by STEAMID or IP address?",
     "\n\nEnter the this admin's STEAMID: ", "\t\t\tthen you enter: STEAM_0:1:1234567\n",
     "\n\nEnter this admin's IP address: ", "\nEnter the Group type this admin will be in"},
};

TEST(PromptSetFor, PicksTheWordingForCountAndPosition) {
  for (const WordingCase& expected : kWordingCases) {
    SCOPED_TRACE(::testing::Message()
                 << "count " << expected.count << ", position " << expected.position);
    const PromptSet prompts = promptSetFor(expected.count, expected.position);
    EXPECT_EQ(prompts.namePrompt, expected.namePrompt);
    EXPECT_EQ(prompts.idQuestion, expected.idQuestion);
    EXPECT_EQ(prompts.steamIdPrompt, expected.steamIdPrompt);
    EXPECT_EQ(prompts.steamIdHint, expected.steamIdHint);
    EXPECT_EQ(prompts.ipAddressPrompt, expected.ipAddressPrompt);
    EXPECT_EQ(prompts.groupPrompt, expected.groupPrompt);
  }
}

TEST(PromptSetFor, ExampleLineNamesTheOperatorOnlyWhenAlone) {
  EXPECT_EQ(promptSetFor(1, 1).steamIdExample, "Example: if your STEAMID is STEAM_0:1:234567\n");
  for (const auto& [count, position] : {std::pair{2, 1}, {2, 2}, {10, 10}}) {
    EXPECT_EQ(promptSetFor(count, position).steamIdExample,
              "Example: if the STEAMID is STEAM_0:1:234567\n");
  }
}

TEST(PromptSetFor, EveryLaterPositionHasItsOwnNamePrompt) {
  std::vector<std::string_view> seen;
  for (int position = 2; position <= 10; ++position) {
    const std::string_view prompt = promptSetFor(10, position).namePrompt;
    EXPECT_TRUE(prompt.starts_with("\n\nEnter the name of the ")) << prompt;
    EXPECT_TRUE(prompt.ends_with(" admin: ")) << prompt;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), prompt), 0) << prompt;
    seen.push_back(prompt);
  }
}

TEST(PromptSetFor, OnlyPositionsSixAndTenBendTheHint) {
  for (int count = 2; count <= 10; ++count) {
    for (int position = 1; position <= count; ++position) {
      const bool bent = (position == 6 && count >= 9) || position == 10;
      EXPECT_EQ(promptSetFor(count, position).steamIdHint != kUsualHint, bent)
          << "count " << count << ", position " << position;
    }
  }
}

}  // namespace
}  // namespace velmora
