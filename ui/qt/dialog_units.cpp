#include "ui/qt/dialog_units.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <cmath>

namespace uiqt {

QFont windowFont(const std::string& name, int point_size) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  if (!name.empty() && name != "MS Sans Serif") font.setFamily(QString::fromStdString(name));
  font.setPointSize(point_size > 0 ? point_size : 8);
  return font;
}

namespace {
double averageWidth(const QFont& font) {
  // The average over the Latin letters, as the width of "a typical character".
  static const QString kLetters =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const QFontMetricsF fm(font);
  return fm.horizontalAdvance(kLetters) / kLetters.size();
}
}  // namespace

DialogUnits::DialogUnits(const QFont& font)
    : DialogUnits(averageWidth(font), QFontMetricsF(font).height()) {}

DialogUnits::DialogUnits(double average_char_width, double font_height)
    : char_width_(average_char_width > 0 ? average_char_width : 1.0),
      height_(font_height > 0 ? font_height : 1.0) {}

int DialogUnits::toPixelsX(int du) const {
  return static_cast<int>(std::lround(du * char_width_ / 4.0));
}
int DialogUnits::toPixelsY(int du) const {
  return static_cast<int>(std::lround(du * height_ / 8.0));
}
int DialogUnits::toUnitsX(int px) const {
  return static_cast<int>(std::lround(px * 4.0 / char_width_));
}
int DialogUnits::toUnitsY(int px) const {
  return static_cast<int>(std::lround(px * 8.0 / height_));
}

QRect DialogUnits::toPixels(const rt::Rect& r, QSize natural) const {
  QRect out(toPixelsX(r.x), toPixelsY(r.y), natural.width(), natural.height());
  if (r.has_size) out.setSize(QSize(toPixelsX(r.w), toPixelsY(r.h)));
  return out;
}

rt::Rect DialogUnits::toUnits(const QRect& r) const {
  rt::Rect out;
  out.x = toUnitsX(r.x());
  out.y = toUnitsY(r.y());
  out.w = toUnitsX(r.width());
  out.h = toUnitsY(r.height());
  out.has_pos = out.has_size = true;
  return out;
}

}  // namespace uiqt
