#include "clientfile/clients_file_append.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keyvalues/key_values.hpp"

namespace velmora {
namespace {

// The one admin every case adds: by IP address, admin group 1, no immunity.
AdminRoster newAdmin() {
  AdminRoster roster;
  roster.count = 1;
  AdminRecord& admin = roster.recordAt(1);
  admin.name.assign("New");
  admin.idMethod = 2;
  admin.ipAddress.assign("1.2.3.4");
  admin.adminGroup = 1;
  admin.immunityAnswer = 2;
  return roster;
}

// The new entry's lines, written out by hand, with the entry at `entry` and each level inside
// it one `level` further in.
std::string newEntry(const std::string& entry, const std::string& level) {
  const std::string inner = entry + level;
  return "\n" + entry + "// This must be a unique client name\n" + entry + "\"New\"\n" + entry +
         "{\n" + inner + "// Client real name\n" + inner + "\"name\"\t\"New\"\n" + inner +
         "// IP address for client\n" + inner + "\"ip\"\t\"1.2.3.4\"\n" + inner +
         "// These are personal access flags for a player\n" + inner + "\"groups\"\n" + inner +
         "{\n" + inner + level + "\"Admin\"\t\"Serveradmin\"\n" + inner + "}\n" + entry + "}";
}

struct IndentationCase {
  std::string what;
  std::string before;  // the file up to where the new entry goes
  std::string after;   // the rest of the file
  std::string entry;   // the new entry's indentation
  std::string level;   // one level inside it
};

const std::vector<IndentationCase> kIndentationCases = {
    {"velmora's own tabs",
     "\"c\"\n{\n\t\"players\"\n\t{\n\t\t\"Ann\"\n\t\t{\n\t\t\t\"ip\" \"10.0.0.1\"\n\t\t}",
     "\n\t}\n}\n", "\t\t", "\t"},
    {"blanks, one level being what the entries add to the players key",
     "\"c\"\n{\n  \"players\"\n  {\n     \"Ann\" { \"ip\" \"10.0.0.1\" }", "\n  }\n}\n", "     ",
     "   "},
    {"players on the root's line, entries at four blanks: a level is the entries' indentation",
     "\"c\" { \"players\" {\n    \"Ann\"\n    {\n        \"ip\" \"10.0.0.1\"\n    }", "\n} }\n",
     "    ", "    "},
    {"players indented by a tab, entries at four blanks: a level is half the entries' indentation",
     "\"c\"\n{\n\t\"players\"\n\t{\n    \"Ann\"\n    {\n        \"ip\" \"10.0.0.1\"\n    }",
     "\n\t}\n}\n", "    ", "  "},
    {"no entry begins its line: velmora's own tabs",
     "\"c\" { \"players\" { \"Ann\" { \"ip\" \"10.0.0.1\" }", " } }\n", "\t\t", "\t"},
};

TEST(AddEntries, FollowTheIndentationOfTheEntriesThere) {
  for (const IndentationCase& c : kIndentationCases) {
    LoadedClientsFile existing{.exists = true, .bytes = c.before + c.after, .file = {}};
    existing.file = parseClientsFile(existing.bytes).file;
    EXPECT_EQ(withEntriesAdded(existing, newAdmin()),
              c.before + newEntry(c.entry, c.level) + c.after)
        << c.what;
  }
}

}  // namespace
}  // namespace velmora
