#pragma once
// Icons for the icon file names that windows and buttons carry ("WAOK.ICO", "Close.ico" ...).
//
// A known name maps to a freedesktop theme icon, with one of the style's own pixmaps when the
// theme lacks it; an unknown or empty name gives a null QIcon (the control shows no icon).
// Names are compared without regard to case. GUI thread only.

#include <QIcon>
#include <QString>
#include <string>

namespace uiqt {

// The theme icon name for an icon file name; empty when the file name is not known.
QString themeNameForIcon(const std::string& file_name);
QIcon iconFor(const std::string& file_name);

}  // namespace uiqt
