#pragma once
// The Qt front end of the runtime: shows every runtime window as a WindowHost, message boxes as
// QMessageBoxes, pop-up menus as QMenus at the mouse, and carries out the standard actions only a front end can do.
//
// The rt::FrontEnd callbacks may come from any thread and return at once: each one is queued to
// the GUI thread (changes of one window are coalesced into one redraw from the latest snapshot).
// The GUI thread never waits for a program thread: it reads snapshots through the ViewSource and
// reports input through the InputSink, both of which only take the runtime's lock briefly.
// Everything else (the accessors) is for the GUI thread only.

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>

#include "runtime/frontend.h"
#include "ui/qt/input_sink.h"

namespace uiqt {

class WindowHost;

class QtFrontEnd : public QObject, public rt::FrontEnd {
  Q_OBJECT
 public:
  using ViewSource = std::function<std::optional<rt::WindowView>(rt::WindowId)>;

  // `views` and `sink` must outlive the front end. Construct on the GUI thread.
  QtFrontEnd(ViewSource views, InputSink& sink, QObject* parent = nullptr);
  ~QtFrontEnd() override;

  // rt::FrontEnd, any thread.
  void windowOpened(rt::WindowId) override;
  void windowChanged(rt::WindowId) override;
  void windowClosed(rt::WindowId) override;
  void messageBoxOpened(const rt::MessageBoxView&) override;
  void standardAction(rt::WindowId, rt::StdAction, int focused_feq) override;
  void programEnded(int exit_code) override;
  bool supportsPopups() const override { return true; }
  void popupOpened(const rt::PopupView&) override;

  // GUI thread.
  WindowHost* host(rt::WindowId) const;
  QMessageBox* openMessageBox(std::uint64_t box_id) const;
  std::optional<int> exitCode() const { return exit_code_; }
  // Called on the GUI thread once the program has ended.
  std::function<void(int exit_code)> on_program_ended;

 private:
  void openOnGui(rt::WindowId);
  void flushChanges();
  void closeOnGui(rt::WindowId);
  void showMessageBox(const rt::MessageBoxView&);
  void showPopup(const rt::PopupView&);
  void actOnGui(rt::WindowId, rt::StdAction, int focused_feq);
  WindowHost* frameHost() const;

  ViewSource views_;
  InputSink& sink_;
  std::map<rt::WindowId, QPointer<WindowHost>> hosts_;
  std::map<std::uint64_t, QPointer<QMessageBox>> boxes_;
  std::optional<int> exit_code_;

  std::mutex pending_mutex_;          // guards the two fields below (any thread)
  std::set<rt::WindowId> pending_changes_;
  bool flush_posted_ = false;
};

}  // namespace uiqt
