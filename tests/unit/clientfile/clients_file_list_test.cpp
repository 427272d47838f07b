#include "clientfile/clients_file_list.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "keyvalues/key_values.hpp"
#include "support/json_checker.hpp"

namespace velmora {
namespace {

std::string listJson(const ClientsFile& file) {
  std::ostringstream output;
  writeAdminListJson(output, file);
  return output.str();
}

TEST(AdminTable, OneAlignedLinePerAdminCountingCharacters) {
  const std::string text =
      "\"c\" { \"players\" {\n"
      "  \"\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd\" { \"steam\" \"STEAM_0:1:1\" \"groups\" { \"Admin\" "
      "\"Serveradmin\" \"Immunity\" \"NoFun\" } }\n"
      "  \"Bo\" { \"groups\" { } }\n"
      "  \"Cyrano\" { \"ip\" \"10.0.0.1\" \"groups\" { \"admin\" \"Teamadmin\" } }\n"
      "  \"\" { \"ip\" \"\" }\n"
      "  \"Both\" { \"ip\" \"10.0.0.9\" \"steam\" \"STEAM_0:0:9\" }\n"
      "  \"Ann\" { \"name\" \"Annabel\" }\n"
      "  \"Lee\" { \"name\" \"Lee\" \"ip\" \"10.0.0.8\" }\n"
      "} }";
  // Written by hand: Ivan in Cyrillic is four characters wide, as "Bo" is two; the widest name
  // is 17 columns, the key shown beside a name that differs from it.
  const std::vector<std::string> expected = {
      "#  name               STEAMID or IP address  admin group  immunity group",
      "1  \xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd               STEAM_0:1:1            Serveradmin  NoFun",
      "2  Bo                 -                      -            -",
      "3  Cyrano             10.0.0.1               Teamadmin    -",
      "4  \"\"                 \"\"                     -            -",
      "5  Both               STEAM_0:0:9            -            -",
      "6  Annabel (key Ann)  -                      -            -",
      "7  Lee                10.0.0.8               -            -",
  };
  EXPECT_EQ(adminTable(parseClientsFile(text).file), expected);
}

// A name and the columns a terminal gives it, counted by hand.
struct WidthCase {
  std::string name;
  std::size_t columns;
};

const std::vector<WidthCase> kWidthCases = {
    {"\xe6\x9d\x8e\xe5\xb0\x8f\xe9\xbe\x8d", 6},  // three CJK ideographs, two columns each
    {"Zoe\xcc\x81", 3},                           // e and a combining acute accent
    {"\xf0\x9f\x98\x80gamer", 7},                 // an emoji takes two
    {"\xef\xbc\xa1\xea\xb0\x80\xe3\x81\x8b", 6},  // fullwidth A, a Hangul syllable, hiragana
    {"Bo\nb", 7},                                 // shown as Bo\x0ab
};

TEST(AdminTable, ColumnsCountAsATerminalShowsThem) {
  std::string text = "\"c\" { \"players\" {\n";
  for (const WidthCase& c : kWidthCases) {
    text += "  \"" + c.name + "\" { \"ip\" \"10.0.0.1\" }\n";
  }
  const std::vector<std::string> table = adminTable(parseClientsFile(text + "} }").file);
  ASSERT_EQ(table.size(), kWidthCases.size() + 1);
  EXPECT_EQ(table[0], "#  name     STEAMID or IP address  admin group  immunity group");
  for (std::size_t i = 0; i < kWidthCases.size(); ++i) {
    const std::string shownName = kWidthCases[i].name == "Bo\nb" ? "Bo\\x0ab" : kWidthCases[i].name;
    EXPECT_EQ(table[i + 1], std::to_string(i + 1) + "  " + shownName +
                                std::string(7 - kWidthCases[i].columns, ' ') + "  10.0.0.1" +
                                std::string(13, ' ') + "  -" + std::string(10, ' ') + "  -");
  }
}

TEST(AdminListJson, NullsWhatAnEntryLacksAndKeepsTheJsonValid) {
  const std::string text =
      "\"c\" { \"players\" {\n"
      "  \"J\xf6rg\" { \"name\" \"a\x1b\\\" \"groups\" { \"admin\" \"Teamadmin\" } }\n"
      "  \"Ann\" { \"name\" \"J\xc3\xb6rg\" \"steam\" \"STEAM_0:1:1\" \"ip\" \"1.2.3.4\" "
      "\"groups\" { \"Immunity\" \"NoFun\" } }\n"
      "} }";
  EXPECT_EQ(listJson(parseClientsFile(text).file),
            R"([{"line":2,"key":"J)"
            "\xef\xbf\xbd"
            R"(rg","name":"a\u001b\\","steam":null,"ip":null,"admin":"Teamadmin",)"
            R"("immunity":null,"account":null},)"
            R"({"line":3,"key":"Ann","name":"J)"
            "\xc3\xb6"
            R"(rg","steam":"STEAM_0:1:1","ip":"1.2.3.4","admin":null,"immunity":"NoFun",)"
            R"("account":"STEAM_0:1:1"}])");
  EXPECT_EQ(listJson(parseClientsFile("\"c\" { \"players\" { } }").file), "[]");
  // The checker the fuzzer holds every JSON answer to tells invalid JSON too.
  EXPECT_TRUE(testing::JsonChecker::isValid(listJson(parseClientsFile(text).file)));
  for (const std::string_view invalid : {"[\"a\x1b\"]", "{\"a\": }", "[1,]", "[\"\xf6\"]", "nul"}) {
    EXPECT_FALSE(testing::JsonChecker::isValid(invalid)) << invalid;
  }
}

TEST(AdminTable, AFileWithoutAdminsIsTheHeaderAlone) {
  EXPECT_EQ(
      adminTable(parseClientsFile("\"c\" { \"players\" { } }").file),
      (std::vector<std::string>{"#  name  STEAMID or IP address  admin group  immunity group"}));
}

}  // namespace
}  // namespace velmora
