#include "clientfile/groups_edit.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clientfile/clients_file_reader.hpp"

namespace velmora {
namespace {

struct Read {
  std::string kind;
  std::string name;
  std::string flags;
  std::size_t line;
};

struct ReadCase {
  std::string what;
  std::string text;
  std::vector<Read> groups;  // worked out by hand from the text
};

const std::vector<ReadCase> kReadCases = {
    {"one line each, CR LF",
     "\"c\"\r\n{\r\n\"players\" { }\r\n\"groups\"\r\n{\r\n\"Admin\"\r\n{\r\n\"Mod\"\t\"a b\"\r\n"
     "\"Vip\" \"\"\r\n}\r\n}\r\n}",
     {{"Admin", "Mod", "a b", 8}, {"Admin", "Vip", "", 9}}},
    {"several lines under one key, letter case aside, with a comment between",
     "\"c\" { \"players\" { }\n\"groups\" {\n\"admin\" {\n\"Mod\" \"a  b\"\n// more\n"
     "\"MOD\"\t\"c\"\n} } }",
     {{"Admin", "Mod", "a b c", 4}}},
    {"both kinds, and a block and another kind that are no groups",
     "\"c\" { \"players\" { } \"groups\" { \"Immunity\" { \"Vip\" \"x\" \"Sub\" { } }\n"
     "\"Other\" { \"Mod\" \"y\" } \"Admin\" { \"Mod\" \"z\" } } }",
     {{"Immunity", "Vip", "x", 1}, {"Admin", "Mod", "z", 2}}},
};

TEST(DefinedGroups, AreEachKindAndNameWithTheFlagsOfAllTheirLines) {
  for (const ReadCase& c : kReadCases) {
    const ParsedClientsFile parsed = parseClientsFile(c.text);
    ASSERT_FALSE(parsed.document.error) << c.what;
    std::vector<Read> read;
    for (const DefinedGroup& group : definedGroupsOf(parsed.file)) {
      read.push_back({std::string(group.kind), group.name, group.flagText(), group.line});
    }
    ASSERT_EQ(read.size(), c.groups.size()) << c.what;
    for (std::size_t i = 0; i < read.size(); ++i) {
      EXPECT_EQ(read[i].kind, c.groups[i].kind) << c.what;
      EXPECT_EQ(read[i].name, c.groups[i].name) << c.what;
      EXPECT_EQ(read[i].flags, c.groups[i].flags) << c.what;
      EXPECT_EQ(read[i].line, c.groups[i].line) << c.what;
    }
  }
}

struct EditCase {
  std::string what;
  std::string before;
  std::vector<RosterGroup> roster;
  bool prune;
  std::string after;  // written out by hand
};

const std::string kPlayers = "\"c\"\n{\n    \"players\"\n    {\n    }\n";

const std::vector<EditCase> kEditCases = {
    {"added to the kind block, in the indentation of its lines",
     kPlayers + "    \"groups\"\n    {\n        \"Admin\"\n        {\n            \"Old\" \"a\"\n"
                "        }\n    }\n}",
     {{"Admin", "New", "b c"}},
     false,
     kPlayers + "    \"groups\"\n    {\n        \"Admin\"\n        {\n            \"Old\" \"a\"\n"
                "            \"New\"\t\"b c\"\n        }\n    }\n}"},
    {"added in the indentation of the lines there, though it is not the block's and a level",
     kPlayers + "    \"groups\"\n    {\n        \"Admin\"\n        {\n\t\t\t\"Old\" \"a\"\n"
                "        }\n    }\n}",
     {{"Admin", "New", "b"}},
     false,
     kPlayers + "    \"groups\"\n    {\n        \"Admin\"\n        {\n\t\t\t\"Old\" \"a\"\n"
                "\t\t\t\"New\"\t\"b\"\n        }\n    }\n}"},
    {"added to a kind block that is missing",
     kPlayers + "    \"groups\"\n    {\n        \"Admin\"\n        {\n        }\n    }\n}",
     {{"Immunity", "Vip", ""}},
     false,
     kPlayers + "    \"groups\"\n    {\n        \"Admin\"\n        {\n        }\n"
                "        \"Immunity\"\n        {\n            \"Vip\"\t\"\"\n        }\n    }\n}"},
    {"added to a section that is missing, with velmora's comment above it",
     "\"c\"\r\n{\r\n\t\"players\"\r\n\t{\r\n\t}\r\n}",
     {{"Admin", "Mod", "a"}},
     false,
     "\"c\"\r\n{\r\n\t\"players\"\r\n\t{\r\n\t}\r\n"
     "\t// These are global groups of flags that can be assigned to clients\r\n\t\"groups\"\r\n"
     "\t{\r\n\t\t\"Admin\"\r\n\t\t{\r\n\t\t\t\"Mod\"\t\"a\"\r\n\t\t}\r\n\t}\r\n}"},
    {"changed over two lines to one, the comment above it kept",
     kPlayers + "    \"groups\"\n    {\n        \"Admin\"\n        {\n            // ours\n"
                "            \"Mod\"  \"a b\"\n            \"mod\"  \"c\"\n        }\n    }\n}",
     {{"Admin", "MOD", "a  d"}},
     false,
     kPlayers + "    \"groups\"\n    {\n        \"Admin\"\n        {\n            // ours\n"
                "            \"Mod\"  \"a  d\"\n        }\n    }\n}"},
    {"the same words over two lines are no change",
     kPlayers + "    \"groups\" { \"Admin\" { \"Mod\" \"a\" \"Mod\" \"b\" } }\n}",
     {{"Admin", "Mod", " a\tb "}},
     false,
     kPlayers + "    \"groups\" { \"Admin\" { \"Mod\" \"a\" \"Mod\" \"b\" } }\n}"},
    {"taken out with all its lines, when pruned",
     kPlayers + "    \"groups\"\n    {\n        \"Admin\"\n        {\n            \"Mod\" \"a\"\n"
                "            \"Old\" \"b\"\n            \"Old\" \"c\"\n        }\n    }\n}",
     {{"Admin", "Mod", "a"}},
     true,
     kPlayers + "    \"groups\"\n    {\n        \"Admin\"\n        {\n            \"Mod\" \"a\"\n"
                "        }\n    }\n}"},
};

TEST(GroupEdits, FollowTheFileAndChangeOnlyWhatDiffers) {
  for (const EditCase& c : kEditCases) {
    const ParsedClientsFile parsed = parseClientsFile(c.before);
    ASSERT_FALSE(parsed.document.error) << c.what;
    const GroupsPlan plan = planGroups(parsed.file, c.roster, c.prune);
    const std::vector<TextEdit> edits =
        groupEdits(c.before, parsed.file, layoutOf(c.before, parsed.file), plan, c.roster);
    EXPECT_EQ(withEdits(c.before, inTextOrder(c.before, edits)), c.after) << c.what;
  }
}

}  // namespace
}  // namespace velmora
