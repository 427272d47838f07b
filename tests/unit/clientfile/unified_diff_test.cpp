#include "clientfile/unified_diff.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

// "line 1" to "line count", each ended by lineEnd.
std::string numberedLines(int count, const std::string& lineEnd = "\n") {
  std::string text;
  for (int line = 1; line <= count; ++line) {
    text += "line " + std::to_string(line) + lineEnd;
  }
  return text;
}

// Where the text of a line numberedLines wrote begins: "line 1" must not find "line 12".
std::size_t lineAt(const std::string& text, int line) {
  const char lineEnd = text.find('\r') != std::string::npos ? '\r' : '\n';
  return text.find("line " + std::to_string(line) + lineEnd);
}

std::size_t lineLength(int line) { return ("line " + std::to_string(line)).size(); }

// The line's text in place of replacement.
TextEdit replaced(const std::string& text, int line, std::string replacement) {
  const std::size_t at = lineAt(text, line);
  return {at, at + lineLength(line), std::move(replacement)};
}

// Lines added after a line's text, each beginning with the file's line end, as velmora adds
// them.
TextEdit addedAfter(const std::string& text, int line, const std::string& added) {
  const std::size_t at = lineAt(text, line) + lineLength(line);
  return {at, at, added};
}

struct DiffCase {
  std::string what;
  std::string text;
  std::vector<TextEdit> edits;
  std::string hunks;  // what diff -u writes after its two header lines
};

// The hunks are those GNU diff -u writes for the same two files.
std::vector<DiffCase> diffCases() {
  const std::string crLf = numberedLines(8, "\r\n");
  const std::string twenty = numberedLines(20);
  return {
      {"CR LF: a line added below a line shows alone, the CR in its place",
       crLf,
       {addedAfter(crLf, 4, "\r\nX")},
       "@@ -2,6 +2,7 @@\n line 2\r\n line 3\r\n line 4\r\n+X\r\n line 5\r\n line 6\r\n line 7\r\n"},
      {"an empty file given its first lines", "", {{0, 0, "a\nb\n"}}, "@@ -0,0 +1,2 @@\n+a\n+b\n"},
      {"changes six lines apart share one hunk",
       twenty,
       {replaced(twenty, 5, "five"), replaced(twenty, 12, "twelve")},
       "@@ -2,14 +2,14 @@\n line 2\n line 3\n line 4\n-line 5\n+five\n line 6\n line 7\n line 8\n"
       " line 9\n line 10\n line 11\n-line 12\n+twelve\n line 13\n line 14\n line 15\n"},
      {"changes seven lines apart have a hunk each",
       twenty,
       {replaced(twenty, 5, "five"), replaced(twenty, 13, "thirteen")},
       "@@ -2,7 +2,7 @@\n line 2\n line 3\n line 4\n-line 5\n+five\n line 6\n line 7\n line 8\n"
       "@@ -10,7 +10,7 @@\n line 10\n line 11\n line 12\n-line 13\n+thirteen\n line 14\n line 15\n"
       " line 16\n"},
      {"a later hunk starts where the lines added before it put it",
       twenty,
       {addedAfter(twenty, 3, "\nadded"), replaced(twenty, 15, "fifteen")},
       "@@ -1,6 +1,7 @@\n line 1\n line 2\n line 3\n+added\n line 4\n line 5\n line 6\n"
       "@@ -12,7 +13,7 @@\n line 12\n line 13\n line 14\n-line 15\n+fifteen\n line 16\n line 17\n"
       " line 18\n"},
  };
}

TEST(UnifiedDiff, WritesTheHunksDiffWrites) {
  for (const DiffCase& c : diffCases()) {
    EXPECT_EQ(unifiedDiff(c.text, c.edits, "f"), "--- f\n+++ f\n" + c.hunks) << c.what;
  }
}

}  // namespace
}  // namespace velmora
