#include "clientfile/clients_file_remove.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "clientfile/clients_file_check.hpp"
#include "keyvalues/key_values.hpp"

namespace velmora {
namespace {

std::string textWithout(std::string_view text, const ClientsFile& file, std::string_view wanted) {
  return withEdits(text, withoutAdmins(text, file, wanted).edits);
}

// A hand-made file: LF line ends, blanks for indentation, comments, entries sharing lines.
const std::string kHandMade =
    "// admins of our server\n"
    "\"clients.txt\"\n"
    "{\n"
    "  \"players\"   // everyone\n"
    "  {\n"
    "    // This must be a unique client name\n"
    "    \"Ann\"\n"
    "    {\n"
    "      \"name\"  \"Ann\"\n"
    "      \"steam\" \"STEAM_0:1:1\"\n"
    "    }\n"
    "    Bob { ip 10.0.0.2 }   // without quotes, and a comment after it\n"
    "    \"Cy\" { \"name\" \"Bob\" } \"Dee\" { \"steam\" \"STEAM_0:0:4\" }\n"
    "    // the new one\n"
    "    \"bob\"\n"
    "    {\n"
    "      \"ip\" \"10.0.0.5\"\n"
    "    }\n"
    "  }\n"
    "}\n";

struct RemovalCase {
  std::string what;
  std::string wanted;
  std::vector<std::size_t> removed;
  std::string expected;  // written out by hand
};

const std::vector<RemovalCase> kRemovalCases = {
    {"by key, with velmora's comment above it",
     "Ann",
     {0},
     "// admins of our server\n\"clients.txt\"\n{\n  \"players\"   // everyone\n  {\n"
     "    Bob { ip 10.0.0.2 }   // without quotes, and a comment after it\n"
     "    \"Cy\" { \"name\" \"Bob\" } \"Dee\" { \"steam\" \"STEAM_0:0:4\" }\n"
     "    // the new one\n    \"bob\"\n    {\n      \"ip\" \"10.0.0.5\"\n    }\n  }\n}\n"},
    {"by key and by name, letter case aside: a comment that is not velmora's stays",
     "BOB",
     {1, 2, 4},
     "// admins of our server\n\"clients.txt\"\n{\n  \"players\"   // everyone\n  {\n"
     "    // This must be a unique client name\n    \"Ann\"\n    {\n      \"name\"  \"Ann\"\n"
     "      \"steam\" \"STEAM_0:1:1\"\n    }\n"
     "       // without quotes, and a comment after it\n"
     "     \"Dee\" { \"steam\" \"STEAM_0:0:4\" }\n"
     "    // the new one\n  }\n}\n"},
    {"by STEAMID, from a line shared with another entry",
     "steam_0:0:4",
     {3},
     "// admins of our server\n\"clients.txt\"\n{\n  \"players\"   // everyone\n  {\n"
     "    // This must be a unique client name\n    \"Ann\"\n    {\n      \"name\"  \"Ann\"\n"
     "      \"steam\" \"STEAM_0:1:1\"\n    }\n"
     "    Bob { ip 10.0.0.2 }   // without quotes, and a comment after it\n"
     "    \"Cy\" { \"name\" \"Bob\" } \n"
     "    // the new one\n    \"bob\"\n    {\n      \"ip\" \"10.0.0.5\"\n    }\n  }\n}\n"},
    {"by IP address, the last entry",
     "10.0.0.5",
     {4},
     "// admins of our server\n\"clients.txt\"\n{\n  \"players\"   // everyone\n  {\n"
     "    // This must be a unique client name\n    \"Ann\"\n    {\n      \"name\"  \"Ann\"\n"
     "      \"steam\" \"STEAM_0:1:1\"\n    }\n"
     "    Bob { ip 10.0.0.2 }   // without quotes, and a comment after it\n"
     "    \"Cy\" { \"name\" \"Bob\" } \"Dee\" { \"steam\" \"STEAM_0:0:4\" }\n"
     "    // the new one\n  }\n}\n"},
    {"no match", "Eve", {}, kHandMade},
    {"a group name is no admin's name", "Serveradmin", {}, kHandMade},
};

TEST(RemoveAdmins, TakesOutWhatMatchesAndKeepsEveryOtherByte) {
  const ParsedClientsFile parsed = parseClientsFile(kHandMade);
  ASSERT_FALSE(parsed.document.error);
  const ClientsFile& file = parsed.file;
  for (const RemovalCase& c : kRemovalCases) {
    const Removal removal = withoutAdmins(kHandMade, file, c.wanted);
    EXPECT_EQ(removal.removed, c.removed) << c.what;
    EXPECT_EQ(withEdits(kHandMade, removal.edits), c.expected) << c.what;
  }
}

TEST(RemoveAdmins, OnlyEntryOfACrLfFile) {
  const std::string text =
      "\"clients.txt\"\r\n{\r\n\t\"players\"\r\n\t{\r\n\t\t// This must be a unique client name"
      "\r\n\t\t\"Ann\"\r\n\t\t{\r\n\t\t\t\"ip\"\t\"1.2.3.4\"\r\n\t\t}\r\n\t}\r\n}";
  const ClientsFile file = parseClientsFile(text).file;
  EXPECT_EQ(textWithout(text, file, "ann"),
            "\"clients.txt\"\r\n{\r\n\t\"players\"\r\n\t{\r\n\t}\r\n}");
}

TEST(RemoveAdmins, TakesAnEntrysConditionWithIt) {
  const std::string text =
      "\"c\"\n{\n  \"players\"\n  {\n    \"Ann\" [$WIN32]\n    {\n      \"ip\" \"1.2.3.4\"\n    }\n"
      "    \"Bob\" [$X360] { \"ip\" \"1.2.3.5\" } \"Cy\" { }\n  }\n}\n";
  const ClientsFile file = parseClientsFile(text).file;
  EXPECT_EQ(textWithout(text, file, "Ann"),
            "\"c\"\n{\n  \"players\"\n  {\n"
            "    \"Bob\" [$X360] { \"ip\" \"1.2.3.5\" } \"Cy\" { }\n  }\n}\n");
  EXPECT_EQ(textWithout(text, file, "Bob"),
            "\"c\"\n{\n  \"players\"\n  {\n    \"Ann\" [$WIN32]\n    {\n      \"ip\" \"1.2.3.4\"\n"
            "    }\n     \"Cy\" { }\n  }\n}\n");
}

// Each form of one account finds the entries written in every other form, and no other
// account; matching by text, letter case aside, stays as it was.
struct AccountCase {
  std::string wanted;
  std::vector<std::size_t> removed;
};

const std::vector<AccountCase> kAccountCases = {
    {"STEAM_0:0:11101", {0, 1, 2, 3}},
    {"STEAM_1:0:11101", {0, 1, 2, 3}},
    {"76561197960287930", {0, 1, 2, 3, 5}},  // F's IP address is that text
    {"[U:1:22202]", {0, 1, 2, 3}},
    {"[u:1:22202]", {3}},  // D's STEAMID, letter case aside; no account form
    {"STEAM_0:1:11101", {4}},
    {"76561197960287931", {4}},
    {"[U:1:022202]", {}},
};

TEST(RemoveAdmins, FindsAnAccountByAnyFormOfItsSteamId) {
  const std::string text =
      "\"c\" { \"players\" {\n"
      "  \"A\" { \"steam\" \"STEAM_0:0:11101\" }\n  \"B\" { \"steam\" \"STEAM_1:0:11101\" }\n"
      "  \"C\" { \"steam\" \"76561197960287930\" }\n  \"D\" { \"steam\" \"[U:1:22202]\" }\n"
      "  \"E\" { \"steam\" \"STEAM_0:1:11101\" }\n  \"F\" { \"ip\" \"76561197960287930\" }\n"
      "} }";
  const ClientsFile file = parseClientsFile(text).file;
  for (const AccountCase& c : kAccountCases) {
    EXPECT_EQ(withoutAdmins(text, file, c.wanted).removed, c.removed) << c.wanted;
  }
}

TEST(RemoveAdmins, APlainKeyUnderPlayersIsNoAdmin) {
  const std::string text = "\"c\" { \"players\" { \"Eve\" \"x\" \"Ann\" { \"ip\" \"Eve\" } } }";
  const Removal removal = withoutAdmins(text, parseClientsFile(text).file, "Eve");
  EXPECT_EQ(removal.removed, std::vector<std::size_t>{1});
  EXPECT_EQ(withEdits(text, removal.edits), "\"c\" { \"players\" { \"Eve\" \"x\"  } }");
}

// --check and --remove must agree on which names are the same: A to Z letter case aside, and
// nothing more.
struct SameNameCase {
  std::string first;
  std::string second;
  bool same;
};

const std::vector<SameNameCase> kSameNameCases = {
    {"Bob", "bOB", true},
    {"Bob", "Bob", true},
    {"Bob", "Bobb", false},
    {"\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd", "\xd0\x98\xd0\x92\xd0\x90\xd0\x9d", false},  // Ivan, IVAN
    {"[A]", "{a}", false},
};

TEST(RemoveAdmins, AgreesWithTheCheckOnWhichNamesAreTheSame) {
  for (const SameNameCase& c : kSameNameCases) {
    const std::string text =
        "\"c\" { \"players\" { \"" + c.first + "\" { } \"" + c.second + "\" { } } }";
    const CheckReport report = checkClientsText("f", text);
    const bool checkSaysSame =
        std::any_of(report.lines.begin(), report.lines.end(), [](const std::string& line) {
          return line.find("has the same name") != std::string::npos;
        });
    const Removal removal = withoutAdmins(text, parseClientsFile(text).file, c.first);
    EXPECT_EQ(checkSaysSame, c.same) << c.second;
    EXPECT_EQ(removal.removed.size(), c.same ? 2U : 1U) << c.second;
  }
}

}  // namespace
}  // namespace velmora
