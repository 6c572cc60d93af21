// Dialog units: a quarter of the average character width across, an eighth of the font height
// down, measured on the window's font; the programs' "MS Sans Serif" 8 is the system sans font.

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLineEdit>

#include "ui/qt/control_area.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/qt_test_support.h"

namespace uiqt {
namespace {

using namespace uiqt::test;

TEST(QtDialogUnits, ScaleByCharacterWidthAndFontHeight) {
  struct Case {
    double char_width, height;
    int du_x, du_y;
    int px_x, px_y;
  };
  const Case cases[] = {
      {4.0, 8.0, 100, 100, 100, 100},   // one unit per pixel
      {6.0, 13.0, 4, 8, 6, 13},         // four units across = one character, eight down = a line
      {6.0, 13.0, 505, 318, 758, 517},  // Quillet's frame: 757.5 and 516.75 rounded
      {7.0, 16.0, 49, 14, 86, 28},      // a button: 85.75 and 28
      {6.0, 13.0, 0, 0, 0, 0},
      {6.0, 13.0, -8, -16, -12, -26},   // positions left of or above the origin
  };
  for (const auto& c : cases) {
    const DialogUnits du(c.char_width, c.height);
    EXPECT_EQ(du.toPixelsX(c.du_x), c.px_x) << c.char_width << " " << c.du_x;
    EXPECT_EQ(du.toPixelsY(c.du_y), c.px_y) << c.height << " " << c.du_y;
  }
}

TEST(QtDialogUnits, RectanglesAndTheWayBack) {
  const DialogUnits du(6.0, 13.0);
  rt::Rect r = at(61, 34, 124, 10);
  EXPECT_EQ(du.toPixels(r), QRect(92, 55, 186, 16));
  // Without a size, the control keeps its natural size.
  r.has_size = false;
  EXPECT_EQ(du.toPixels(r, QSize(30, 12)), QRect(92, 55, 30, 12));
  // Pixels back to units land on the units they came from.
  for (int units : {0, 1, 7, 49, 124, 261, 505}) {
    EXPECT_EQ(du.toUnitsX(du.toPixelsX(units)), units);
    EXPECT_EQ(du.toUnitsY(du.toPixelsY(units)), units);
  }
  const rt::Rect back = du.toUnits(QRect(92, 55, 186, 16));
  EXPECT_EQ(back.x, 61);
  EXPECT_EQ(back.y, 34);
  EXPECT_EQ(back.w, 124);
  EXPECT_EQ(back.h, 10);
  EXPECT_TRUE(back.has_pos && back.has_size);
}

TEST(QtDialogUnits, MeasuredOnTheWindowFont) {
  app();
  const QFont font = windowFont("MS Sans Serif", 8);
  EXPECT_EQ(font.family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
  EXPECT_EQ(font.pointSize(), 8);
  EXPECT_EQ(windowFont("", 0).pointSize(), 8);

  const QFontMetricsF fm(font);
  const DialogUnits du(font);
  EXPECT_DOUBLE_EQ(du.fontHeight(), fm.height());
  const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  EXPECT_DOUBLE_EQ(du.averageCharWidth(), fm.horizontalAdvance(letters) / 52);

  // A larger font makes larger windows.
  const DialogUnits big(windowFont("MS Sans Serif", 16));
  EXPECT_GT(big.toPixelsX(100), du.toPixelsX(100));
  EXPECT_GT(big.toPixelsY(100), du.toPixelsY(100));

  // A window lays its controls out with its own font's units.
  RecordingInput input;
  ControlArea area(1, input);
  rt::WindowView v;
  v.id = 1;
  v.font_name = "MS Sans Serif";
  v.font_size = 8;
  v.pos = at(0, 0, 193, 84);
  v.controls.push_back(control(6, rt::CONTROL_Entry, at(61, 34, 124, 10)));
  area.apply(v);
  EXPECT_EQ(area.designSize(), QSize(du.toPixelsX(193), du.toPixelsY(84)));
  EXPECT_EQ(area.widgetOf(6)->geometry(),
            QRect(du.toPixelsX(61), du.toPixelsY(34), du.toPixelsX(124), du.toPixelsY(10)));
  v.font_size = 16;
  area.apply(v);
  EXPECT_EQ(area.widgetOf(6)->geometry().width(), big.toPixelsX(124));
}

}  // namespace
}  // namespace uiqt
