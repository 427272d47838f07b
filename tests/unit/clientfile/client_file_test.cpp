#include "clientfile/client_file.hpp"

#include <gtest/gtest.h>

#include "support/occurrences.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace velmora {
namespace {

using testing::occurrences;

namespace fs = std::filesystem;

AdminRecord makeAdmin(std::string_view name, std::int32_t idMethod, std::int32_t adminGroup,
                      std::int32_t immunityGroup) {
  AdminRecord admin;
  admin.name.assign(name);
  admin.idMethod = idMethod;
  admin.steamId.assign("STEAM_0:1:42");
  admin.ipAddress.assign("10.1.2.3");
  admin.adminGroup = adminGroup;
  admin.immunityAnswer = immunityGroup != 0 ? 1 : 2;
  admin.immunityGroup = immunityGroup;
  return admin;
}

std::string entryOf(const AdminRecord& admin) {
  std::ostringstream file;
  writeClientEntry(file, admin);
  return file.str();
}

TEST(ClientEntry, SteamAdminWithBlankSeparatedGroupsIsExact) {
  EXPECT_EQ(entryOf(makeAdmin("Ann", 1, 5, 4)),
            "\r\n\t\t// This must be a unique client name"
            "\r\n\t\t\"Ann\""
            "\r\n\t\t{"
            "\r\n\t\t\t// Client real name"
            "\r\n\t\t\t\"name\"\t\"Ann\""
            "\r\n\t\t\t// Steam ID for client"
            "\r\n\t\t\t\"steam\"\t\"STEAM_0:1:42\""
            "\r\n\t\t\t// These are personal access flags for a player"
            "\r\n\t\t\t\"groups\""
            "\r\n\t\t\t{"
            "\r\n\t\t\t\t\"Admin\"  \"No Rcon Or Sound\""
            "\r\n\t\t\t\t\"Immunity\"  \"No Kick Ban\""
            "\r\n\t\t\t}"
            "\r\n\t\t}");
}

TEST(ClientEntry, UnknownCodesLeaveAnEmptyGroupsBlock) {
  EXPECT_EQ(entryOf(makeAdmin("", 3, 6, -1)),
            "\r\n\t\t// This must be a unique client name"
            "\r\n\t\t\"\""
            "\r\n\t\t{"
            "\r\n\t\t\t// Client real name"
            "\r\n\t\t\t\"name\"\t\"\""
            "\r\n\t\t\t// These are personal access flags for a player"
            "\r\n\t\t\t\"groups\""
            "\r\n\t\t\t{"
            "\r\n\t\t\t}"
            "\r\n\t\t}");
}

struct EntryLinesCase {
  std::int32_t idMethod;
  std::int32_t adminGroup;
  std::int32_t immunityGroup;
  std::vector<std::string> present;
  std::vector<std::string> absent;
};

TEST(ClientEntry, CodesChooseTheirLines) {
  const std::vector<EntryLinesCase> cases = {
      {2, 1, 0, {"\"ip\"\t\"10.1.2.3\"", "\"Admin\"\t\"Serveradmin\""}, {"steam", "Immunity"}},
      {1, 2, 5, {"\"Admin\"\t\"Clanmember\"", "\"Immunity\"  \"NoFun\""}, {"\"ip\""}},
      {0, 3, 1, {"\"Admin\"\t\"Teamadmin\"", "\"Immunity\"  \"Serveradmin\""}, {"steam", "\"ip\""}},
      {-1, 4, 2, {"\"Admin\"  \"Level 2 Access\"", "\"Immunity\"  \"Clanmember\""}, {"steam"}},
      {1, 0, 3, {"\"Immunity\"  \"Teamadmin\""}, {"Admin", "\"ip\""}},
      {2147483647, -2147483648, 6, {}, {"steam", "\"ip\"", "Admin", "Immunity"}},
  };
  for (const EntryLinesCase& c : cases) {
    const std::string entry = entryOf(makeAdmin("x", c.idMethod, c.adminGroup, c.immunityGroup));
    for (const std::string& line : c.present) {
      EXPECT_NE(entry.find(line), std::string::npos) << line << " in\n" << entry;
    }
    for (const std::string& text : c.absent) {
      EXPECT_EQ(entry.find(text), std::string::npos) << text << " in\n" << entry;
    }
  }
}

TEST(ClientEntry, ValuesKeepEveryByteButQuoteAndBackslash) {
  for (const int idMethod : {1, 2}) {
    AdminRecord admin = makeAdmin("a\"b\\c%s%d{}\x01\xff", idMethod, 0, 0);
    admin.steamId.assign("\"STEAM\\");
    admin.ipAddress.assign("\\1.2\"");
    const std::string entry = entryOf(admin);
    EXPECT_NE(entry.find("\r\n\t\t\"a'b/c%s%d{}\x01\xff\"\r\n"), std::string::npos);
    EXPECT_NE(entry.find("\"name\"\t\"a'b/c%s%d{}\x01\xff\"\r\n"), std::string::npos);
    EXPECT_NE(entry.find(idMethod == 1 ? "\"steam\"\t\"'STEAM/\"" : "\"ip\"\t\"/1.2'\""),
              std::string::npos);
  }
}

AdminRoster rosterOf(int count) {
  AdminRoster roster;
  roster.count = count;
  for (int position = 1; position <= count; ++position) {
    roster.recordAt(position) = makeAdmin("admin" + std::to_string(position), 1, 1, 1);
  }
  return roster;
}

TEST(ClientsText, HasOneEntryPerAdminAndOnlyCrLfLineEnds) {
  for (const int count : {1, 2, 10}) {
    const std::string text = clientsText(rosterOf(count));
    EXPECT_TRUE(text.starts_with("\"clients.txt\"\r\n{\r\n\t\"version\"\t\"1\"\r\n\r\n\t//"));
    EXPECT_TRUE(text.ends_with("\"client\"\r\n\t\t}\r\n\t}\r\n}"));
    EXPECT_EQ(occurrences(text, "// This must be a unique client name"), count);
    EXPECT_EQ(occurrences(text, "\n"), occurrences(text, "\r\n"));
    EXPECT_EQ(occurrences(text, "\r"), occurrences(text, "\r\n"));
    EXPECT_LT(text.find("\"admin" + std::to_string(count) + "\""), text.find("\n\t}\r\n\t//"));
  }
}

TEST(ClientsText, EntriesFollowPositionOrderAndIgnoreUnaskedRecords) {
  AdminRoster roster = rosterOf(3);
  roster.count = 2;
  const std::string text = clientsText(roster);
  EXPECT_LT(text.find("\"admin1\""), text.find("\"admin2\""));
  EXPECT_EQ(text.find("admin3"), std::string::npos);
}

TEST(ClientsText, BracesBalanceOutsideQuotes) {
  const std::string text = clientsText(rosterOf(10));
  int depth = 0;
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;
    if (!quoted && c == '{') ++depth;
    if (!quoted && c == '}') --depth;
    ASSERT_GE(depth, 0);
  }
  EXPECT_EQ(depth, 0);
  EXPECT_FALSE(quoted);
}

class ClientsFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ =
        fs::temp_directory_path() /
        ("velmora-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory_);
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }

  [[nodiscard]] std::string read(const fs::path& name) const {
    std::ifstream file(directory_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
  }
  [[nodiscard]] std::vector<fs::path> entries() const {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(directory_)) {
      names.push_back(entry.path().filename());
    }
    return names;
  }

  fs::path directory_;
};

TEST_F(ClientsFileOnDisk, ReplacesAnExistingFileWholly) {
  std::ofstream(directory_ / "clients.txt", std::ios::binary) << std::string(10000, 'o');
  const AdminRoster roster = rosterOf(2);
  EXPECT_FALSE(writeClientsFile(roster, directory_ / kClientsFileName).failed());
  EXPECT_EQ(read("clients.txt"), clientsText(roster));
  EXPECT_EQ(entries(), std::vector<fs::path>{"clients.txt"});
}

TEST_F(ClientsFileOnDisk, DirectoryInTheWayIsReportedAndKept) {
  fs::create_directory(directory_ / "clients.txt");
  std::ofstream(directory_ / "clients.txt" / "inside") << "kept";
  const Result<> written = writeClientsFile(rosterOf(1), directory_ / kClientsFileName);
  ASSERT_TRUE(written.failed());
  EXPECT_EQ(written.failure().line, "velmora: cannot write clients.txt: Is a directory");
  EXPECT_TRUE(fs::is_directory(directory_ / "clients.txt"));
  EXPECT_EQ(read("clients.txt/inside"), "kept");
  EXPECT_EQ(entries(), std::vector<fs::path>{"clients.txt"});
}

TEST_F(ClientsFileOnDisk, MissingDirectoryIsReported) {
  EXPECT_TRUE(writeClientsFile(rosterOf(1), directory_ / "absent" / kClientsFileName).failed());
  EXPECT_TRUE(entries().empty());
}

}  // namespace
}  // namespace velmora
