#include "ui/qt/window_host.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QStatusBar>

#include "ui/qt/control_area.h"
#include "ui/qt/icon_names.h"
#include "ui/qt/text_codec.h"

namespace uiqt {
namespace {

bool samePos(const rt::Rect& a, const rt::Rect& b) {
  return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h && a.has_pos == b.has_pos &&
         a.has_size == b.has_size;
}

void appendSignature(std::string& out, const std::vector<rt::MenuEntryView>& entries) {
  for (const auto& e : entries) {
    out += std::to_string(e.feq) + '\x1f' + e.text + '\x1f' + (e.separator ? 'S' : '-') +
           (e.disabled ? 'D' : '-') + '{';
    appendSignature(out, e.children);
    out += '}';
  }
}

// Fills a menu bar or a menu with the model's entries; `Menuish` is QMenuBar or QMenu.
template <class Menuish>
void fillMenu(Menuish* menu, const std::vector<rt::MenuEntryView>& entries, rt::WindowId id,
              InputSink& sink, bool top_level) {
  for (const auto& e : entries) {
    if (e.separator) {
      menu->addSeparator();
      continue;
    }
    const QString text = fromCp1252(e.text);
    if (!e.children.empty()) {
      QMenu* sub = menu->addMenu(text);
      sub->menuAction()->setData(e.feq);
      sub->setEnabled(!e.disabled);
      QObject::connect(sub, &QMenu::hovered, sub, [id, &sink](QAction* a) {
        const int feq = a->data().toInt();
        if (feq != 0) sink.menuHighlight(id, feq);
      });
      if (top_level) {
        QObject::connect(sub, &QMenu::aboutToHide, sub, [id, &sink] { sink.menuHighlight(id, 0); });
      }
      fillMenu(sub, e.children, id, sink, false);
      continue;
    }
    QAction* action = menu->addAction(text);
    action->setData(e.feq);
    action->setEnabled(!e.disabled);
    const int feq = e.feq;
    QObject::connect(action, &QAction::triggered, action, [id, feq, &sink] { sink.menu(id, feq); });
  }
}

Qt::WindowFlags borderFlags(const rt::WindowView& view) {
  Qt::WindowFlags flags = Qt::WindowTitleHint | Qt::CustomizeWindowHint;
  if (view.system_menu) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint;
  }
  if (view.max_box) flags |= Qt::WindowMaximizeButtonHint;
  if (view.frame == rt::FrameKind::None) flags |= Qt::FramelessWindowHint;
  return flags;
}

}  // namespace

WindowHost::WindowHost(const rt::WindowView& first_view, InputSink& sink, QMdiArea* mdi_area)
    : QMainWindow(nullptr),
      id_(first_view.id),
      sink_(sink),
      frame_(first_view.app_frame),
      mdi_child_(first_view.mdi_child && mdi_area != nullptr) {
  controls_ = new ControlArea(id_, sink_, this);
  if (frame_) {
    mdi_ = new QMdiArea(this);
    setCentralWidget(mdi_);
    controls_->hide();
  } else {
    setCentralWidget(controls_);
  }
  if (mdi_child_) {
    // The MDI area places a sub-window where it is added, by its size then: it is added once
    // the first snapshot has sized it (`enterMdiArea`), or a window still without its size lands
    // in a small free corner and then grows out of the area. Made in the area's viewport, it is
    // sized with the area's style (title bar and borders) all the same.
    sub_ = new QMdiSubWindow(mdi_area->viewport());
    sub_->setWidget(this);
    sub_->setAttribute(Qt::WA_DeleteOnClose, false);
    sub_->installEventFilter(this);
    mdi_parent_ = mdi_area;
  } else {
    installEventFilter(this);
  }
  geometry_report_.setSingleShot(true);
  geometry_report_.setInterval(100);
  connect(&geometry_report_, &QTimer::timeout, this, &WindowHost::reportGeometry);
}

WindowHost::~WindowHost() = default;

QWidget* WindowHost::screenWidget() {
  if (sub_) return sub_;
  return this;
}

QLabel* WindowHost::statusSection(int index) const {
  if (index < 0 || index >= static_cast<int>(status_labels_.size())) return nullptr;
  return status_labels_[static_cast<size_t>(index)];
}

