#pragma once
// The Qt window of one runtime window: a QMainWindow with the window's menu bar, status bar and
// client area (its controls, or the MDI area of the program's frame), kept equal to the window's
// snapshot by `apply`.
//
// Title, icon, frame kind and border buttons, maximized/minimized state, position and size follow
// the snapshot when the snapshot changes them; between times the user may move and resize the
// window, which is reported (in dialog units) together with the close box, maximize and minimize
// and menu choices and highlights. A MDI child lives in a QMdiSubWindow of its frame's MDI area
// (`subWindow()`), any other window is a top-level window. GUI thread only.

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <optional>

#include "runtime/frontend.h"
#include "ui/qt/input_sink.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;

namespace uiqt {

class ControlArea;

class WindowHost : public QMainWindow {
  Q_OBJECT
 public:
  // A MDI child is placed in `mdi_area` (its frame's); a frame creates its own MDI area.
  WindowHost(const rt::WindowView& first_view, InputSink& sink, QMdiArea* mdi_area);
  ~WindowHost() override;

  void apply(const rt::WindowView& view);
  // Shows the window for the first time, in the snapshot's state.
  void showFirst();
  // Closes the window because the runtime closed it (not reported as the user's close).
  void closeFromRuntime();

  rt::WindowId id() const { return id_; }
  bool isFrame() const { return frame_; }
  ControlArea* controls() const { return controls_; }
  QMdiArea* mdiArea() const { return mdi_; }
  QMdiSubWindow* subWindow() const { return sub_; }
  // The widget that stands for this window on screen (the sub-window of a MDI child).
  QWidget* screenWidget();
  QLabel* statusSection(int index) const;
  const std::optional<rt::WindowView>& lastView() const { return last_; }

  // Blocks the user's input while a message box of this window's thread is open.
  void setBlockedByMessage(bool blocked);

  // Standard actions of this window: clipboard of its focused control, MDI arrangement.
  void standardAction(rt::StdAction action, int focused_feq);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void applyMenu(const rt::WindowView& view);
  void addMenuEntries(QWidget* menu_or_bar, const std::vector<rt::MenuEntryView>& entries);
  void applyStatusBar(const rt::WindowView& view);
  void applyFrame(const rt::WindowView& view);
  void applyGeometry(const rt::WindowView& view);
  void applyState(const rt::WindowView& view);
  // Adds a MDI child's sub-window, already at its size, to its frame's MDI area.
  void enterMdiArea();
  void updateEnabled();
  void geometryChangedByUser();
  void reportGeometry();
  void arrangeIcons();

  rt::WindowId id_;
  InputSink& sink_;
  bool frame_;
  bool mdi_child_;
  QMdiArea* mdi_ = nullptr;          // the frame's own MDI area
  QPointer<QMdiSubWindow> sub_;      // a MDI child's sub-window
  QPointer<QMdiArea> mdi_parent_;    // the MDI area a MDI child's sub-window is yet to enter
  ControlArea* controls_ = nullptr;
  std::vector<QLabel*> status_labels_;
  std::string menu_signature_;
  std::optional<rt::WindowView> last_;
  std::unique_ptr<QPrinter> printer_;
  QTimer geometry_report_;
  bool menu_bar_connected_ = false;
  bool applying_ = false;
  bool closing_ = false;
  bool takes_input_ = true;
  bool blocked_ = false;
};

}  // namespace uiqt
