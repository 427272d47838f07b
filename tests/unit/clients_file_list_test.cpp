#include "clientfile/clients_file_list.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clientfile/key_values.hpp"

namespace velmora {
namespace {

TEST(AdminTable, OneAlignedLinePerAdminCountingCharacters) {
  const std::string text =
      "\"c\" { \"players\" {\n"
      "  \"\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd\" { \"steam\" \"STEAM_0:1:1\" \"groups\" { \"Admin\" "
      "\"Serveradmin\" \"Immunity\" \"NoFun\" } }\n"
      "  \"Bo\" { \"groups\" { } }\n"
      "  \"Cyrano\" { \"ip\" \"10.0.0.1\" \"groups\" { \"admin\" \"Teamadmin\" } }\n"
      "  \"\" { \"ip\" \"\" }\n"
      "  \"Both\" { \"ip\" \"10.0.0.9\" \"steam\" \"STEAM_0:0:9\" }\n"
      "} }";
  // Written by hand: Ivan in Cyrillic is four characters wide, as "Bo" is two.
  const std::vector<std::string> expected = {
      "#  name    STEAMID or IP address  admin group  immunity group",
      "1  \xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd    STEAM_0:1:1            Serveradmin  NoFun",
      "2  Bo      -                      -            -",
      "3  Cyrano  10.0.0.1               Teamadmin    -",
      "4  \"\"      \"\"                     -            -",
      "5  Both    STEAM_0:0:9            -            -",
  };
  EXPECT_EQ(adminTable(readClientsFile(keyvalues::parse(text))), expected);
}

TEST(AdminTable, AFileWithoutAdminsIsTheHeaderAlone) {
  EXPECT_EQ(
      adminTable(readClientsFile(keyvalues::parse("\"c\" { \"players\" { } }"))),
      (std::vector<std::string>{"#  name  STEAMID or IP address  admin group  immunity group"}));
}

}  // namespace
}  // namespace velmora
