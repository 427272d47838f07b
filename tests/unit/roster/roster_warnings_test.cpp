#include "roster/roster_warnings.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "dialogue/console.hpp"
#include "dialogue/dialogue.hpp"

namespace velmora {
namespace {

// The warnings of a whole session, text typed where a number was asked included, after the
// entries already in the file (earlier).
std::vector<std::string> warningsFor(const std::string& answers,
                                     std::span<const EntryFacts> earlier = {}) {
  std::stringbuf input(answers);
  std::ostringstream output;
  Console console(input, output);
  AdminRoster roster;
  runDialogue(roster, console);
  return rosterWarnings(roster, earlier, console.strayTexts());
}

struct RosterCase {
  std::string what;
  std::string answers;
  std::vector<std::string> warnings;  // each without the "velmora: warning: " in front
};

const std::string kSound = "Ann 1 STEAM_0:1:1234567 1 1 5 ";

const std::vector<RosterCase> kRosterCases = {
    {"sound STEAMID admin", "1 " + kSound, {}},
    {"sound admins at the edges of every rule",
     "4 Ann 1 STEAM_5:0:0 5 2 Bob 2 255.255.255.255 1 1 1 Cy 2 0.0.0.0 3 2 Dee 1 STEAM_0:1:9 4 1 "
     "4",
     {}},
    {"quote and backslash are replaced",
     "1 a\"b 1 STEAM_0:1:1\\ 1 2",
     {R"(admin 1 (a"b): the name "a"b" is written as "a'b": a value in clients.txt cannot hold " or \)",
      R"(admin 1 (a"b): the STEAMID "STEAM_0:1:1\" is written as "STEAM_0:1:1/": a value in )"
      R"(clients.txt cannot hold " or \)",
      R"(admin 1 (a"b): "STEAM_0:1:1/" is not a STEAMID: it must look like STEAM_0:1:1234567 )"
      "(STEAM_X:Y:Z with X 0 to 5, Y 0 or 1 and Z digits)"}},
    {"same names, letter case aside, are named together",
     "3 Bob 1 STEAM_0:1:1 1 2 Ann 1 STEAM_0:1:2 1 2 bob 1 STEAM_0:1:3 1 2",
     {"admin 1 (Bob) and admin 3 (bob) have the same name, so the server keeps only one of "
      "their entries"}},
    {"names that the file writes alike are the same",
     "2 a\"b 2 1.2.3.4 1 2 a'b 2 1.2.3.5 1 2",
     {R"(admin 1 (a"b): the name "a"b" is written as "a'b": a value in clients.txt cannot hold " or \)",
      "admin 1 (a\"b) and admin 2 (a'b) have the same name, so the server keeps only one of "
      "their entries"}},
    {"identification not on the menu",
     "1 Ann 3 1 2",
     {"admin 1 (Ann): identification answer 3 is neither 1 (STEAMID) nor 2 (IP address): the "
      "entry has no STEAMID or IP address, so the server cannot recognise this admin"}},
    {"input ends before the IP address",
     "1 Ann 2",
     {"admin 1 (Ann): the IP address is empty, so the server cannot recognise this admin",
      "admin 1 (Ann): the entry names no admin group, so it gives no admin rights"}},
    {"malformed STEAMIDs",
     "4 A 1 steam_0:1:123 1 2 B 1 STEAM_6:1:1 1 2 C 1 STEAM_0:2:1 1 2 D 1 STEAM_0:1: 1 2",
     {R"(admin 1 (A): "steam_0:1:123" is not a STEAMID: it must look like STEAM_0:1:1234567 )"
      "(STEAM_X:Y:Z with X 0 to 5, Y 0 or 1 and Z digits)",
      R"(admin 2 (B): "STEAM_6:1:1" is not a STEAMID: it must look like STEAM_0:1:1234567 )"
      "(STEAM_X:Y:Z with X 0 to 5, Y 0 or 1 and Z digits)",
      R"(admin 3 (C): "STEAM_0:2:1" is not a STEAMID: it must look like STEAM_0:1:1234567 )"
      "(STEAM_X:Y:Z with X 0 to 5, Y 0 or 1 and Z digits)",
      R"(admin 4 (D): "STEAM_0:1:" is not a STEAMID: it must look like STEAM_0:1:1234567 )"
      "(STEAM_X:Y:Z with X 0 to 5, Y 0 or 1 and Z digits)"}},
    {"Steam IDs in their 64-bit and [U:1:A] forms, with the STEAMID to type",
     "3 A 1 76561197960287930 1 2 B 1 [U:1:22203] 1 2 C 1 76561197960265727 1 2",
     {R"(admin 1 (A): "76561197960287930" is a Steam ID in its 64-bit form; as a STEAMID it is )"
      "STEAM_0:0:11101",
      R"(admin 2 (B): "[U:1:22203]" is a Steam ID in its [U:1:A] form; as a STEAMID it is )"
      "STEAM_0:1:11101",
      R"(admin 3 (C): "76561197960265727" is not a STEAMID: it must look like STEAM_0:1:1234567 )"
      "(STEAM_X:Y:Z with X 0 to 5, Y 0 or 1 and Z digits)"}},
    {"one account across forms and across STEAM_0 and STEAM_1",
     "4 A 1 STEAM_0:0:11101 1 2 B 1 STEAM_1:0:11101 1 2 C 1 [U:1:22202] 1 2 D 1 STEAM_0:1:11101 1 "
     "2",
     {"admin 1 (A), admin 2 (B) and admin 3 (C) have the same Steam account, STEAM_0:0:11101, so "
      "one person has several entries, perhaps with different groups",
      R"(admin 3 (C): "[U:1:22202]" is a Steam ID in its [U:1:A] form; as a STEAMID it is )"
      "STEAM_0:0:11101"}},
    {"the same STEAMID text twice, even one velmora cannot read",
     "2 A 1 STEAM_9:1:1 1 2 B 1 STEAM_9:1:1 1 2",
     {"admin 1 (A) and admin 2 (B) have the same Steam account, STEAM_9:1:1, so one person has "
      "several entries, perhaps with different groups",
      R"(admin 1 (A): "STEAM_9:1:1" is not a STEAMID: it must look like STEAM_0:1:1234567 )"
      "(STEAM_X:Y:Z with X 0 to 5, Y 0 or 1 and Z digits)",
      R"(admin 2 (B): "STEAM_9:1:1" is not a STEAMID: it must look like STEAM_0:1:1234567 )"
      "(STEAM_X:Y:Z with X 0 to 5, Y 0 or 1 and Z digits)"}},
    {"malformed IP addresses",
     "5 A 2 300.1.1.1 1 2 B 2 1.2.3 1 2 C 2 1.2.3.4.5 1 2 D 2 1..3.4 1 2 E 2 0001.2.3.4 1 2",
     {R"(admin 1 (A): "300.1.1.1" is not an IP address: it must be four numbers from 0 to 255 )"
      "separated by dots",
      R"(admin 2 (B): "1.2.3" is not an IP address: it must be four numbers from 0 to 255 )"
      "separated by dots",
      R"(admin 3 (C): "1.2.3.4.5" is not an IP address: it must be four numbers from 0 to 255 )"
      "separated by dots",
      R"(admin 4 (D): "1..3.4" is not an IP address: it must be four numbers from 0 to 255 )"
      "separated by dots",
      R"(admin 5 (E): "0001.2.3.4" is not an IP address: it must be four numbers from 0 to 255 )"
      "separated by dots"}},
    {"admin group not on the menu",
     "1 Ann 2 1.2.3.4 6 2",
     {"admin 1 (Ann): admin group 6 is not on the menu, so the entry gets no admin rights"}},
    {"immunity wanted, group not on the menu",
     "1 Ann 2 1.2.3.4 1 1 9",
     {"admin 1 (Ann): immunity group 9 is not on the menu, so the entry gets no immunity"}},
    {"control characters are shown, not sent to the terminal",
     "1 \x1b[2J\x7f 3 1 2",
     {"admin 1 (\\x1b[2J\\x7f): identification answer 3 is neither 1 (STEAMID) nor 2 (IP address): "
      "the entry has no STEAMID or IP address, so the server cannot recognise this admin"}},
    {"names in every script",
     "6 J\xc3\xb6rg 1 STEAM_0:1:1 1 2 \xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd 1 STEAM_0:1:2 1 2 "
     "\xce\x95\xce\xbb\xce\xad\xce\xbd\xce\xb7 1 STEAM_0:1:3 1 2 "
     "\xe6\x9d\x8e\xe5\xb0\x8f\xe9\xbe\x8d 1 STEAM_0:1:4 1 2 "
     "\xd9\x85\xd8\xad\xd9\x85\xd8\xaf 1 STEAM_0:1:5 1 2 \xf0\x9f\x98\x80gamer 1 STEAM_0:1:6 1 2",
     {}},
    {"a word cut before the character that would not fit whole",
     "1 " + std::string(30, 'a') + "\xc3\xa9 2 1.2.3.4 1 2",
     {"admin 1 (" + std::string(30, 'a') + "): the name is longer than 31 bytes, so only \"" +
      std::string(30, 'a') + "\" is kept"}},
    {"a name that is not UTF-8, shown by its bytes",
     "1 J\xf6rg 2 1.2.3.4 1 2",
     {"admin 1 (J\\xf6rg): the name \"J\\xf6rg\" is not UTF-8 text: it is written as typed, and "
      "the server will show it garbled"}},
    {"text typed for a number is the next word answer",
     "2 Ann l 1 STEAM_0:1:1 1 2",
     {"admin 1 (Ann): \"l\" is not a number, so it was read as the next answer (admin 2's name)",
      "admin 1 (Ann): the entry has no STEAMID or IP address, so the server cannot recognise this "
      "admin",
      "admin 1 (Ann): the entry names no admin group, so it gives no admin rights"}},
    {"text typed for a number is quoted cut, as every answer is",
     "2 Ann " + std::string(40, 'l') + " 1 STEAM_0:1:1 1 2",
     {"admin 1 (Ann): \"" + std::string(31, 'l') +
          "\" is not a number, so it was read as the next answer (admin 2's name)",
      "admin 1 (Ann): the entry has no STEAMID or IP address, so the server cannot recognise this "
      "admin",
      "admin 1 (Ann): the entry names no admin group, so it gives no admin rights",
      "admin 2 (" + std::string(31, 'l') + "): the name is longer than 31 bytes, so only \"" +
          std::string(31, 'l') + "\" is kept"}},
    {"text typed for the last number is not used",
     "1 Ann 2 1.2.3.4 1 yes\n",
     {"admin 1 (Ann): \"yes\" is not a number, so it was not used"}},
    {"count too large",
     "11 " + kSound,
     {"the number of admins must be 1 to 10, not 11: nothing was set up and clients.txt was left "
      "as it was"}},
    {"count not a number",
     "three " + kSound,
     {"no number of admins from 1 to 10 was given: nothing was set up and clients.txt was left as "
      "it was"}},
};

