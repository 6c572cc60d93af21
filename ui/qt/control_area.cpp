#include "ui/qt/control_area.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>

#include "ui/qt/drop_combo.h"
#include "ui/qt/icon_names.h"
#include "ui/qt/key_codes.h"
#include "ui/qt/list_control.h"
#include "ui/qt/text_codec.h"

namespace uiqt {

struct ControlArea::Control {
  int type = 0;
  ControlKind kind = ControlKind::Unknown;
  bool multi_line = false;
  std::unique_ptr<QWidget> widget;  // null for a TAB: it is a page of its sheet
  QWidget* target = nullptr;        // takes keys and focus
  QLineEdit* line = nullptr;        // the edit field, when the control has one
  QPlainTextEdit* text_box = nullptr;
  std::optional<std::string> model_text;  // text of the last snapshot applied
  std::vector<int> tab_feqs;        // SHEET: its TAB controls, in order
  int current_tab = 0;              // SHEET: the snapshot's tab
  rt::ControlView view;             // the last snapshot applied
};

namespace {

// A label shows the caption without its mnemonic marks ("&Ver" -> "Ver", "&&" -> "&").
QString withoutMnemonic(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
      ++i;
    }
    out.append(text[i]);
  }
  return out;
}

// The width of a string picture ("s30", "@s30"), which bounds what an entry takes.
int stringPictureWidth(const std::string& picture) {
  static const QRegularExpression re(QStringLiteral("^@?[sS](\\d+)$"));
  const auto m = re.match(QString::fromStdString(picture));
  return m.hasMatch() ? m.captured(1).toInt() : 0;
}

bool isContainer(ControlKind k) {
  return k == ControlKind::Sheet || k == ControlKind::Group || k == ControlKind::Panel;
}

bool takesFocus(ControlKind k) {
  switch (k) {
    case ControlKind::Prompt:
    case ControlKind::String:
    case ControlKind::Group:
    case ControlKind::Panel:
    case ControlKind::Tab:
    case ControlKind::Sheet:  // the runtime never gives a sheet the focus
    case ControlKind::Unknown: return false;
    default: return true;
  }
}

}  // namespace

ControlArea::ControlArea(rt::WindowId window, InputSink& sink, QWidget* parent)
    : QWidget(parent), window_(window), sink_(sink), units_(font()) {
  setFocusPolicy(Qt::NoFocus);
}

ControlArea::~ControlArea() {
  // Widgets go before the map that their event filter consults.
  for (auto& [feq, ctl] : controls_) {
    if (ctl->target) ctl->target->removeEventFilter(this);
    ctl->widget.reset();
  }
}

ControlArea::Control* ControlArea::controlOf(int feq) {
  auto it = controls_.find(feq);
  return it == controls_.end() ? nullptr : it->second.get();
}

QWidget* ControlArea::widgetOf(int feq) const {
  auto it = controls_.find(feq);
  return it == controls_.end() ? nullptr : it->second->widget.get();
}

QWidget* ControlArea::focusTargetOf(int feq) const {
  auto it = controls_.find(feq);
  return it == controls_.end() ? nullptr : it->second->target;
}

