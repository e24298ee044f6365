// Dialog units to pixels and the choice of the dialog font.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>

#include "platform/window/qt/dialog_units.h"
#include "platform/window/qt/tests/qt_test_env.h"

namespace platform::window {
namespace {

TEST(DialogUnitsTest, ScalesByQuarterWidthAndEighthHeightRoundingToNearest) {
  const DialogUnits units(6, 13);
  struct Case {
    int du, x, y;
  };
  const Case cases[] = {
      {0, 0, 0},   {1, 2, 2},      // 1.5 and 1.625 round up
      {2, 3, 3},   {4, 6, 7},      // 3.25 rounds down, 6.5 rounds up
      {8, 12, 13}, {227, 341, 369},
      {-3, -5, -5},                // halves round away from zero on both sides
  };
  for (const Case& c : cases) {
    EXPECT_EQ(units.X(c.du), c.x) << c.du;
    EXPECT_EQ(units.Y(c.du), c.y) << c.du;
  }
  EXPECT_EQ(units.Rect({6, 49, 99, 80}), QRect(9, 80, 149, 130));
}

TEST(DialogUnitsTest, DegenerateMetricsStillGiveAUsableScale) {
  const DialogUnits units(0, -2);
  EXPECT_EQ(units.X(4), 1);
  EXPECT_EQ(units.Y(8), 1);
}

TEST(DialogUnitsTest, MissingFontFamilyFallsBackToASansFont) {
  DialogTemplate tmpl;
  tmpl.fontName = u"No Such Family Anywhere";
  tmpl.fontPoints = 8;
  const QFont font = DialogFont(tmpl);
  EXPECT_EQ(font.pointSize(), 8);
  if (QFontDatabase::families().contains(QStringLiteral("DejaVu Sans"))) {
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("DejaVu Sans"));
  }
  const DialogUnits units = DialogUnits::ForFont(font);
  // An 8 point sans font at the usual 96 dpi: characters about 5-7 pixels wide, 12-15 high.
  EXPECT_GE(units.AverageCharWidth(), 4);
  EXPECT_LE(units.AverageCharWidth(), 8);
  EXPECT_GE(units.CharHeight(), 10);
  EXPECT_LE(units.CharHeight(), 18);
}

TEST(DialogUnitsTest, LargerFontGivesLargerUnits) {
  DialogTemplate small;
  DialogTemplate large;
  large.fontPoints = 16;
  const DialogUnits a = DialogUnits::ForFont(DialogFont(small));
  const DialogUnits b = DialogUnits::ForFont(DialogFont(large));
  EXPECT_GT(b.AverageCharWidth(), a.AverageCharWidth());
  EXPECT_GT(b.CharHeight(), a.CharHeight());
}

}  // namespace
}  // namespace platform::window
