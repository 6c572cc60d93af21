#pragma once
// The operating-system services that Quillet's own code calls: the system's "drag full windows"
// setting and synthesised keyboard input.
//
// SystemParametersInfo follows the system call of that name for the two actions Quillet uses:
//   SPI_GETDRAGFULLWINDOWS (38): *value := 1 when windows are dragged with their contents, else 0
//   SPI_SETDRAGFULLWINDOWS (37): the setting := `param` (0 or 1); flags SPIF_UPDATEINIFILE (write
//                                it to the user's profile) and SPIF_SENDCHANGE (tell every window)
// It returns false for any other action (or a null value pointer for the get), changing nothing.
//
// KeyboardEvent synthesises one key going down or up as real keyboard input. The system delivers
// real input to the control that has the keyboard focus; the caller names the window that holds
// it (its own), since one process may show windows of several threads.
//
// Where the system has no such setting (this platform), a stand-in keeps it for the process, as
// the user's profile would, and records every call so that tests can watch what the program sets.
// Its keyboard turns Shift-down, Tab-down, Tab-up, Shift-up into the key Shift+Tab queued to the
// focused control of the named window (any other key goes down as itself, with Shift added while
// Shift is held); the held state is per thread.
//
// Threads: platform() and every operation may be used from any thread; setPlatform only while no
// program runs.

#include <cstdint>
#include <mutex>
#include <vector>

namespace rt {
class Window;
}

namespace quillet {

inline constexpr unsigned SPI_SETDRAGFULLWINDOWS = 37;
inline constexpr unsigned SPI_GETDRAGFULLWINDOWS = 38;
inline constexpr unsigned SPIF_UPDATEINIFILE = 1;
inline constexpr unsigned SPIF_SENDCHANGE = 2;

// Virtual-key numbers of the keys that Quillet synthesises.
inline constexpr int VK_TAB = 9;
inline constexpr int VK_SHIFT = 16;

class Platform {
 public:
  virtual ~Platform() = default;
  [[nodiscard]] virtual bool SystemParametersInfo(unsigned action, unsigned param, int* value,
                                                  unsigned flags) = 0;
  virtual void KeyboardEvent(rt::Window& focused_window, int virtual_key, bool key_up) = 0;
};

// One call seen by the stand-in.
struct PlatformCall {
  enum class Kind { GetParameter, SetParameter, Key };
  Kind kind;
  unsigned action = 0;   // parameters: the action
  int value = 0;         // get: the value returned; set: the value set; key: the virtual key
  unsigned flags = 0;    // set: the flags
  bool key_up = false;   // key: up (true) or down

  bool operator==(const PlatformCall&) const = default;
};

class StandInPlatform : public Platform {
 public:
  bool SystemParametersInfo(unsigned action, unsigned param, int* value, unsigned flags) override;
  void KeyboardEvent(rt::Window& focused_window, int virtual_key, bool key_up) override;

  // The setting as the user's profile holds it (tests set the starting state here).
  int dragFullWindows() const;
  void setDragFullWindows(int on);
  // Every call since the last clearCalls(), in order.
  std::vector<PlatformCall> calls() const;
  void clearCalls();

 private:
  mutable std::mutex mu_;
  int drag_full_windows_ = 1;  // the usual desktop default
  std::vector<PlatformCall> calls_;
};

// The platform Quillet uses: the process's stand-in unless another was set.
Platform& platform();
// The process's stand-in (the default platform).
StandInPlatform& standInPlatform();
// Makes `p` the platform (nullptr: back to the stand-in). `p` must outlive its use.
void setPlatform(Platform* p);

}  // namespace quillet
