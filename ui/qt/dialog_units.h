#pragma once
// Dialog units to pixels, through the metrics of a window's font.
//
// Horizontally one unit is a quarter of the font's average character width, vertically an eighth
// of the font's height, so a window laid out in dialog units keeps its proportions whatever the
// screen and font. The font named by a window is looked up by `windowFont`: "MS Sans Serif" (or no
// name) means the system's sans-serif font at the given size. GUI thread only (fonts need the
// QGuiApplication).

#include <QFont>
#include <QRect>
#include <QSize>
#include <string>

#include "runtime/frontend.h"

namespace uiqt {

QFont windowFont(const std::string& name, int point_size);

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  // Direct scale factors, for tests and for fonts measured elsewhere.
  DialogUnits(double average_char_width, double font_height);

  int toPixelsX(int du) const;
  int toPixelsY(int du) const;
  int toUnitsX(int px) const;
  int toUnitsY(int px) const;
  // Position and size of a rectangle; a rectangle without a size keeps `natural`.
  QRect toPixels(const rt::Rect& r, QSize natural = {}) const;
  rt::Rect toUnits(const QRect& r) const;

  double averageCharWidth() const { return char_width_; }
  double fontHeight() const { return height_; }

 private:
  double char_width_;
  double height_;
};

}  // namespace uiqt