void WindowHost::apply(const rt::WindowView& view) {
  // The model counts its changes: a snapshot already drawn needs nothing.
  if (last_ && view.revision != 0 && view.revision == last_->revision) return;
  const bool was_applying = applying_;
  applying_ = true;
  const QString title = fromCp1252(view.title);
  setWindowTitle(title);
  if (sub_) sub_->setWindowTitle(title);
  QIcon icon = iconFor(view.icon);
  if (frame_ && !icon.isNull()) QApplication::setWindowIcon(icon);
  if (icon.isNull()) icon = QApplication::windowIcon();  // a window without one shows the program's
  setWindowIcon(icon);
  if (sub_) sub_->setWindowIcon(icon);

  controls_->apply(view);
  applyMenu(view);
  applyStatusBar(view);
  if (!last_ || last_->frame != view.frame || last_->system_menu != view.system_menu ||
      last_->max_box != view.max_box) {
    applyFrame(view);
  }
  if (!last_ || !samePos(last_->pos, view.pos) || last_->frame != view.frame) applyGeometry(view);
  if (last_ && (last_->maximized != view.maximized || last_->iconized != view.iconized)) {
    applyState(view);
  }
  takes_input_ = view.takes_input;
  last_ = view;
  updateEnabled();
  applying_ = was_applying;
}

void WindowHost::applyMenu(const rt::WindowView& view) {
  std::string signature;
  appendSignature(signature, view.menu);
  if (signature == menu_signature_) return;
  menu_signature_ = signature;
  if (view.menu.empty()) {
    if (menuWidget()) menuBar()->clear();
    return;
  }
  QMenuBar* bar = menuBar();
  bar->clear();
  fillMenu(bar, view.menu, id_, sink_, true);
  if (!menu_bar_connected_) {
    connect(bar, &QMenuBar::hovered, bar, [this](QAction* a) {
      const int feq = a->data().toInt();
      if (feq != 0) sink_.menuHighlight(id_, feq);
    });
    menu_bar_connected_ = true;
  }
}

void WindowHost::applyStatusBar(const rt::WindowView& view) {
  if (view.status_widths.empty()) {
    if (!status_labels_.empty()) {
      setStatusBar(nullptr);
      status_labels_.clear();
    }
    return;
  }
  const bool rebuild = !last_ || last_->status_widths != view.status_widths ||
                       status_labels_.size() != view.status_widths.size();
  if (rebuild) {
    auto* bar = new QStatusBar;
    setStatusBar(bar);  // replaces and deletes the old bar with its labels
    status_labels_.clear();
    bar->setSizeGripEnabled(view.frame == rt::FrameKind::Resizable);
    for (int width : view.status_widths) {
      auto* label = new QLabel(bar);
      label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      if (width < 0) {
        bar->addWidget(label, 1);
      } else {
        label->setFixedWidth(controls_->units().toPixelsX(width));
        bar->addWidget(label, 0);
      }
      status_labels_.push_back(label);
    }
  }
  for (size_t i = 0; i < status_labels_.size(); ++i) {
    const std::string& text = i < view.status_texts.size() ? view.status_texts[i] : std::string();
    status_labels_[i]->setText(fromCp1252(text));
  }
}

void WindowHost::applyFrame(const rt::WindowView& view) {
  const Qt::WindowFlags flags = borderFlags(view);
  if (sub_) {
    sub_->setWindowFlags(Qt::SubWindow | flags);
  } else {
    const bool visible = isVisible();
    setWindowFlags(Qt::Window | flags);
    if (visible) show();  // changing the flags hides a window
  }
}

void WindowHost::applyGeometry(const rt::WindowView& view) {
  const DialogUnits& units = controls_->units();
  QSize client;
  if (frame_) {
    client = view.pos.has_size ? QSize(units.toPixelsX(view.pos.w), units.toPixelsY(view.pos.h))
                               : QSize(800, 560);
    mdi_->setMinimumSize(0, 0);
  } else {
    client = controls_->designSize();
  }
  int extra = 0;
  if (menuWidget() && !menu_signature_.empty()) extra += menuWidget()->sizeHint().height();
  if (!status_labels_.empty()) extra += statusBar()->sizeHint().height();
  const QSize outer(client.width(), client.height() + extra);
  const bool fixed = view.frame != rt::FrameKind::Resizable;
  if (fixed) {
    setFixedSize(outer);
  } else {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(outer);
  }
  QWidget* screen = screenWidget();
  if (sub_) {
    sub_->adjustSize();
    enterMdiArea();
  }
  if (view.pos.has_pos) screen->move(units.toPixelsX(view.pos.x), units.toPixelsY(view.pos.y));
}

void WindowHost::enterMdiArea() {
  if (!sub_ || !mdi_parent_) return;
  QMdiArea* area = mdi_parent_;
  mdi_parent_ = nullptr;
  area->addSubWindow(sub_);
}