TEST(RosterWarnings, OneLinePerFindingAndNoneForSoundRosters) {
  for (const RosterCase& c : kRosterCases) {
    std::vector<std::string> expected;
    for (const std::string& warning : c.warnings) {
      expected.push_back("velmora: warning: " + warning);
    }
    EXPECT_EQ(warningsFor(c.answers), expected) << c.what;
  }
}

TEST(RosterWarnings, EntriesAlreadyInTheFileComeFirstAndCountForSameNames) {
  const std::vector<EntryFacts> earlier = {
      {.name = "Ann", .steamId = "STEAM_0:1:1", .ipAddress = {}, .hasAdminGroup = true},
      {.name = "Old", .steamId = {}, .ipAddress = {}, .hasAdminGroup = false},
  };
  EXPECT_EQ(warningsFor("1 ann 2 1.2.3.4 1 2", earlier),
            (std::vector<std::string>{
                "velmora: warning: admin 1 (Ann) and admin 3 (ann) have the same name, so the "
                "server keeps only one of their entries",
                "velmora: warning: admin 2 (Old): the entry has no STEAMID or IP address, so the "
                "server cannot recognise this admin",
                "velmora: warning: admin 2 (Old): the entry names no admin group, so it gives no "
                "admin rights",
            }));
}

}  // namespace
}  // namespace velmora
