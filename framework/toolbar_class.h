#pragma once
// ToolbarClass: the toolbar manager of a window. Registered with the window manager
// (WindowManager::AddItem), it records the window and forwards the requests of the window's
// toolbar buttons to the current target: the browse or form that the buttons act on.
//
// A toolbar button is a control registered with AddButton together with the request it sends: a
// row-navigation code (VCRForward, VCRBackward, VCRPageDown, VCRPageUp, VCRFirst, VCRLast) or a
// record request (InsertRecord, ChangeRecord, DeleteRecord, SelectRecord, ViewRecord). Pressing
// it (EVENT_Accepted) hands the request to the current target's TakeToolbar, whose result becomes
// the event's result. Without a target, a row-navigation request is left in the window's
// VCRRequest for whoever reads it, and the event is consumed.
//
// Targets are added with the control they belong to (a browse's list, a form's first field); the
// target added last is current, and a target becomes current again when its control receives the
// focus. A window without toolbar buttons keeps an idle toolbar: forms still rely on one being
// registered (WindowManager::HasToolbar).
//
// Failure: AddButton refuses control 0 and unknown requests (false). Threads: the window's thread.

#include <map>
#include <vector>

#include "framework/window_component.h"

namespace fw {

class ToolbarTarget {
 public:
  virtual ~ToolbarTarget() = default;
  // Carries out a toolbar request; returns a window result (Level_ values).
  virtual int TakeToolbar(int request) = 0;
};

class ToolbarClass : public WindowComponent {
 public:
  // Forgets buttons, targets and window.
  void Init();

  [[nodiscard]] bool AddButton(int feq, int request);
  void AddTarget(ToolbarTarget& target, int control);
  // Makes the target added for `control` current; false when there is none.
  bool SetTarget(int control);
  ToolbarTarget* CurrentTarget() const { return current_; }
  // The window manager the toolbar is registered with (nullptr before AddItem and after Kill).
  WindowManager* Window() const { return window_; }
  // The request of a toolbar button (0 when `feq` is none).
  int RequestOf(int feq) const;

  void Attached(WindowManager& window) override;
  int TakeEvent() override;
  void Kill() override;

 private:
  struct Target {
    ToolbarTarget* target;
    int control;
  };
  WindowManager* window_ = nullptr;
  std::map<int, int> buttons_;  // control -> request
  std::vector<Target> targets_;
  ToolbarTarget* current_ = nullptr;
};

}  // namespace fw