void WindowHost::applyState(const rt::WindowView& view) {
  QWidget* screen = screenWidget();
  if (view.maximized) {
    screen->showMaximized();
  } else if (view.iconized) {
    screen->showMinimized();
  } else if (screen->isMaximized() || screen->isMinimized()) {
    screen->showNormal();
  }
}

void WindowHost::showFirst() {
  const bool was_applying = applying_;
  applying_ = true;
  enterMdiArea();
  QWidget* screen = screenWidget();
  if (last_ && last_->maximized) {
    screen->showMaximized();
  } else if (last_ && last_->iconized) {
    screen->showMinimized();
  } else {
    screen->show();
  }
  if (sub_) show();
  applying_ = was_applying;
  // Focus from the model now that the widgets are visible.
  if (last_) controls_->apply(*last_);
}

void WindowHost::closeFromRuntime() {
  closing_ = true;
  geometry_report_.stop();
  if (sub_) {
    sub_->close();
    sub_->deleteLater();  // deletes this window with it
  } else {
    close();
    deleteLater();
  }
}

void WindowHost::setBlockedByMessage(bool blocked) {
  blocked_ = blocked;
  updateEnabled();
}

void WindowHost::updateEnabled() {
  const bool enabled = takes_input_ && !blocked_;
  controls_->setEnabled(enabled);
  if (menuWidget()) menuWidget()->setEnabled(enabled);
}

void WindowHost::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  // The close box asks the runtime, which closes the window when the program agrees.
  event->ignore();
  sink_.close(id_);
}

bool WindowHost::eventFilter(QObject* watched, QEvent* event) {
  if (watched != screenWidget()) return QMainWindow::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
      if (!applying_ && !closing_ && screenWidget()->isVisible()) geometry_report_.start();
      break;
    case QEvent::WindowStateChange:
      if (!applying_ && !closing_) {
        const Qt::WindowStates state = screenWidget()->windowState();
        if (state & Qt::WindowMinimized) {
          sink_.iconize(id_);
        } else if (state & Qt::WindowMaximized) {
          sink_.maximize(id_);
        }
      }
      break;
    default: break;
  }
  return QMainWindow::eventFilter(watched, event);
}

void WindowHost::reportGeometry() {
  QWidget* screen = screenWidget();
  if (screen->isMinimized() || screen->isMaximized()) return;
  QWidget* client = centralWidget();
  sink_.moved(id_, controls_->units().toUnits(QRect(screen->pos(), client->size())));
}

void WindowHost::arrangeIcons() {
  QMdiArea* area = mdi_ ? mdi_ : (sub_ ? sub_->mdiArea() : nullptr);
  if (!area) return;
  int x = 0;
  const int bottom = area->viewport()->height();
  for (QMdiSubWindow* w : area->subWindowList(QMdiArea::CreationOrder)) {
    if (!w->isMinimized()) continue;
    const QSize s = w->size();
    if (x + s.width() > area->viewport()->width() && x > 0) x = 0;
    w->move(x, bottom - s.height());
    x += s.width();
  }
}

void WindowHost::standardAction(rt::StdAction action, int focused_feq) {
  QMdiArea* area = mdi_ ? mdi_ : (sub_ ? sub_->mdiArea() : nullptr);
  switch (action) {
    case rt::StdAction::Cut:
    case rt::StdAction::Copy:
    case rt::StdAction::Paste: controls_->clipboardAction(action, focused_feq); break;
    case rt::StdAction::Tile:
      if (area) area->tileSubWindows();
      break;
    case rt::StdAction::Cascade:
      if (area) area->cascadeSubWindows();
      break;
    case rt::StdAction::Arrange: arrangeIcons(); break;
    case rt::StdAction::PrintSetup: {
      // One printer per window keeps the user's choices between two uses of the dialog.
      if (!printer_) printer_ = std::make_unique<QPrinter>();
      auto* dialog = new QPageSetupDialog(printer_.get(), this);
      dialog->setAttribute(Qt::WA_DeleteOnClose);
      dialog->open();
      break;
    }
    case rt::StdAction::HelpIndex:
    case rt::StdAction::HelpSearch:
    case rt::StdAction::HelpOnHelp: {
      auto* box = new QMessageBox(QMessageBox::Information, windowTitle(),
                                  QStringLiteral("No help file is available for this program."),
                                  QMessageBox::Ok, this);
      box->setAttribute(Qt::WA_DeleteOnClose);
      box->open();
      break;
    }
    case rt::StdAction::Close:
      sink_.close(id_);
      break;
    case rt::StdAction::None: break;
  }
}

}  // namespace uiqt
