#include "ui/qt/message_box.h"

#include <QPushButton>
#include <array>

#include "ui/qt/text_codec.h"

namespace uiqt {
namespace {

struct ButtonKind {
  int value;
  const char* caption;
  QMessageBox::ButtonRole role;
};

constexpr std::array<ButtonKind, 8> kButtons = {{
    {msgbutton::kOk, "OK", QMessageBox::AcceptRole},
    {msgbutton::kYes, "&Yes", QMessageBox::YesRole},
    {msgbutton::kNo, "&No", QMessageBox::NoRole},
    {msgbutton::kAbort, "&Abort", QMessageBox::RejectRole},
    {msgbutton::kRetry, "&Retry", QMessageBox::AcceptRole},
    {msgbutton::kIgnore, "&Ignore", QMessageBox::AcceptRole},
    {msgbutton::kCancel, "Cancel", QMessageBox::RejectRole},
    {msgbutton::kHelp, "&Help", QMessageBox::ActionRole},
}};

constexpr const char* kAnswerProperty = "runtimeAnswer";

}  // namespace

QMessageBox::Icon messageIcon(const std::string& name) {
  QString n = QString::fromStdString(name).toLower();
  if (n.startsWith(QLatin1String("icon:"))) n = n.mid(5);
  if (n.contains(QLatin1String("exclamation")) || n.contains(QLatin1String("warn"))) {
    return QMessageBox::Warning;
  }
  if (n.contains(QLatin1String("question"))) return QMessageBox::Question;
  if (n.contains(QLatin1String("hand")) || n.contains(QLatin1String("stop")) ||
      n.contains(QLatin1String("error"))) {
    return QMessageBox::Critical;
  }
  if (n.contains(QLatin1String("asterisk")) || n.contains(QLatin1String("info"))) {
    return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

std::unique_ptr<QMessageBox> createMessageBox(const rt::MessageBoxView& view, QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setWindowTitle(fromCp1252(view.caption));
  box->setTextFormat(Qt::PlainText);
  box->setText(fromCp1252(view.text));
  box->setIcon(messageIcon(view.icon));
  const int buttons = (view.buttons & 0xFF) != 0 ? view.buttons : msgbutton::kOk;
  QPushButton* by_value[256] = {};
  QPushButton* first = nullptr;
  for (const auto& kind : kButtons) {
    if (!(buttons & kind.value)) continue;
    QPushButton* b = box->addButton(QString::fromLatin1(kind.caption), kind.role);
    b->setProperty(kAnswerProperty, kind.value);
    by_value[kind.value] = b;
    if (!first) first = b;
  }
  // Without a default button (or with one the box does not have) the first button is it.
  const bool has_default =
      view.default_button > 0 && view.default_button < 256 && by_value[view.default_button];
  box->setDefaultButton(has_default ? by_value[view.default_button] : first);
  QPushButton* escape = by_value[msgbutton::kCancel];
  if (!escape) escape = by_value[msgbutton::kNo];
  if (!escape && box->buttons().size() == 1) escape = qobject_cast<QPushButton*>(box->buttons()[0]);
  if (!escape) escape = by_value[msgbutton::kOk];
  if (escape) box->setEscapeButton(escape);
  return box;
}

int answerOf(const QAbstractButton* button) {
  return button ? button->property(kAnswerProperty).toInt() : 0;
}

}  // namespace uiqt
