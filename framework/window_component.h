#pragma once
// WindowComponent: something registered with a window manager that takes part in the window's
// life: the toolbar, browses, the resize manager. The window manager offers it every event of the
// window before its own handling, resets and updates it with the window, asks it to set its alert
// keys, and kills it when the window manager is killed.
//
// Every operation runs on the window's thread, inside the window manager's calls.

namespace fw {

class WindowManager;

class WindowComponent {
 public:
  virtual ~WindowComponent() = default;

  // Called once by WindowManager::AddItem, before any other call.
  virtual void Attached(WindowManager& window) { (void)window; }
  // The window's current event (runtime/event.h). Level_Benign (0) lets the window go on with its
  // own handling; Level_Fatal (3) ends the event loop; Level_Handled (5) consumes the event.
  virtual int TakeEvent() { return 0; }
  // The window is being refreshed; `force` asks for a reload even when nothing seems to have
  // changed.
  virtual void Reset(bool force) { (void)force; }
  // The screen has been copied into the window's variables; copy what the component shows.
  virtual void Update() {}
  // Install the component's alert keys on the window.
  virtual void SetAlerts() {}
  // The window manager is being killed; the component is forgotten afterwards.
  virtual void Kill() {}
};

}  // namespace fw
