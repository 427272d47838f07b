#include "text/display_width.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace velmora {
namespace {

// Code points at the edges of the ranges that must be exact, with the columns Unicode's
// EastAsianWidth.txt (Wide or Fullwidth: two) and general categories (a combining mark or a
// zero-width format character: none) give them.
struct ColumnsCase {
  char32_t point;
  std::size_t columns;
};

const std::vector<ColumnsCase> kColumnsCases = {
    {U'A', 1},          {U'\u00e9', 1},     {U'\u0416', 1},     {U'\u0301', 0},
    {U'\u20dd', 0},     {U'\u200b', 0},     {U'\u00ad', 1},     {U'\u10ff', 1},
    {U'\u1100', 2},     {U'\u115f', 2},     {U'\u2e80', 2},     {U'\u3000', 2},
    {U'\u3041', 2},     {U'\u30ff', 2},     {U'\u4e00', 2},     {U'\u9fff', 2},
    {U'\uac00', 2},     {U'\ud7a3', 2},     {U'\ud7b0', 1},     {U'\uf900', 2},
    {U'\ufe0f', 0},     {U'\uff01', 2},     {U'\uff60', 2},     {U'\uff61', 1},
    {U'\uffe0', 2},     {U'\uffe6', 2},     {U'\uffe8', 1},     {U'\u2600', 1},
    {U'\u231a', 2},     {U'\U0001f300', 2}, {U'\U0001f600', 2}, {U'\U0001f64f', 2},
    {U'\U0001f680', 2}, {U'\U0001f9ff', 2}, {U'\U00020000', 2}, {U'\U00030000', 2},
    {U'\U000e0001', 0},
};

TEST(DisplayWidth, ColumnsAtTheEdgesOfEveryWideRange) {
  for (const ColumnsCase& c : kColumnsCases) {
    EXPECT_EQ(columnsOf(c.point), c.columns) << std::hex << static_cast<unsigned>(c.point);
  }
}

TEST(DisplayWidth, TextCountsEachCharacterAndEachStrayByte) {
  EXPECT_EQ(displayWidth("\xe6\x9d\x8e\xe5\xb0\x8f\xe9\xbe\x8d Bo"), 9U);
  EXPECT_EQ(displayWidth("Zoe\xcc\x81"), 3U);
  EXPECT_EQ(displayWidth("J\xf6rg"), 4U);
  EXPECT_EQ(displayWidth(""), 0U);
}

}  // namespace
}  // namespace velmora
