#pragma once
// The Qt box for a runtime message box: caption, text (lines already split), icon, the runtime's
// English button captions in their usual order, the default button (the first one when the view
// names none the box has) and the button Esc stands for (Cancel, else No, else the only button,
// else OK; none for Abort/Retry/Ignore). The caller shows the box and reads the
// answer of the pressed button with `answerOf`. GUI thread only.

#include <QMessageBox>
#include <memory>

#include "runtime/frontend.h"

namespace uiqt {

// Button values of a message box; they add up in MessageBoxView::buttons.
namespace msgbutton {
inline constexpr int kOk = 1, kYes = 2, kNo = 4, kAbort = 8, kRetry = 16, kIgnore = 32,
                     kCancel = 64, kHelp = 128;
}

// The icon for the box's icon name ("Exclamation", "ICON:Question", "Hand", "Asterisk" ...);
// NoIcon when the name is empty or not known.
QMessageBox::Icon messageIcon(const std::string& name);

// Builds the box (not shown). A box that asks for no button gets OK.
std::unique_ptr<QMessageBox> createMessageBox(const rt::MessageBoxView& view, QWidget* parent);

// The value of a button of a box made by createMessageBox; 0 for any other button.
int answerOf(const QAbstractButton* button);

}  // namespace uiqt
