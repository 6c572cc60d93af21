#include "ui/qt/drop_combo.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace uiqt {

DropCombo::DropCombo(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(edit_, 1);
  layout->addWidget(button_);
  button_->setArrowType(Qt::DownArrow);
  button_->setFocusPolicy(Qt::NoFocus);
  button_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  setFocusProxy(edit_);
  connect(button_, &QToolButton::clicked, this, [this] {
    if (on_drop) on_drop();
  });
}

void DropCombo::setButtonOnly(bool button_only) {
  edit_->setVisible(!button_only);
  if (button_only) {
    button_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setFocusProxy(nullptr);
  } else {
    button_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setFocusProxy(edit_);
  }
}

}  // namespace uiqt