void ControlArea::apply(const rt::WindowView& view) {
  applying_ = true;
  const QFont font = windowFont(view.font_name, view.font_size);
  if (font != this->font()) setFont(font);
  units_ = DialogUnits(font);

  bool structure_changed = false;
  std::map<int, const rt::ControlView*> by_feq;
  for (const auto& c : view.controls) by_feq[c.feq] = &c;

  // Controls gone from the model.
  for (auto it = controls_.begin(); it != controls_.end();) {
    if (!by_feq.count(it->first)) {
      if (it->second->target) feq_of_target_.erase(it->second->target);
      it = controls_.erase(it);
      structure_changed = true;
    } else {
      ++it;
    }
  }
  for (const auto& c : view.controls) {
    auto& slot = controls_[c.feq];
    const ControlKind kind = kindOf(c.type);
    const bool multi_line = kind == ControlKind::Text && !c.single_line;
    if (!slot || slot->type != c.type || slot->multi_line != multi_line) {
      if (slot && slot->target) feq_of_target_.erase(slot->target);
      slot = std::make_unique<Control>();
      slot->type = c.type;
      slot->kind = kind;
      slot->multi_line = multi_line;
      createWidget(*slot, c);
      structure_changed = true;
    }
  }
  for (const auto& c : view.controls) update(*controls_[c.feq], c, view);
  for (const auto& c : view.controls) {
    Control& ctl = *controls_[c.feq];
    if (ctl.widget) ctl.widget->setVisible(shown(c, by_feq));
  }
  placeControls(view);
  if (structure_changed) stackControls(view);

  if (view.pos.has_size) {
    design_size_ = QSize(units_.toPixelsX(view.pos.w), units_.toPixelsY(view.pos.h));
  } else {
    QRect bounds;
    for (const auto& [feq, ctl] : controls_) {
      if (ctl->widget) bounds |= ctl->widget->geometry();
    }
    design_size_ = QSize(bounds.right() + units_.toPixelsX(4), bounds.bottom() + units_.toPixelsY(4));
  }
  updateGeometry();
  setEnabled(view.takes_input);
  window_alert_keys_ = view.alert_keys;
  if (beeps_ && view.beeps > *beeps_) QApplication::beep();
  beeps_ = view.beeps;
  model_focus_ = view.focus;
  mirrorFocus(view.focus);
  applying_ = false;
}

void ControlArea::createWidget(Control& ctl, const rt::ControlView& view) {
  const int feq = view.feq;
  QWidget* w = nullptr;
  switch (ctl.kind) {
    case ControlKind::Entry:
    case ControlKind::Spin:
    case ControlKind::Text: {
      if (ctl.multi_line) {
        auto* box = new QPlainTextEdit(this);
        ctl.text_box = box;
        connect(box, &QPlainTextEdit::textChanged, this, [this, feq, box] {
          if (!applying_) reportEdit(feq, box->toPlainText());
        });
        w = box;
      } else {
        auto* line = new QLineEdit(this);
        ctl.line = line;
        connect(line, &QLineEdit::textEdited, this,
                [this, feq](const QString& text) { reportEdit(feq, text); });
        w = line;
      }
      break;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(this);
      connect(button, &QPushButton::clicked, this, [this, feq] {
        sink_.click(window_, feq, 1, 0, 0);
      });
      w = button;
      break;
    }
    case ControlKind::Check:
    case ControlKind::Radio: {
      QAbstractButton* button = ctl.kind == ControlKind::Check
                                    ? static_cast<QAbstractButton*>(new QCheckBox(this))
                                    : new QRadioButton(this);
      button->setAutoExclusive(false);
      connect(button, &QAbstractButton::clicked, this, [this, feq, button] {
        // The runtime toggles the model; the box shows the model's state until then.
        if (Control* ctl = controlOf(feq)) {
          const QSignalBlocker block(button);
          button->setChecked(ctl->view.checked);
        }
        sink_.click(window_, feq, 1, 0, 0);
      });
      w = button;
      break;
    }
    case ControlKind::List: {
      auto* list = new ListControl(this);
      list->on_click = [this, feq](int code, int row, int col) {
        sink_.click(window_, feq, code, row, col);
      };
      list->on_scroll = [this, feq](rt::ScrollAction action, double fraction) {
        sink_.scroll(window_, feq, action, fraction);
      };
      // Editors over its cells follow the cells.
      list->on_cells_moved = [this, feq] {
        for (auto& [other, ctl] : controls_) {
          if (ctl->view.over_list == feq) placeOverList(*ctl);
        }
      };
      ctl.target = list->view();
      w = list;
      break;
    }
    case ControlKind::Combo:
    case ControlKind::DropList: {
      auto* combo = new QComboBox(this);
      w = combo;
      break;
    }
    case ControlKind::DropCombo: {
      auto* drop = new DropCombo(this);
      ctl.line = drop->edit();
      ctl.target = drop->edit();
      drop->on_drop = [this, feq] { sink_.dropDown(window_, feq); };
      connect(drop->edit(), &QLineEdit::textEdited, this,
              [this, feq](const QString& text) { reportEdit(feq, text); });
      w = drop;
      break;
    }
    case ControlKind::Sheet: {
      auto* tabs = new QTabWidget(this);
      tabs->tabBar()->setFocusPolicy(Qt::NoFocus);
      // A tab chosen by the user's click is reported; the sheet goes on showing the runtime's tab
      // until the runtime changes it. (Alt mnemonics are the runtime's: see hasMnemonic.)
      connect(tabs, &QTabWidget::currentChanged, this, [this, feq, tabs](int index) {
        Control* sheet = controlOf(feq);
        if (applying_ || !sheet) return;
        const auto& f = sheet->tab_feqs;
        if (index >= 0 && index < static_cast<int>(f.size()) &&
            f[static_cast<size_t>(index)] != sheet->current_tab) {
          sink_.selectTab(window_, feq, f[static_cast<size_t>(index)]);
        }
        const auto it = std::find(f.begin(), f.end(), sheet->current_tab);
        if (it == f.end()) return;
        const QSignalBlocker block(tabs);
        tabs->setCurrentIndex(static_cast<int>(it - f.begin()));
      });
      w = tabs;
      break;
    }
    case ControlKind::Tab: break;  // a page of its sheet
    case ControlKind::Group: w = new QGroupBox(this); break;
    case ControlKind::Panel: {
      auto* frame = new QFrame(this);
      frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      w = frame;
      break;
    }
    case ControlKind::Prompt:
    case ControlKind::String:
    case ControlKind::Unknown: w = new QLabel(this); break;
  }
  if (!w) return;
  ctl.widget.reset(w);
  if (!ctl.target) ctl.target = w;
  if (takesFocus(ctl.kind)) {
    // Tab and Shift+Tab go to the runtime, which moves the focus; a click may focus a control.
    w->setFocusPolicy(Qt::ClickFocus);
    ctl.target->setFocusPolicy(Qt::ClickFocus);
  } else {
    w->setFocusPolicy(Qt::NoFocus);
  }
  ctl.target->installEventFilter(this);
  feq_of_target_[ctl.target] = feq;
  w->show();
}

