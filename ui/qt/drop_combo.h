#pragma once
// The widget of a drop combination control: an edit field with a drop button beside it, or only
// the drop button when the control has no drop list. The button reports through `on_drop`; the
// field is reached through edit() by the owner, which handles its text and keys. GUI thread only.

#include <QWidget>
#include <functional>

class QLineEdit;
class QToolButton;

namespace uiqt {

class DropCombo : public QWidget {
  Q_OBJECT
 public:
  std::function<void()> on_drop;

  explicit DropCombo(QWidget* parent = nullptr);
  void setButtonOnly(bool button_only);

  QLineEdit* edit() const { return edit_; }
  QToolButton* button() const { return button_; }

 private:
  QLineEdit* edit_;
  QToolButton* button_;
};

}  // namespace uiqt
