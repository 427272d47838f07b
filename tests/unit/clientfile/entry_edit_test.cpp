#include "clientfile/entry_edit.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "clientfile/client_file.hpp"
#include "dialogue/console.hpp"
#include "dialogue/dialogue.hpp"
#include "keyvalues/key_values.hpp"

namespace velmora {
namespace {

AdminRoster rosterOf(const std::string& answers) {
  std::stringbuf input(answers);
  std::ostringstream output;
  Console console(input, output);
  AdminRoster roster;
  runDialogue(roster, console);
  return roster;
}

std::string edited(const std::string& text, std::size_t index, const EntryValues& wanted) {
  const ClientsFile file = parseClientsFile(text).file;
  return withEdits(text, entryEdits(text, file, layoutOf(text, file), index, wanted).edits);
}

// Whether the entry at index holds wanted once edited, as the check before a write finds it.
bool holdsOnceEdited(const std::string& text, std::size_t index, const EntryValues& wanted) {
  const ClientsFile file = parseClientsFile(text).file;
  const EntryEdits edits = entryEdits(text, file, layoutOf(text, file), index, wanted);
  return editedEntryHolds(text, file, index, edits.edits, wanted);
}

// A file velmora wrote, and the same roster with one admin's answers changed: editing that
// admin in place must give exactly the file velmora writes for the changed roster.
struct WrittenCase {
  std::string what;
  std::string before;  // answers
  std::string after;   // the same answers, one admin changed
  int position;
};

const std::string kAnn = "Ann 1 STEAM_0:1:1 2 2 ";
const std::string kBob = "Bob 2 10.0.0.2 1 1 5 ";
const std::string kCy = "Cy 3 3 2 ";

const std::vector<WrittenCase> kWrittenCases = {
    {"an admin group for another, both written with a tab", "3 " + kAnn + kBob + kCy,
     "3 Ann 1 STEAM_0:1:1 1 2 " + kBob + kCy, 1},
    {"an admin group written with a tab for one written with two blanks", "3 " + kAnn + kBob + kCy,
     "3 Ann 1 STEAM_0:1:1 4 2 " + kBob + kCy, 1},
    {"immunity given", "3 " + kAnn + kBob + kCy, "3 Ann 1 STEAM_0:1:1 2 1 4 " + kBob + kCy, 1},
    {"immunity taken away", "3 " + kAnn + kBob + kCy, "3 " + kAnn + "Bob 2 10.0.0.2 1 2 " + kCy, 2},
    {"a STEAMID for an IP address", "3 " + kAnn + kBob + kCy,
     "3 " + kAnn + "Bob 1 STEAM_0:0:9 1 1 5 " + kCy, 2},
    {"an IP address for a STEAMID", "3 " + kAnn + kBob + kCy, "3 Ann 2 1.2.3.4 2 2 " + kBob + kCy,
     1},
    {"a STEAMID for none", "3 " + kAnn + kBob + kCy, "3 " + kAnn + kBob + "Cy 1 STEAM_1:0:5 3 2 ",
     3},
    {"an IP address for none, and an admin group and immunity where there were none",
     "2 Dee 3 0 2 " + kAnn, "2 Dee 2 10.1.1.1 5 1 1 " + kAnn, 1},
    {"the admin group taken away", "2 " + kAnn + kBob, "2 Ann 1 STEAM_0:1:1 0 2 " + kBob, 1},
    {"a new name, which is the key too", "3 " + kAnn + kBob + kCy,
     "3 " + kAnn + "Robert 2 10.0.0.2 1 1 5 " + kCy, 2},
    {"the last admin's STEAMID", "3 " + kAnn + kBob + kCy,
     "3 " + kAnn + kBob + "Cy 1 STEAM_0:0:1 3 2 ", 3},
};

TEST(EntryEdit, OnAFileVelmoraWroteGivesTheFileItWritesForTheChange) {
  for (const WrittenCase& c : kWrittenCases) {
    const AdminRoster after = rosterOf(c.after);
    EXPECT_EQ(edited(clientsText(rosterOf(c.before)), static_cast<std::size_t>(c.position - 1),
                     entryValuesOf(after.recordAt(c.position))),
              clientsText(after))
        << c.what;
  }
}

// Hand-made layouts: only the tokens that change differ, in the file's own quoting, and what
// is added follows the file's indentation and line ends. Expected texts are written by hand.
struct HandMadeCase {
  std::string what;
  std::string before;
  EntryValues wanted;
  std::string after;
};

EntryValues values(std::string key, std::optional<std::string> name,
                   std::optional<std::string> steam, std::optional<std::string> ip,
                   std::optional<std::string> admin, std::optional<std::string> immunity) {
  return {std::move(key), std::move(name),  std::move(steam),
          std::move(ip),  std::move(admin), std::move(immunity)};
}

const std::vector<HandMadeCase> kHandMadeCases = {
    {"blanks and LF: a value and a group changed, immunity added under the admin group",
     "\"c\"\n{\n  \"players\"\n  {\n    \"Ann\"\n    {\n      \"steam\"  \"STEAM_0:1:1\"  // mine\n"
     "      \"groups\"\n      {\n        \"Admin\" \"Clanmember\"\n      }\n    }\n  }\n}\n",
     values("Ann", std::nullopt, "STEAM_0:1:2", std::nullopt, "Level 2 Access", "NoFun"),
     "\"c\"\n{\n  \"players\"\n  {\n    \"Ann\"\n    {\n      \"steam\"  \"STEAM_0:1:2\"  // mine\n"
     "      \"groups\"\n      {\n        \"Admin\" \"Level 2 Access\"\n"
     "        \"Immunity\"  \"NoFun\"\n      }\n    }\n  }\n}\n"},
    {"an entry on one line, unquoted: words stay unquoted, a text with blanks is quoted",
     "c { players {\n  Ann { steam STEAM_0:1:1 groups { Admin Clanmember } }\n} }\n",
     values("Ann", "Ann B", "STEAM_0:1:1", std::nullopt, "Serveradmin", "No Kick Ban"),
     "c { players {\n  Ann { \"name\" \"Ann B\" steam STEAM_0:1:1 groups { Admin Serveradmin "
     "\"Immunity\" \"No Kick Ban\" } }\n} }\n"},
    {"a condition after a value stays, and the kind changes around it",
     "\"c\" {\n \"players\" {\n  \"Ann\" {\n   \"steam\" \"STEAM_0:1:1\" [$WIN32]\n  }\n }\n}\n",
     values("Ann", std::nullopt, std::nullopt, "1.2.3.4", std::nullopt, std::nullopt),
     "\"c\" {\n \"players\" {\n  \"Ann\" {\n   \"ip\" \"1.2.3.4\" [$WIN32]\n  }\n }\n}\n"},
    {"a value taken away goes with the condition after it",
     "\"c\" {\n \"players\" {\n  \"Ann\" {\n   \"name\" \"Ann\"\n   \"groups\" {\n"
     "    \"Immunity\" \"NoFun\" [$WIN32]\n   }\n  }\n }\n}\n",
     values("Ann", "Ann", std::nullopt, std::nullopt, std::nullopt, std::nullopt),
     "\"c\" {\n \"players\" {\n  \"Ann\" {\n   \"name\" \"Ann\"\n   \"groups\" {\n   }\n  }\n "
     "}\n}\n"},
    {"an entry without a groups block gets velmora's, in the entry's indentation",
     "\"c\"\n{\n\t\"players\"\n\t{\n\t\t\"Ann\"\n\t\t{\n\t\t\t\"ip\"\t\"1.2.3.4\"\n\t\t}\n\t}\n}",
     values("Ann", std::nullopt, std::nullopt, "1.2.3.4", "Teamadmin", std::nullopt),
     "\"c\"\n{\n\t\"players\"\n\t{\n\t\t\"Ann\"\n\t\t{\n\t\t\t\"ip\"\t\"1.2.3.4\"\n"
     "\t\t\t// These are personal access flags for a player\n\t\t\t\"groups\"\n\t\t\t{\n"
     "\t\t\t\t\"Admin\"\t\"Teamadmin\"\n\t\t\t}\n\t\t}\n\t}\n}"},
    {"an identifier taken out from its own line, where the groups block then goes",
     "\"c\" {\n  \"players\" {\n    \"Ann\" {\n      \"name\" \"Ann\"\n      \"ip\" \"1.2.3.4\"\n"
     "    }\n  }\n}\n",
     values("Ann", "Ann", std::nullopt, std::nullopt, "Teamadmin", std::nullopt),
     "\"c\" {\n  \"players\" {\n    \"Ann\" {\n      \"name\" \"Ann\"\n"
     "      // These are personal access flags for a player\n      \"groups\"\n      {\n"
     "        \"Admin\"\t\"Teamadmin\"\n      }\n    }\n  }\n}\n"},
    {"values without quotes that would read as a condition or a comment get quotes",
     "c { players { Ann { name Ann ip 1.2.3.4 } } }",
     values("Ann", "Ann[1]", std::nullopt, "//x", std::nullopt, std::nullopt),
     "c { players { Ann { name \"Ann[1]\" ip \"//x\" } } }"},
    {"a value without quotes that would begin a block comment gets quotes",
     "c { players { Ann { name Ann } } }",
     values("Ann", "/*x", std::nullopt, std::nullopt, std::nullopt, std::nullopt),
     "c { players { Ann { name \"/*x\" } } }"},
    {"a name changed back to the entry's key",
     "\"c\" { \"players\" { \"Ann\" { \"name\" \"Ann B\" } } }",
     values("Ann", "Ann", std::nullopt, std::nullopt, std::nullopt, std::nullopt),
     "\"c\" { \"players\" { \"Ann\" { \"name\" \"Ann\" } } }"},
    {"CR LF: an identifier taken out from its own line, where the groups block then goes",
     "\"c\" {\r\n  \"players\" {\r\n    \"Ann\" {\r\n      \"name\" \"Ann\"\r\n"
     "      \"ip\" \"1.2.3.4\"\r\n    }\r\n  }\r\n}\r\n",
     values("Ann", "Ann", std::nullopt, std::nullopt, "Teamadmin", std::nullopt),
     "\"c\" {\r\n  \"players\" {\r\n    \"Ann\" {\r\n      \"name\" \"Ann\"\r\n"
     "      // These are personal access flags for a player\r\n      \"groups\"\r\n      {\r\n"
     "        \"Admin\"\t\"Teamadmin\"\r\n      }\r\n    }\r\n  }\r\n}\r\n"},
    {"a part added first goes below a comment after the entry's opening brace",
     "\"c\"\n{\n\t\"players\"\n\t{\n\t\t\"Ann\"\n\t\t{ // mine\n\t\t\t\"ip\"\t\"1.2.3.4\"\n\t\t}\n"
     "\t}\n}",
     values("Ann", "Ann", std::nullopt, "1.2.3.4", std::nullopt, std::nullopt),
     "\"c\"\n{\n\t\"players\"\n\t{\n\t\t\"Ann\"\n\t\t{ // mine\n\t\t\t// Client real name\n"
     "\t\t\t\"name\"\t\"Ann\"\n\t\t\t\"ip\"\t\"1.2.3.4\"\n\t\t}\n\t}\n}"},
    {"a group taken out keeps the blank line above it",
     "\"c\" {\n \"players\" {\n  \"Ann\" {\n   \"groups\" {\n    \"Admin\" \"x\"\n\n"
     "    \"Immunity\" \"NoFun\"\n   }\n  }\n }\n}\n",
     values("Ann", std::nullopt, std::nullopt, std::nullopt, "x", std::nullopt),
     "\"c\" {\n \"players\" {\n  \"Ann\" {\n   \"groups\" {\n    \"Admin\" \"x\"\n\n   }\n"
     "  }\n }\n}\n"},
    {"an entry on one line without groups gets its groups block on that line",
     "\"c\" { \"players\" { \"Ann\" { \"ip\" \"1.2.3.4\" } } }",
     values("Ann", std::nullopt, std::nullopt, "1.2.3.4", "Teamadmin", "NoFun"),
     "\"c\" { \"players\" { \"Ann\" { \"ip\" \"1.2.3.4\" \"groups\" { \"Admin\" \"Teamadmin\" "
     "\"Immunity\" \"NoFun\" } } } }"},
    {"a key in another letter case and a group in the file's spelling",
     "\"c\" { \"players\" { \"ann\" { \"groups\" { \"admin\" \"x\" } } } }",
     values("Ann", std::nullopt, std::nullopt, std::nullopt, "Teamadmin", std::nullopt),
     "\"c\" { \"players\" { \"Ann\" { \"groups\" { \"admin\" \"Teamadmin\" } } } }"},
    {"a block among the groups is passed over, as the server passes over it",
     "\"c\" { \"players\" { \"Ann\" { \"groups\" { \"x\" { } \"Admin\" \"Mod\" } } } }",
     values("Ann", std::nullopt, std::nullopt, std::nullopt, "Teamadmin", std::nullopt),
     "\"c\" { \"players\" { \"Ann\" { \"groups\" { \"x\" { } \"Admin\" \"Teamadmin\" } } } }"},
};

TEST(EntryEdit, OnAHandMadeFileChangesOnlyTheTokensThatDiffer) {
  for (const HandMadeCase& c : kHandMadeCases) {
    const std::string result = edited(c.before, 0, c.wanted);
    EXPECT_EQ(result, c.after) << c.what;
    EXPECT_TRUE(holdsOnceEdited(c.before, 0, c.wanted)) << c.what;
  }
}

TEST(EntryEdit, AnEntryThatCannotHoldTheChangeIsNamed) {
  // A plain "groups" value hides any groups block after it from the server's reader.
  const std::string text = "\"c\" { \"players\" { \"Ann\" { \"groups\" \"none\" } } }";
  const EntryValues wanted =
      values("Ann", std::nullopt, std::nullopt, std::nullopt, "Teamadmin", std::nullopt);
  EXPECT_FALSE(holdsOnceEdited(text, 0, wanted));
}

}  // namespace
}  // namespace velmora
