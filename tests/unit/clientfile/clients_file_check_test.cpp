#include "clientfile/clients_file_check.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "clientfile/client_file.hpp"
#include "dialogue/console.hpp"
#include "dialogue/dialogue.hpp"
#include "support/json_checker.hpp"

namespace velmora {
namespace {

using std::string_literals::operator""s;

std::string writtenBy(const std::string& answers) {
  std::stringbuf input(answers);
  std::ostringstream output;
  Console console(input, output);
  AdminRoster roster;
  runDialogue(roster, console);
  return clientsText(roster);
}

// Line numbers count from the first line of the text.
const std::string kFlawed =
    "\"clients.txt\"\n"                                                                        // 1
    "{\n"                                                                                      // 2
    "  \"players\"\n"                                                                          // 3
    "  {\n"                                                                                    // 4
    "    \"Bob\" { \"steam\" \"STEAM_0:1:1\" \"groups\" { \"Admin\" \"Mod\" } }\n"             // 5
    "    \"Ann\"\n"                                                                            // 6
    "    {\n"                                                                                  // 7
    "      \"ip\"   \"10.0.0.256\"    // one too many\n"                                       // 8
    "      \"groups\" { \"Immunity\" \"NoFun\" }\n"                                            // 9
    "    }\n"                                                                                  // 10
    "    \"bob\" { \"steam\" \"\" \"groups\" { \"admin\" \"serveradmin\" } }\n"                // 11
    "    \"Cy\" { \"steam\" \"STEAM_0:3:7\" \"groups\" { \"Admin\" \"Serveradmin\" } }\n"      // 12
    "    \"Dee\" { \"groups\" { \"Admin\" \"Serveradmin\" } }\n"                               // 13
    "    \"Eve\" \"not a block\"\n"                                                            // 14
    "  }\n"                                                                                    // 15
    "  \"groups\" { \"Admin\" { \"Serveradmin\" \"a\" } \"Immunity\" { \"NoFun\" \"b\" } }\n"  // 16
    "}\n";

struct CheckCase {
  std::string what;
  std::string text;
  std::vector<std::string> lines;
  CheckReport::Verdict verdict;
};

const std::vector<CheckCase> kCheckCases = {
    {"a file velmora wrote for sound admins",
     writtenBy("3 Ann 1 STEAM_0:1:1 1 1 5 Bob 2 10.0.0.2 4 2 Cy 1 STEAM_1:0:3 5 2"),
     {"f: 3 admins, 0 problems"},
     CheckReport::Verdict::kSound},
    {"a file velmora wrote with an admin group not on the menu",
     writtenBy("1 Ann 1 STEAM_0:1:1 9 2"),
     {"f:9: admin 1 (Ann): the entry names no admin group, so it gives no admin rights",
      "f: 1 admin, 1 problem"},
     CheckReport::Verdict::kProblems},
    {"every finding, in line order",
     kFlawed,
     {"f:5: admin 1 (Bob): \"Admin\" group \"Mod\" is not defined in the file's \"groups\" section",
      "f:6: admin 2 (Ann): the entry names no admin group, so it gives no admin rights",
      "f:8: admin 2 (Ann): \"10.0.0.256\" is not an IP address: it must be four numbers from 0 to "
      "255 separated by dots",
      "f:11: admin 3 (bob) has the same name as admin 1 (Bob) at line 5, so the server keeps only "
      "one of them",
      "f:11: admin 3 (bob): the STEAMID is empty, so the server cannot recognise this admin",
      "f:12: admin 4 (Cy): \"STEAM_0:3:7\" is not a STEAMID: it must look like STEAM_0:1:1234567 "
      "(STEAM_X:Y:Z with X 0 to 5, Y 0 or 1 and Z digits)",
      "f:13: admin 5 (Dee): the entry has no STEAMID or IP address, so the server cannot "
      "recognise this admin",
      "f:14: admin 6 (Eve): not a client entry: its name must be followed by a block in braces",
      "f: 6 admins, 8 problems"},
     CheckReport::Verdict::kProblems},
    {"a byte-order mark before a file velmora wrote",
     "\xEF\xBB\xBF" + writtenBy("1 J\xC3\xB6rg 1 STEAM_0:1:1 1 2"),
     {"f: 1 admin, 0 problems"},
     CheckReport::Verdict::kSound},
    {"keys and values that are not UTF-8, here Latin-1",
     "\"c\"\n{\n \"players\"\n {\n  \"J\xF6rg\"\n  {\n   \"name\" \"J\xF6rg\"\n"
     "   \"ip\" \"1.2.3.4\"\n   \"groups\" { \"Admin\" \"Serveradmin\" }\n  }\n }\n"
     " \"groups\" { \"Admin\" { \"Serveradmin\" \"a\" } }\n}",
     {"f:5: \"J\\xf6rg\" is not UTF-8 text, so the server will show it garbled: save the file as "
      "UTF-8",
      "f:7: \"J\\xf6rg\" is not UTF-8 text, so the server will show it garbled: save the file as "
      "UTF-8",
      "f: 1 admin, 2 problems"},
     CheckReport::Verdict::kProblems},
    {"a value on the line after its key, and a block where a group belongs",
     "\"c\"\n{\n \"players\"\n {\n  \"Ann\"\n  {\n   \"steam\"\n   \"STEAM_9:1:1\"\n"
     "   \"groups\" { \"Admin\" { \"Serveradmin\" \"x\" } }\n  }\n }\n"
     " \"groups\" { \"Admin\" { \"Serveradmin\" \"a\" } }\n}",
     {"f:5: admin 1 (Ann): the entry names no admin group, so it gives no admin rights",
      "f:8: admin 1 (Ann): \"STEAM_9:1:1\" is not a STEAMID: it must look like STEAM_0:1:1234567 "
      "(STEAM_X:Y:Z with X 0 to 5, Y 0 or 1 and Z digits)",
      "f: 1 admin, 2 problems"},
     CheckReport::Verdict::kProblems},
    {"a tab inside a name beside a letter that is not ASCII, which is no control character",
     "\"c\"\n{\n \"players\"\n {\n  \"J\xC3\xB6\trg\"\n  {\n   \"ip\" \"1.2.3.4\"\n"
     "   \"groups\" { \"Admin\" \"Serveradmin\" }\n  }\n }\n"
     " \"groups\" { \"Admin\" { \"Serveradmin\" \"a\" } }\n}",
     {"f: 1 admin, 0 problems"},
     CheckReport::Verdict::kSound},
    {"no players block",
     "\"clients.txt\"\n{\n  \"version\" \"1\"\n}",
     {"f:1: no \"players\" block, so the file sets up no admins", "f: 0 admins, 1 problem"},
     CheckReport::Verdict::kProblems},
    {"a syntax error",
     "\"clients.txt\"\r\n{\r\n\t\"players\"\r\n\t{\r\n\t\t\"Bob\r\n\t}\r\n}",
     {"f:5: this quote is never closed (column 3)", "f: syntax error, nothing checked"},
     CheckReport::Verdict::kUnparsable},
    {"what readers of the format read differently, each at its line",
     "\"c\"\n{\n \"players\"\n {\n  \"Ann\"\n  {\n   \"name\" \"Ann\\\"\n"  // 1-7
     "   \"ip\" \"1.2.3.4\" [$WIN32]\n   \"steam\" \"STEAM_0:1:1\n\"\n"     // 8-10
     "   \"groups\" { \"Admin\" \"Serveradmin\" \"Immunity\" \"No\x1b"
     "Fun\" }\n"                                                   // 11
     "  }\n  \"Bo\0b\" [$X360]\n  {\n   \"ip\" \"1.2.3.5\"\n"      // 12-15
     "   \"groups\" { \"Admin\" \"Serveradmin\" }\n  }\n }\n"      // 16-18
     " \"groups\" { \"Admin\" { \"Serveradmin\" \"a\" } }\n}\n"s,  // 19-20
     {"f:7: \"Ann\\\" holds a backslash, which readers that take escapes read differently (\\\" "
      "as a quote, \\\\, \\n and \\t as escapes): velmora writes / in its place",
      "f:8: the condition [$WIN32] makes the server keep \"ip\" only on the platforms it names",
      "f:9: this quoted text runs over 2 lines: a closing quote may be missing",
      "f:9: admin 1 (Ann): \"STEAM_0:1:1\\x0a\" is not a STEAMID: it must look like "
      "STEAM_0:1:1234567 (STEAM_X:Y:Z with X 0 to 5, Y 0 or 1 and Z digits)",
      "f:11: \"No\\x1bFun\" holds the control character \\x1b",
      "f:11: admin 1 (Ann): \"Immunity\" group \"No\\x1bFun\" is not defined in the file's "
      "\"groups\" section",
      "f:13: \"Bo\\x00b\" holds a NUL (\\x00): readers written in C end the text there",
      "f:13: the condition [$X360] makes the server keep \"Bo\\x00b\" only on the platforms it "
      "names",
      "f: 2 admins, 8 problems"},
     CheckReport::Verdict::kProblems},
    {"names that hold %s are quoted as they are",
     "\"c\" { \"players\" {\n \"%s\" { \"ip\" \"1.2.3.4\" \"groups\" { \"Admin\" \"%s\" } }\n"
     " \"%S\" { \"steam\" \"STEAM_0:1:1\" \"groups\" { \"Admin\" \"x\" } } }\n"
     " \"groups\" { \"Admin\" { \"x\" \"a\" } } }",
     {"f:2: admin 1 (%s): \"Admin\" group \"%s\" is not defined in the file's \"groups\" section",
      "f:3: admin 2 (%S) has the same name as admin 1 (%s) at line 2, so the server keeps only one "
      "of them",
      "f: 2 admins, 2 problems"},
     CheckReport::Verdict::kProblems},
    {"one Steam account in two entries, and a Steam ID in another form",
     "\"c\"\n{\n \"players\"\n {\n"  // 1-4
     "  \"Ann\" { \"steam\" \"STEAM_1:0:11101\" \"groups\" { \"Admin\" \"Serveradmin\" } }\n"  // 5
     "  \"Bob\" { \"steam\" \"STEAM_0:1:1\" \"groups\" { \"Admin\" \"Serveradmin\" } }\n"      // 6
     "  \"Cy\"\n  {\n   \"steam\" \"76561197960287930\"\n"        // 7-9
     "   \"groups\" { \"Admin\" \"Serveradmin\" }\n  }\n }\n"     // 10-12
     " \"groups\" { \"Admin\" { \"Serveradmin\" \"a\" } }\n}\n",  // 13-14
     {"f:7: admin 3 (Cy) has the same Steam account as admin 1 (Ann) at line 5, STEAM_0:0:11101, "
      "so one person has two entries, perhaps with different groups",
      "f:9: admin 3 (Cy): \"76561197960287930\" is a Steam ID in its 64-bit form; as a STEAMID "
      "it is STEAM_0:0:11101",
      "f: 3 admins, 2 problems"},
     CheckReport::Verdict::kProblems},
    {"control characters, tabs and backslashes inside values, each named once at the value's line",
     "\"c\"\n{\n \"players\"\n {\n"                                                          // 1-4
     "  \"Ann\" { \"name\" \"Ann\r\" \"ip\" \"1.2.3.4\" \"groups\" { \"Admin\" \"x\" } }\n"  // 5
     "  \"Bob\" { \"name\" \"B\x7f\" \"ip\" \"1.2.3.5\" \"groups\" { \"Admin\" \"x\" } }\n"  // 6
     "  \"Cy\" { \"name\" \"C\ty\" \"ip\" \"1.2.3.6\" \"groups\" { \"Admin\" \"x\" } }\n"    // 7
     "  \"Dee\" { \"name\"\n \"\x1b[2J\x1b[0m\" \"ip\" \"1.2.3.7\" \"groups\" { \"Admin\" "
     "\"x\" } }\n"  // 8-9
     "  \"Eve\" { \"name\" \"C:\\new\" \"ip\" \"1.2.3.8\" \"groups\" { \"Admin\" \"x\" } }\n"  // 10
     "  \"Fay\" { \"steam\" \"\" \"groups\" { \"Admin\" \"x\" } }\n"                           // 11
     "  \"Gus\" { \"steam\" \"\" \"groups\" { \"Admin\" \"x\" } }\n"                           // 12
     " }\n \"groups\" { \"Admin\" { \"x\" \"a\" } }\n}\n",
     {"f:5: \"Ann\\x0d\" holds the control character \\x0d",
      "f:6: \"B\\x7f\" holds the control character \\x7f",
      "f:9: \"\\x1b[2J\\x1b[0m\" holds the control character \\x1b",
      "f:10: \"C:\\new\" holds a backslash, which readers that take escapes read differently "
      "(\\\" as a quote, \\\\, \\n and \\t as escapes): velmora writes / in its place",
      "f:11: admin 6 (Fay): the STEAMID is empty, so the server cannot recognise this admin",
      "f:12: admin 7 (Gus): the STEAMID is empty, so the server cannot recognise this admin",
      "f: 7 admins, 6 problems"},
     CheckReport::Verdict::kProblems},
    {"findings two levels down follow those of the block that holds them on the same line",
     "\"c\"\n{\n \"p\\s\" { \"A\\n\" { } }\n}\n",
     {"f:1: no \"players\" block, so the file sets up no admins",
      "f:3: \"p\\s\" holds a backslash, which readers that take escapes read differently "
      "(\\\" as a quote, \\\\, \\n and \\t as escapes): velmora writes / in its place",
      "f:3: \"A\\n\" holds a backslash, which readers that take escapes read differently "
      "(\\\" as a quote, \\\\, \\n and \\t as escapes): velmora writes / in its place",
      "f: 0 admins, 3 problems"},
     CheckReport::Verdict::kProblems},
    {"a backslash before a closing quote is named before the syntax error it leads to",
     "\"c\"\n{\n \"players\"\n {\n  \"Bob\"\n  {\n   \"name\" \"Bob \\\"The Builder\\\"\"\n"
     "   \"ip\" \"1.2.3.4\"\n  }\n }\n}\n",
     {"f:7: \"Bob \\\" holds a backslash, which readers that take escapes read differently "
      "(\\\" as a quote, \\\\, \\n and \\t as escapes): velmora writes / in its place",
      "f:7: \"Builder\\\" holds a backslash, which readers that take escapes read differently "
      "(\\\" as a quote, \\\\, \\n and \\t as escapes): velmora writes / in its place",
      "f:8: key \"1.2.3.4\" without a value (column 9)", "f: syntax error, nothing checked"},
     CheckReport::Verdict::kUnparsable},
};

TEST(ClientsFileCheck, FindingsWithTheirLinesAndAStatus) {
  for (const CheckCase& c : kCheckCases) {
    const CheckReport report = checkClientsText("f", c.text);
    EXPECT_EQ(report.lines, c.lines) << c.what;
    EXPECT_EQ(report.verdict, c.verdict) << c.what;
    EXPECT_TRUE(testing::JsonChecker::isValid(report.json)) << c.what << ": " << report.json;
  }
}

}  // namespace
}  // namespace velmora
