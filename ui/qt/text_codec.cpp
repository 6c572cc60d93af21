#include "ui/qt/text_codec.h"

#include "runtime/codepage.h"

namespace uiqt {

QString fromCp1252(const std::string& bytes) {
  return QString::fromStdString(rt::cp1252ToUtf8(bytes));
}

std::string toCp1252(const QString& text) { return rt::utf8ToCp1252(text.toStdString()); }

}  // namespace uiqt