void ControlArea::update(Control& ctl, const rt::ControlView& c, const rt::WindowView& window) {
  QWidget* w = ctl.widget.get();
  const QString text = fromCp1252(c.text);
  const bool text_changed = !ctl.model_text || *ctl.model_text != c.text;
  ctl.model_text = c.text;
  if (w) {
    w->setEnabled(!c.disabled);
    w->setToolTip(fromCp1252(c.tip));
    // A control with a font of its own (a large bold title); others use the window's.
    QFont own = font();
    if (!c.font_name.empty() || c.font_size > 0) {
      own = windowFont(c.font_name.empty() ? window.font_name : c.font_name,
                       c.font_size > 0 ? c.font_size : window.font_size);
    }
    own.setBold(c.bold);
    if (w->font() != own) w->setFont(own);
  }
  switch (ctl.kind) {
    case ControlKind::Entry:
    case ControlKind::Spin:
    case ControlKind::Text:
    case ControlKind::DropCombo: {
      if (ctl.kind == ControlKind::DropCombo) {
        static_cast<DropCombo*>(w)->setButtonOnly(c.drop_button_only);
      }
      if (ctl.text_box) {
        ctl.text_box->setReadOnly(c.read_only);
        if (text_changed && ctl.text_box->toPlainText() != text) ctl.text_box->setPlainText(text);
        break;
      }
      QLineEdit* line = ctl.line;
      line->setReadOnly(c.read_only);
      line->setAlignment((c.right_aligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
      const int width = stringPictureWidth(c.picture);
      line->setMaxLength(width > 0 ? width : 32767);
      // The model's text replaces the field's only when the model changed it, so that a
      // snapshot taken while the user types does not undo the typing.
      if (text_changed && line->text() != text) {
        const int cursor = line->cursorPosition();
        line->setText(text);
        if (line->hasFocus()) line->setCursorPosition(std::min(cursor, int(text.size())));
      }
      QPalette pal = QApplication::palette(line);
      if (c.read_only) {
        pal.setColor(QPalette::Base, pal.color(QPalette::Window));
      } else if (c.refused) {
        pal.setColor(QPalette::Base, QColor(0xFF, 0xE4, 0xE1));  // its last text was refused
      } else if (c.required) {
        pal.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xE0));  // a required field stands out
      }
      line->setPalette(pal);
      line->setProperty("required", c.required);
      break;
    }
    case ControlKind::Button: {
      auto* button = static_cast<QPushButton*>(w);
      button->setText(text);
      button->setShortcut(QKeySequence());  // Alt+letter goes to the runtime as a key
      button->setIcon(iconFor(c.icon));
      button->setDefault(c.is_default);
      break;
    }
    case ControlKind::Check:
    case ControlKind::Radio: {
      auto* button = static_cast<QAbstractButton*>(w);
      button->setText(text);
      button->setShortcut(QKeySequence());
      const QSignalBlocker block(button);
      button->setCheckable(true);
      button->setChecked(c.checked);
      break;
    }
    case ControlKind::Combo:
    case ControlKind::DropList: {
      auto* combo = static_cast<QComboBox*>(w);
      if (combo->count() != 1 || combo->itemText(0) != text) {
        const QSignalBlocker block(combo);
        combo->clear();
        combo->addItem(text);
      }
      break;
    }
    case ControlKind::List: static_cast<ListControl*>(w)->apply(c, units_); break;
    case ControlKind::Sheet: updateSheet(ctl, c, window); break;
    case ControlKind::Group: static_cast<QGroupBox*>(w)->setTitle(withoutMnemonic(text)); break;
    case ControlKind::Prompt:
    case ControlKind::String:
    case ControlKind::Unknown: {
      auto* label = static_cast<QLabel*>(w);
      label->setText(withoutMnemonic(text));
      label->setAutoFillBackground(!c.transparent);
      label->setAlignment((c.right_aligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
      break;
    }
    case ControlKind::Panel:
    case ControlKind::Tab: break;
  }
  ctl.view = c;
}

void ControlArea::updateSheet(Control& ctl, const rt::ControlView& c, const rt::WindowView& window) {
  auto* tabs = static_cast<QTabWidget*>(ctl.widget.get());
  std::vector<int> feqs;
  std::vector<const rt::ControlView*> tab_views;
  for (const auto& t : window.controls) {
    if (t.parent == c.feq && kindOf(t.type) == ControlKind::Tab) {
      feqs.push_back(t.feq);
      tab_views.push_back(&t);
    }
  }
  if (feqs != ctl.tab_feqs) {
    const QSignalBlocker block(tabs);
    while (tabs->count() > 0) {
      QWidget* page = tabs->widget(0);
      tabs->removeTab(0);
      delete page;
    }
    for (size_t i = 0; i < feqs.size(); ++i) tabs->addTab(new QWidget, QString());
    ctl.tab_feqs = feqs;
  }
  for (size_t i = 0; i < tab_views.size(); ++i) {
    const int index = static_cast<int>(i);
    tabs->setTabText(index, fromCp1252(tab_views[i]->text));  // '&' marks the mnemonic
    tabs->setTabEnabled(index, !tab_views[i]->disabled);
    tabs->setTabVisible(index, !tab_views[i]->hidden);
  }
  ctl.current_tab = c.current_tab;
  const auto it = std::find(feqs.begin(), feqs.end(), c.current_tab);
  if (it != feqs.end()) {
    const QSignalBlocker block(tabs);
    tabs->setCurrentIndex(static_cast<int>(it - feqs.begin()));
  }
}

bool ControlArea::shown(const rt::ControlView& c, const std::map<int, const rt::ControlView*>& by_feq,
                        int depth) const {
  if (c.hidden) return false;
  if (c.parent == 0 || depth > 16) return true;
  auto it = by_feq.find(c.parent);
  if (it == by_feq.end()) return true;
  const rt::ControlView& parent = *it->second;
  if (kindOf(parent.type) == ControlKind::Tab) {
    // On a tab: shown while that tab is its sheet's current one.
    auto sheet = by_feq.find(parent.parent);
    if (sheet != by_feq.end() && sheet->second->current_tab != parent.feq) return false;
  }
  return shown(parent, by_feq, depth + 1);
}

void ControlArea::placeControls(const rt::WindowView& window) {
  for (const auto& c : window.controls) {
    Control& ctl = *controls_[c.feq];
    if (!ctl.widget || c.over_list != 0) continue;
    ctl.widget->setGeometry(units_.toPixels(c.pos, ctl.widget->sizeHint()));
  }
  // Editors created over a list cell lie on that cell, whatever their own position says.
  for (const auto& c : window.controls) {
    Control& ctl = *controls_[c.feq];
    if (ctl.widget && c.over_list != 0) placeOverList(ctl);
  }
}

void ControlArea::placeOverList(Control& ctl) {
  const rt::ControlView& c = ctl.view;
  auto* list = qobject_cast<ListControl*>(widgetOf(c.over_list));
  QRect cell = list ? list->cellRect(c.over_row - 1, c.over_col - 1) : QRect();
  if (cell.isEmpty()) {
    ctl.widget->setGeometry(units_.toPixels(c.pos, ctl.widget->sizeHint()));
    return;
  }
  cell.translate(list->pos());
  ctl.widget->setGeometry(cell);
  ctl.widget->raise();
}

void ControlArea::stackControls(const rt::WindowView& window) {
  // Sheets, groups and panels lie under the controls declared on them.
  for (const auto& c : window.controls) {
    Control& ctl = *controls_[c.feq];
    if (ctl.widget && !isContainer(ctl.kind)) ctl.widget->raise();
  }
  for (auto it = window.controls.rbegin(); it != window.controls.rend(); ++it) {
    Control& ctl = *controls_[it->feq];
    if (ctl.widget && isContainer(ctl.kind)) ctl.widget->lower();
  }
  for (const auto& c : window.controls) {
    Control& ctl = *controls_[c.feq];
    if (ctl.widget && c.over_list != 0) ctl.widget->raise();
  }
}

bool ControlArea::hasMnemonic(int vk) const {
  if (!((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))) return false;
  const auto marks = [vk](const std::string& caption) {
    const QString text = fromCp1252(caption);
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
      if (text[i] != QLatin1Char('&')) continue;
      if (text[i + 1] == QLatin1Char('&')) {
        ++i;
        continue;
      }
      return text[i + 1].toUpper() == QChar(vk);
    }
    return false;
  };
  for (const auto& [feq, ctl] : controls_) {
    const rt::ControlView& c = ctl->view;
    if (c.hidden || c.disabled) continue;
    const bool marked = ctl->kind == ControlKind::Button || ctl->kind == ControlKind::Prompt ||
                        ctl->kind == ControlKind::Tab;
    if (marked && marks(c.text)) return true;
  }
  return false;
}

void ControlArea::mirrorFocus(int feq) {
  QWidget* target = focusTargetOf(feq);
  if (!target || !target->isEnabled() || target->hasFocus()) return;
  const bool was = applying_;
  applying_ = true;
  target->setFocus(Qt::OtherFocusReason);
  applying_ = was;
}

void ControlArea::reportEdit(int feq, const QString& text) {
  sink_.editText(window_, feq, toCp1252(text));
}

bool ControlArea::clipboardAction(rt::StdAction action, int feq) {
  QWidget* target = feq != 0 ? focusTargetOf(feq) : QApplication::focusWidget();
  auto* line = qobject_cast<QLineEdit*>(target);
  if (!line) return false;
  const QString before = line->text();
  switch (action) {
    case rt::StdAction::Cut: line->cut(); break;
    case rt::StdAction::Copy: line->copy(); break;
    case rt::StdAction::Paste: line->paste(); break;
    default: return false;
  }
  auto it = feq_of_target_.find(line);
  if (line->text() != before && it != feq_of_target_.end()) reportEdit(it->second, line->text());
  return true;
}

bool ControlArea::handleKey(int feq, const Control& ctl, QKeyEvent* event) {
  const std::optional<int> code = runtimeKeyCode(*event);
  const auto is_alert = [&](int k) {
    return std::find(ctl.view.alert_keys.begin(), ctl.view.alert_keys.end(), k) !=
               ctl.view.alert_keys.end() ||
           std::find(window_alert_keys_.begin(), window_alert_keys_.end(), k) !=
               window_alert_keys_.end();
  };
  if (code && is_alert(*code)) {
    // An alert key replaces the key's normal effect, whatever the widget would do with it.
    sink_.key(window_, feq, *code);
    return true;
  }
  switch (ctl.kind) {
    case ControlKind::List: {
      const QString text = event->text();
      const bool typed = !text.isEmpty() && text[0].isPrint() &&
                         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
      if (typed && (!code || entryKeyRole(*code) == KeyRole::Typing)) {
        sink_.character(window_, feq, toCp1252(text));
      } else if (code) {
        sink_.key(window_, feq, *code);
      }
      return true;
    }
    case ControlKind::Button:
    case ControlKind::Check:
    case ControlKind::Radio:
      // Space and Enter press the button or toggle the box: the runtime does it.
      if (code) sink_.key(window_, feq, *code);
      return true;
    default: {
      if (!code) return false;
      switch (entryKeyRole(*code)) {
        case KeyRole::Typing:
          if (ctl.line && !ctl.view.insert_mode && !ctl.line->hasSelectedText() &&
              !ctl.line->isReadOnly() && ctl.line->cursorPosition() < ctl.line->text().size()) {
            // Without INS a typed character replaces the one at the caret.
            ctl.line->setSelection(ctl.line->cursorPosition(), 1);
          }
          return ctl.line == nullptr && ctl.text_box == nullptr;
        case KeyRole::Editing:
          sink_.key(window_, feq, *code);
          return ctl.line == nullptr && ctl.text_box == nullptr;
        case KeyRole::Command: sink_.key(window_, feq, *code); return true;
      }
      return true;
    }
  }
}

bool ControlArea::eventFilter(QObject* watched, QEvent* event) {
  auto it = feq_of_target_.find(watched);
  if (it == feq_of_target_.end()) return QWidget::eventFilter(watched, event);
  const int feq = it->second;
  Control* ctl = controlOf(feq);
  if (!ctl) return false;
  switch (event->type()) {
    case QEvent::KeyPress: return handleKey(feq, *ctl, static_cast<QKeyEvent*>(event));
    case QEvent::ShortcutOverride: {
      // Keys the runtime decides about must reach the control, not a window shortcut. Alt with
      // a letter stays a menu shortcut unless a control of this window has it as its mnemonic.
      auto* ke = static_cast<QKeyEvent*>(event);
      const auto code = runtimeKeyCode(*ke);
      if (!code || entryKeyRole(*code) != KeyRole::Command) return false;
      if ((*code & key::kAlt) && !hasMnemonic(*code & 0xFF)) return false;
      event->accept();
      return true;
    }
    case QEvent::FocusIn: {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      // Tab keys go to the runtime, so only a click or a mnemonic moves the focus here; focus that
      // Qt passes on by itself (a focused control being disabled) is not the user's doing.
      const bool by_user = reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason;
      if (!applying_ && by_user && feq != model_focus_) {
        model_focus_ = feq;  // reported once; the next snapshot says where the focus is
        sink_.focus(window_, feq);
      }
      return false;
    }
    default: return false;
  }
}

}  // namespace uiqt
