#include "ui/qt/qt_front_end.h"

#include <QApplication>
#include <QCursor>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QMessageBox>

#include "ui/qt/control_area.h"
#include "ui/qt/message_box.h"
#include "ui/qt/text_codec.h"
#include "ui/qt/window_host.h"

namespace uiqt {

QtFrontEnd::QtFrontEnd(ViewSource views, InputSink& sink, QObject* parent)
    : QObject(parent), views_(std::move(views)), sink_(sink) {}

QtFrontEnd::~QtFrontEnd() {
  // A box deleted unanswered answers (and forgets itself), so walk a copy of the list.
  const auto boxes = std::move(boxes_);
  boxes_.clear();
  for (const auto& [id, box] : boxes) delete box.data();
  // MDI children go with their frame; top-level windows are deleted one by one.
  for (auto& [id, host] : hosts_) {
    if (host && !host->isFrame()) delete host->screenWidget();
  }
  for (auto& [id, host] : hosts_) delete host.data();
}

void QtFrontEnd::windowOpened(rt::WindowId id) {
  QMetaObject::invokeMethod(this, [this, id] { openOnGui(id); }, Qt::QueuedConnection);
}

void QtFrontEnd::windowChanged(rt::WindowId id) {
  {
    const std::lock_guard lock(pending_mutex_);
    pending_changes_.insert(id);
    if (flush_posted_) return;
    flush_posted_ = true;
  }
  QMetaObject::invokeMethod(this, [this] { flushChanges(); }, Qt::QueuedConnection);
}

void QtFrontEnd::windowClosed(rt::WindowId id) {
  QMetaObject::invokeMethod(this, [this, id] { closeOnGui(id); }, Qt::QueuedConnection);
}

void QtFrontEnd::messageBoxOpened(const rt::MessageBoxView& view) {
  QMetaObject::invokeMethod(this, [this, view] { showMessageBox(view); }, Qt::QueuedConnection);
}

void QtFrontEnd::popupOpened(const rt::PopupView& view) {
  QMetaObject::invokeMethod(this, [this, view] { showPopup(view); }, Qt::QueuedConnection);
}

void QtFrontEnd::standardAction(rt::WindowId id, rt::StdAction action, int focused_feq) {
  QMetaObject::invokeMethod(
      this, [this, id, action, focused_feq] { actOnGui(id, action, focused_feq); },
      Qt::QueuedConnection);
}

void QtFrontEnd::programEnded(int exit_code) {
  QMetaObject::invokeMethod(
      this,
      [this, exit_code] {
        exit_code_ = exit_code;
        for (auto& [id, host] : hosts_) {
          if (host) host->closeFromRuntime();
        }
        if (on_program_ended) on_program_ended(exit_code);
      },
      Qt::QueuedConnection);
}

WindowHost* QtFrontEnd::host(rt::WindowId id) const {
  auto it = hosts_.find(id);
  return it == hosts_.end() ? nullptr : it->second.data();
}

QMessageBox* QtFrontEnd::openMessageBox(std::uint64_t box_id) const {
  auto it = boxes_.find(box_id);
  return it == boxes_.end() ? nullptr : it->second.data();
}

WindowHost* QtFrontEnd::frameHost() const {
  for (const auto& [id, host] : hosts_) {
    if (host && host->isFrame()) return host.data();
  }
  return nullptr;
}

void QtFrontEnd::openOnGui(rt::WindowId id) {
  if (host(id)) return;
  const std::optional<rt::WindowView> view = views_(id);
  if (!view) return;  // closed again before the GUI got to it
  QMdiArea* area = nullptr;
  if (view->mdi_child) {
    if (WindowHost* frame = frameHost()) area = frame->mdiArea();
  }
  auto* host = new WindowHost(*view, sink_, area);  // owned by hosts_ (or by its MDI frame)
  hosts_[id] = host;
  host->apply(*view);
  host->showFirst();
}

void QtFrontEnd::flushChanges() {
  std::set<rt::WindowId> ids;
  {
    const std::lock_guard lock(pending_mutex_);
    ids.swap(pending_changes_);
    flush_posted_ = false;
  }
  for (rt::WindowId id : ids) {
    WindowHost* h = host(id);
    if (!h) continue;
    if (const auto view = views_(id)) h->apply(*view);
  }
}

void QtFrontEnd::closeOnGui(rt::WindowId id) {
  auto it = hosts_.find(id);
  if (it == hosts_.end()) return;
  if (it->second) it->second->closeFromRuntime();
  hosts_.erase(it);
}

void QtFrontEnd::showMessageBox(const rt::MessageBoxView& view) {
  WindowHost* owner = host(view.owner);
  QWidget* parent = owner ? owner->window() : nullptr;
  std::unique_ptr<QMessageBox> made = createMessageBox(view, parent);
  QMessageBox* box = made.release();  // owned by its parent window, or deleted when closed
  box->setAttribute(Qt::WA_DeleteOnClose);
  boxes_[view.id] = box;

  const std::uint64_t box_id = view.id;
  // What a box closed without a button press answers: its Esc button, else its default one
  // (Abort/Retry/Ignore has no Esc button).
  int escape_answer = answerOf(box->escapeButton());
  if (escape_answer == 0) escape_answer = answerOf(box->defaultButton());
  auto answered = std::make_shared<bool>(false);
  QPointer<WindowHost> blocked_owner;
  if (owner && owner->subWindow()) {
    // A MDI child: the box must not block the frame and the other children, so only this
    // window stops taking input while the box is open.
    blocked_owner = owner;
    owner->setBlockedByMessage(true);
    box->setWindowModality(Qt::NonModal);
  } else if (owner) {
    box->setWindowModality(Qt::WindowModal);
  }
  connect(box, &QMessageBox::finished, this,
          [this, box, box_id, answered, blocked_owner, escape_answer] {
    if (*answered) return;
    *answered = true;
    int answer = answerOf(box->clickedButton());
    if (answer == 0) answer = escape_answer;
    if (blocked_owner) blocked_owner->setBlockedByMessage(false);
    // The asking window takes the keyboard back.
    if (QWidget* parent = box->parentWidget()) parent->activateWindow();
    boxes_.erase(box_id);
    sink_.answerMessage(box_id, answer);
  });
  // A box that disappears with its window unanswered still releases the asking thread.
  connect(box, &QObject::destroyed, this, [this, box_id, answered, escape_answer, blocked_owner] {
    if (*answered) return;
    *answered = true;
    if (blocked_owner) blocked_owner->setBlockedByMessage(false);
    boxes_.erase(box_id);
    sink_.answerMessage(box_id, escape_answer);
  });
  box->show();
}

void QtFrontEnd::showPopup(const rt::PopupView& view) {
  WindowHost* owner = host(view.owner);
  auto* menu = new QMenu(owner ? owner->window() : nullptr);  // deletes itself when closed
  menu->setAttribute(Qt::WA_DeleteOnClose);
  for (const auto& e : view.entries) {
    if (e.separator) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(fromCp1252(e.text));
    action->setData(e.feq);
    action->setEnabled(!e.disabled);
  }
  const std::uint64_t popup_id = view.id;
  auto answered = std::make_shared<bool>(false);
  connect(menu, &QMenu::triggered, this, [this, popup_id, answered](QAction* action) {
    if (*answered) return;
    *answered = true;
    sink_.answerPopup(popup_id, action->data().toInt());
  });
  // A menu closed without a choice answers 0. The choice, if any, is signalled after the menu
  // hides, so the answer waits for the events already queued.
  connect(menu, &QMenu::aboutToHide, this, [this, popup_id, answered] {
    QMetaObject::invokeMethod(
        this,
        [this, popup_id, answered] {
          if (*answered) return;
          *answered = true;
          sink_.answerPopup(popup_id, 0);
        },
        Qt::QueuedConnection);
  });
  menu->popup(QCursor::pos());
}

void QtFrontEnd::actOnGui(rt::WindowId id, rt::StdAction action, int focused_feq) {
  WindowHost* target = host(id);
  switch (action) {
    case rt::StdAction::Cut:
    case rt::StdAction::Copy:
    case rt::StdAction::Paste:
      if (!target || focused_feq == 0 || !target->controls()->focusTargetOf(focused_feq)) {
        // The frame's menu acts on the control that has the keyboard focus, in whichever
        // window that is.
        QWidget* focus = QApplication::focusWidget();
        for (const auto& [other_id, other] : hosts_) {
          if (other && focus && other->controls()->isAncestorOf(focus)) {
            other->standardAction(action, 0);
            return;
          }
        }
        return;
      }
      break;
    case rt::StdAction::Tile:
    case rt::StdAction::Cascade:
    case rt::StdAction::Arrange:
      if (!target || (!target->isFrame() && !target->subWindow())) target = frameHost();
      break;
    default: break;
  }
  if (target) target->standardAction(action, focused_feq);
}

}  // namespace uiqt
