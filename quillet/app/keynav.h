#pragma once
// KeyNavClass: keyboard navigation between the fields of a Quillet window. Enter, Down and Right
// move to the next field and Up and Left to the previous one, as Tab and Shift+Tab do; on a list
// Left and Right leave the list while Up and Down keep moving within it; Enter in an entry moves on
// instead of pressing the window's default button.
//
// Init installs alert keys on the window's controls by their type (slots 249..255, see keynav.cpp)
// and must run after the window has opened; TakeEvent then turns those alert keys into focus moves
// and returns 1 when it consumed the event (the window's TakeEvent returns Level_Handled then and
// skips the framework's handling). Before Init, TakeEvent does nothing and returns 0.
//
// ExcludedControl lists controls the navigation leaves alone; NextTabStopControlQ gives an
// explicit tab order (from CT, Tab goes to NEXTCT). Both start empty, and Quillet adds nothing to
// them, so every control takes part and the tab order is the window's own.
//
// PressKey sends Shift+Tab as real keyboard input through the platform layer (Shift down, Tab down
// and up, Shift up); every other key goes to the runtime's press-key, queued as if typed.
//
// Threads: a KeyNavClass belongs to its window's thread.

#include <cstdint>
#include <vector>

namespace rt {
class Window;
}

namespace quillet {

struct ExcludedControlEntry {
  std::uint16_t CT = 0;
};

struct NextTabStopEntry {
  std::int32_t CT = 0;
  std::int32_t NEXTCT = 0;
};

class KeyNavClass {
 public:
  // Alert-key slots that Init uses.
  static constexpr int kTabSlot = 249;
  static constexpr int kShiftTabSlot = 250;

  explicit KeyNavClass(rt::Window& window);
  virtual ~KeyNavClass();
  KeyNavClass(const KeyNavClass&) = delete;
  KeyNavClass& operator=(const KeyNavClass&) = delete;

  std::vector<ExcludedControlEntry> ExcludedControl;
  std::vector<NextTabStopEntry> NextTabStopControlQ;
  std::uint8_t Inited = 0;

  // Installs the alert keys on every control of the open window. `flag` 0 also makes Left and
  // Right leave lists. Sets Inited.
  virtual void Init(std::uint8_t flag);
  // 1 when the current event was a navigation key of a control and the focus was moved; else 0.
  virtual std::uint8_t TakeEvent();
  void PressKey(int keycode);

 private:
  bool excluded(int feq) const;
  bool singleLine(int feq) const;
  int tabStop(int from, int direction) const;

  rt::Window& window_;
};

}  // namespace quillet
