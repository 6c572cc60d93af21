#pragma once
// The client area of a runtime window: one widget per control, laid out in dialog units, kept
// equal to the window's snapshot by `apply` (controls are created, updated in place and removed
// by control number; a control whose type changes gets a new widget).
//
// Input goes to the InputSink: edits of entry fields (the whole text), keys the runtime decides
// about (Tab, Enter, Esc, arrows, function keys, Alt with a control's mnemonic ...), clicks on
// buttons and list cells, list
// scrolling, tab choices, and a focus change made by the user's click (reported once). Focus
// set from the snapshot is mirrored onto the widgets without being reported back. A tab chosen by
// the user is reported and the sheet stays on the snapshot's tab until the runtime changes it.
// GUI thread only.

#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>

#include "runtime/frontend.h"
#include "ui/qt/control_kind.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/input_sink.h"

namespace uiqt {

class ControlArea : public QWidget {
  Q_OBJECT
 public:
  ControlArea(rt::WindowId window, InputSink& sink, QWidget* parent = nullptr);
  ~ControlArea() override;

  void apply(const rt::WindowView& view);

  // The widget that shows a control, and the one that takes its keys and focus (they differ
  // for lists and drop combos); nullptr when the window has no such control.
  QWidget* widgetOf(int feq) const;
  QWidget* focusTargetOf(int feq) const;
  // Size of the window's client area from the snapshot, in pixels.
  QSize designSize() const { return design_size_; }
  const DialogUnits& units() const { return units_; }
  rt::WindowId window() const { return window_; }

  // Cut, copy or paste in a control's edit field (the focused widget when feq is 0). Returns
  // false when the control has no edit field. An edit that changes the text is reported.
  bool clipboardAction(rt::StdAction action, int feq);

  QSize sizeHint() const override { return design_size_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Control;

  void createWidget(Control& ctl, const rt::ControlView& view);
  void update(Control& ctl, const rt::ControlView& view, const rt::WindowView& window);
  void updateSheet(Control& ctl, const rt::ControlView& view, const rt::WindowView& window);
  void placeControls(const rt::WindowView& window);
  void placeOverList(Control& ctl);
  void stackControls(const rt::WindowView& window);
  bool shown(const rt::ControlView& view, const std::map<int, const rt::ControlView*>& by_feq,
             int depth = 0) const;
  void mirrorFocus(int feq);
  // True when a button, prompt or tab of this window marks this key (A-Z, 0-9) with '&'.
  bool hasMnemonic(int vk) const;
  bool handleKey(int feq, const Control& ctl, QKeyEvent* event);
  void reportEdit(int feq, const QString& text);
  Control* controlOf(int feq);

  rt::WindowId window_;
  InputSink& sink_;
  DialogUnits units_;
  QSize design_size_;
  std::map<int, std::unique_ptr<Control>> controls_;
  std::unordered_map<const QObject*, int> feq_of_target_;
  std::vector<int> window_alert_keys_;
  std::optional<std::uint64_t> beeps_;  // the model's count of refused inputs, once seen
  int model_focus_ = 0;
  bool applying_ = false;
};

}  // namespace uiqt
