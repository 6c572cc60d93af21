#include "ui/qt/icon_names.h"

#include <QApplication>
#include <QStyle>
#include <array>

namespace uiqt {
namespace {

struct IconName {
  const char* file;
  const char* theme;
  QStyle::StandardPixmap fallback;
};

constexpr std::array<IconName, 9> kIcons = {{
    {"waok.ico", "dialog-ok", QStyle::SP_DialogOkButton},
    {"wacancel.ico", "dialog-cancel", QStyle::SP_DialogCancelButton},
    {"close.ico", "window-close", QStyle::SP_DialogCloseButton},
    {"a.ico", "list-add", QStyle::SP_FileDialogNewFolder},
    {"c.ico", "document-edit", QStyle::SP_FileDialogDetailedView},
    {"b.ico", "list-remove", QStyle::SP_TrashIcon},
    {"waview.ico", "document-open", QStyle::SP_FileDialogContentsView},
    {"select.ico", "dialog-ok-apply", QStyle::SP_DialogApplyButton},
    {"waframe.ico", "applications-office", QStyle::SP_ComputerIcon},
}};

const IconName* find(const std::string& file_name) {
  const QString key = QString::fromStdString(file_name).trimmed().toLower();
  for (const auto& entry : kIcons) {
    if (key == QLatin1String(entry.file)) return &entry;
  }
  return nullptr;
}

}  // namespace

QString themeNameForIcon(const std::string& file_name) {
  const IconName* entry = find(file_name);
  return entry ? QString::fromLatin1(entry->theme) : QString();
}

QIcon iconFor(const std::string& file_name) {
  const IconName* entry = find(file_name);
  if (!entry) return {};
  QIcon fallback;
  if (auto* style = QApplication::style()) fallback = style->standardIcon(entry->fallback);
  return QIcon::fromTheme(QString::fromLatin1(entry->theme), fallback);
}

}  // namespace uiqt
