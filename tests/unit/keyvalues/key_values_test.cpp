#include "keyvalues/key_values.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

namespace velmora::keyvalues {
namespace {

// The document as one line of text: key=value, key{...}; enough to compare structure.
std::string outline(std::span<const Node> nodes) {
  std::string text;
  for (const Node& node : nodes) {
    text.append(node.key).append("@").append(std::to_string(node.line));
    if (node.isBlock) {
      text.append("{").append(outline(node.children)).append("}");
    } else {
      text.append("=").append(node.value);
    }
    if (!node.condition.empty()) {
      text.append("?")
          .append(node.condition)
          .append("@")
          .append(std::to_string(node.conditionLine));
    }
    text += ";";
  }
  return text;
}

struct GoodCase {
  std::string what;
  std::string text;
  std::string outline;
};

const std::vector<GoodCase> kGoodCases = {
    {"empty text", "", ""},
    {"only a comment", "// nothing here", ""},
    {"value", "\"a\" \"b\"", "a@1=b;"},
    {"empty key and value", "\"\"\t\"\"", "@1=;"},
    {"nested blocks with CR LF", "\"r\"\r\n{\r\n\t\"k\"\t\"v\"\r\n\t\"b\"\r\n\t{\r\n\t}\r\n}",
     "r@1{k@3=v;b@4{};};"},
    {"comments everywhere, LF",
     "// head\n\"r\" // after key\n{ // after brace\n  \"k\" \"v\" // after value\n}\n// tail",
     "r@2{k@4=v;};"},
    {"odd white space", "\v\f\"r\"{\"k\"\"v\"}  \t\r\n", "r@1{k@1=v;};"},
    {"slashes, braces and hashes inside quotes are text", "\"a//b\" \"{}#//\"", "a//b@1={}#//;"},
    {"several keys at the top", "\"a\" \"1\"\n\"b\" { }\n\"a\" \"2\"", "a@1=1;b@2{};a@3=2;"},
    {"keys and values without quotes, among quoted ones",
     "clients.txt\n{\n  players {\n    Ann { steam STEAM_0:1:1 \"name\" Ann }\n  }\n}",
     "clients.txt@1{players@3{Ann@4{steam@4=STEAM_0:1:1;name@4=Ann;};};};"},
    {"an unquoted word ends at a quote or a brace", "a\"b\" c{d e}f \"g\"",
     "a@1=b;c@1{d@1=e;};f@1=g;"},
    {"a slash that starts no comment is a word", "k /x", "k@1=/x;"},
    {"a quoted text over two lines, and the lines after it counted right",
     "\"r\"\n{\n  \"name\" \"Bo\nb\"\n  \"ip\" \"1.2.3.4\"\n}", "r@1{name@3=Bo\nb;ip@5=1.2.3.4;};"},
    {"a quoted text over three lines, and the lines after it counted right",
     "\"r\"\n{\n  \"name\" \"A\nB\nC\"\n  \"ip\" \"1\"\n}", "r@1{name@3=A\nB\nC;ip@6=1;};"},
    {"an unquoted word with [ but no ] is a value, not a condition", "\"name\" [Ann",
     "name@1=[Ann;"},
    {"a condition on a later line than its key is at its own line",
     "\"r\" {\n \"k\"\n \"v\" [$X]\n}", "r@1{k@2=v?[$X]@3;};"},
    {"quoted texts holding a CR LF and a lone CR", "\"k\" \"v\r\n\" \"l\" \"v\rx\"",
     "k@1=v\r\n;l@2=v\rx;"},
    {"a backslash is an ordinary character, also before a closing quote",
     "\"r\" {\n \"name\" \"Bob\\\"\n \"ip\" \"1.2.3.4\"\n}", "r@1{name@2=Bob\\;ip@3=1.2.3.4;};"},
    {"a condition after a value belongs to its key",
     "\"r\" {\n \"name\" \"Ann\" [$WIN32]\n \"ip\" \"1.2.3.4\" }",
     "r@1{name@2=Ann?[$WIN32]@2;ip@3=1.2.3.4;};"},
    {"a condition before a block belongs to the block",
     "\"r\" {\n \"Ann\" [!$X360&&$PS3]\n {\n \"ip\" \"1.2.3.4\"\n }\n}",
     "r@1{Ann@2{ip@4=1.2.3.4;}?[!$X360&&$PS3]@2;};"},
    {"a quoted condition is text, and a condition where a key belongs is a key",
     "\"k\" \"[$X]\" \"a\" { } [$Y] \"v\"", "k@1=[$X];a@1{};[$Y]@1=v;"},
    {"bytes beyond ASCII and NUL", std::string("\"\xc3\xa9\" \"\x00\xff\"", 9),
     std::string("\xc3\xa9@1=\x00\xff;", 8)},
};

TEST(KeyValues, ReadsTheSubsetClientFilesUse) {
  for (const GoodCase& c : kGoodCases) {
    const Document document = parse(c.text);
    EXPECT_FALSE(document.error) << c.what << ": " << document.error->message;
    EXPECT_EQ(outline(document.nodes), c.outline) << c.what;
  }
}

struct BadCase {
  std::string what;
  std::string text;
  std::size_t line;
  std::size_t column;
  std::string message;
};

const std::vector<BadCase> kBadCases = {
    {"a quote never closed, at the end", "\"r\"\n{\n  \"name\" \"Bo", 3, 10,
     "this quote is never closed"},
    {"a missing quote pairs the quotes after it wrongly, up to the last",
     "\"r\"\n{\n  \"name\" \"Bo\n  \"ip\" \"1.2.3.4\"\n}", 4, 16, "this quote is never closed"},
    {"a quote never closed, at the last line end", "\"r\" {\n \"k\" \"v\n}", 2, 6,
     "this quote is never closed"},
    {"a key over two lines is shown escaped", "\"r\" { \"a\nb\" }", 1, 7,
     "key \"a\\x0ab\" without a value"},
    {"a condition between a key and its value", "\"r\" {\n \"k\" [$WIN32] \"v\" }", 2, 6,
     "a condition must follow the value"},
    {"a condition between a key and its value, without quotes", "k [$X360] v", 1, 3,
     "a condition must follow the value"},
    {"block never closed", "\"r\"\n{\n  \"b\" {\n  }\n", 2, 1,
     "unbalanced brace: this '{' is never closed"},
    {"brace that closes nothing", "\"r\" { }\n}", 2, 1, "unbalanced brace: '}' closes no block"},
    {"key before a closing brace", "\"r\"\n{\n  \"lonely\"\n}", 3, 3,
     "key \"lonely\" without a value"},
    {"key at the end", "\"r\" \"v\"\n\"k\"", 2, 1, "key \"k\" without a value"},
    {"block without a key", "{ }", 1, 1, "a block in braces must follow a key"},
    {"block comment", "\"r\" {\n  /* old admins */ \"x\" \"y\" }", 2, 3,
     "block comments are not part of the key-value format: use // comments"},
    {"single slash is a value, so its key is the next", "\"r\" / \"x\"", 1, 7,
     "key \"x\" without a value"},
    {"control character", "\"r\" \x1b", 1, 5, "unexpected character \\x1b"},
    {"control character inside an unquoted word", "\"r\" ab\x01", 1, 7,
     "unexpected character \\x01"},
    {"DEL character", "\"r\" \x7f", 1, 5, "unexpected character \\x7f"},
    {"columns on the first line count after a byte-order mark", "\xEF\xBB\xBF\"r\" \"v\" }", 1, 9,
     "unbalanced brace: '}' closes no block"},
    {"nesting beyond any client file", std::string(100000, '{'), 1, 1,
     "a block in braces must follow a key"},
};

TEST(KeyValues, ReportsTheFirstSyntaxErrorWhereItIs) {
  for (const BadCase& c : kBadCases) {
    const Document document = parse(c.text);
    ASSERT_TRUE(document.error) << c.what;
    EXPECT_EQ(document.error->line, c.line) << c.what;
    EXPECT_EQ(document.error->column, c.column) << c.what;
    EXPECT_EQ(document.error->message, c.message) << c.what;
  }
}

std::string nested(int levels) {
  std::string text;
  for (int i = 0; i < levels; ++i) text += "\"k\"{";
  return text + std::string(static_cast<std::size_t>(levels), '}');
}

TEST(KeyValues, NestsSixtyFourBlocksButNotSixtyFive) {
  EXPECT_FALSE(parse(nested(64)).error);
  const Document document = parse(nested(65));
  ASSERT_TRUE(document.error);
  EXPECT_EQ(document.error->message, "blocks nested too deeply");
  EXPECT_EQ(document.error->column, 64U * 4 + 4);  // the 65th brace
}

TEST(KeyValues, DeepNestingIsRefusedNotFollowed) {
  std::string text;
  for (int i = 0; i < 100000; ++i) {
    text += "\"k\"{";
  }
  const Document document = parse(text);
  ASSERT_TRUE(document.error);
  EXPECT_EQ(document.error->message, "blocks nested too deeply");
}

TEST(KeyValues, KeepsWhereEachBlockCloses) {
  const std::string text = "\"r\"\n{\n\t\"players\"\n\t{\n\t}\n}";
  const Document document = parse(text);
  ASSERT_FALSE(document.nodes.empty());
  const Node* players = document.nodes[0].child("PLAYERS");
  ASSERT_NE(players, nullptr);
  EXPECT_EQ(text[players->closeOffset], '}');
  EXPECT_EQ(players->closeOffset, text.rfind("\t}") + 1);
}

TEST(KeyValues, HandsKeysTwoLevelsDownToTheTakerAndKeepsTheRest) {
  const std::string text =
      R"("r" { "a" { "x" "1" "y" { "z" "2" "q" { "u" "3" } } } "b" "4" } "s" { "c" { "w" "5" } })";
  std::vector<std::string> taken;
  const Document document = parse(text, [&taken](const Node& node, const Node& parent) {
    std::string seen = std::string(parent.key).append("/").append(node.key).append(":");
    for (const Node& child : node.children) {
      seen.append(child.key);
      if (child.isBlock) {
        seen.append("{").append(child.children[0].key).append("}");
      }
    }
    taken.push_back(seen);
  });
  ASSERT_FALSE(document.error);
  EXPECT_EQ(taken, (std::vector<std::string>{"a/x:", "a/y:zq{u}", "c/w:"}));
  ASSERT_EQ(document.nodes.size(), 2U);
  ASSERT_EQ(document.nodes[0].children.size(), 2U);
  EXPECT_TRUE(document.nodes[0].child("a")->children.empty());
  EXPECT_EQ(document.nodes[0].child("b")->value, "4");
  EXPECT_TRUE(document.nodes[1].child("c")->children.empty());
}

// Whether every block's keys lie in memory the document still holds.
bool heldByDocument(std::span<const Node> nodes, const Document& document) {
  for (const Node& node : nodes) {
    const bool held =
        node.children.empty() ||
        std::any_of(document.storage.begin(), document.storage.end(), [&node](const auto& store) {
          return node.children.data() >= store.data() &&
                 node.children.data() + node.children.size() <= store.data() + store.size();
        });
    if (!held || !heldByDocument(node.children, document)) {
      return false;
    }
  }
  return true;
}

TEST(KeyValues, KeepsLargeBlocksWhereTheDocumentHoldsThem) {
  // Sibling blocks of more keys than fit together in one of the document's allocations.
  std::string text = "\"r\" {";
  for (const int keys : {3000, 2000, 5000}) {
    text += " \"b\" {";
    for (int key = 0; key < keys; ++key) {
      text += " \"k\" \"v\"";
    }
    text += " }";
  }
  text += " }";
  const Document document = parse(text);
  ASSERT_FALSE(document.error);
  ASSERT_EQ(document.nodes.size(), 1U);
  ASSERT_EQ(document.nodes[0].children.size(), 3U);
  EXPECT_EQ(document.nodes[0].children[0].children.size(), 3000U);
  EXPECT_TRUE(heldByDocument(document.nodes, document));
}

}  // namespace
}  // namespace velmora::keyvalues
