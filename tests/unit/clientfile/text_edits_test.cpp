#include "clientfile/text_edits.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

// An insertion that falls inside removed lines goes to the end of the line before them, so
// that it is not lost with them; one that only meets them keeps its place.
TEST(TextEdits, InsertionsLeaveTheLinesRemovedAroundThem) {
  struct Row {
    const char* what;
    std::vector<TextEdit> edits;
    std::string expected;
  };
  const std::string text = "a\nb\nc\nd\n";
  const Row rows[] = {
      {"just after the removed line", {{2, 4, ""}, {4, 4, "X\n"}}, "a\nX\nc\nd\n"},
      {"inside the removed line", {{2, 4, ""}, {3, 3, "\nX"}}, "a\nX\nc\nd\n"},
      {"inside the second of two removed lines",
       {{2, 4, ""}, {4, 6, ""}, {5, 5, "\nX"}},
       "a\nX\nd\n"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(withEdits(text, inTextOrder(text, row.edits)), row.expected) << row.what;
  }
}

}  // namespace
}  // namespace velmora
