// Reading list format strings into columns, and showing cell values through a column's picture.
#include "runtime/list_format.h"

#include <gtest/gtest.h>

namespace {

TEST(ListFormat, ReadsEveryColumnWithItsAlignmentHeaderAndPicture) {
  auto cols = rt::parseListFormat(
      "44C(2)|M~Id Producto~C(0)@n07@38L|M~Enavases~@s21@64D(19)|M~Pecio unitarios~C(0)@n-10.2@"
      "53R(2)|F~IDCabecera~C(0)@n_4B@33C|~NOrden~@n_2B@");
  ASSERT_TRUE(cols.has_value());
  ASSERT_EQ(cols->size(), 5u);
  struct Want {
    int width;
    char align;
    int indent;
    const char* header;
    char header_align;
    const char* picture;
    bool resizable;
  };
  const Want want[] = {{44, 'C', 2, "Id Producto", 'C', "@n07", true},
                       {38, 'L', 0, "Enavases", 'L', "@s21", true},
                       {64, 'D', 19, "Pecio unitarios", 'C', "@n-10.2", true},
                       {53, 'R', 2, "IDCabecera", 'C', "@n_4B", false},
                       {33, 'C', 0, "NOrden", 'C', "@n_2B", false}};
  for (std::size_t i = 0; i < 5; ++i) {
    const auto& c = (*cols)[i];
    EXPECT_EQ(c.width, want[i].width) << i;
    EXPECT_EQ(c.align, want[i].align) << i;
    EXPECT_EQ(c.indent, want[i].indent) << i;
    EXPECT_EQ(c.header, want[i].header) << i;
    EXPECT_EQ(c.header_align, want[i].header_align) << i;
    EXPECT_EQ(c.picture, want[i].picture) << i;
    EXPECT_EQ(c.resizable, want[i].resizable) << i;
    EXPECT_TRUE(c.right_border) << i;
  }
}

TEST(ListFormat, RefusesTextThatIsNoFormat) {
  for (const char* bad : {"L~x~@s5@", "40L~unclosed@s5@", "40L~x~@s5", "40L(2~x~@s5@", "40L%@s5@"})
    EXPECT_FALSE(rt::parseListFormat(bad).has_value()) << bad;
  EXPECT_TRUE(rt::parseListFormat("").value().empty());
}

TEST(ListFormat, CellsShowThroughTheColumnsPicture) {
  auto cols = rt::parseListFormat("20R@n-10.2B@20R@d6B@20L@s3@20L@n_4@");
  ASSERT_TRUE(cols.has_value());
  const struct {
    int col;
    const char* value;
    const char* shown;
  } cases[] = {{0, "12.5", "     12.50"}, {0, "0", "          "}, {0, "-3", "     -3.00"},
               {1, "0", "          "},   {2, "abcdef", "abc"},     {3, "", "   0"},
               {3, "abc", "abc"}};
  for (const auto& c : cases)
    EXPECT_EQ(rt::formatCell((*cols)[c.col], c.value), c.shown) << c.col << " " << c.value;
}

}  // namespace
