#include "quillet/app/platform.h"

#include <atomic>

#include "runtime/vocabulary.h"
#include "runtime/window.h"

namespace quillet {
namespace {

std::atomic<Platform*> current_platform{nullptr};

// Whether Shift is held by synthesised input on this thread.
thread_local bool shift_held = false;

}  // namespace

bool StandInPlatform::SystemParametersInfo(unsigned action, unsigned param, int* value,
                                           unsigned flags) {
  std::lock_guard<std::mutex> lk(mu_);
  switch (action) {
    case SPI_GETDRAGFULLWINDOWS:
      if (value == nullptr) return false;
      *value = drag_full_windows_;
      calls_.push_back({PlatformCall::Kind::GetParameter, action, *value, 0, false});
      return true;
    case SPI_SETDRAGFULLWINDOWS:
      drag_full_windows_ = param != 0 ? 1 : 0;
      calls_.push_back({PlatformCall::Kind::SetParameter, action, static_cast<int>(param), flags, false});
      return true;
    default:
      return false;
  }
}

void StandInPlatform::KeyboardEvent(rt::Window& focused_window, int virtual_key, bool key_up) {
  {
    std::lock_guard<std::mutex> lk(mu_);
    calls_.push_back({PlatformCall::Kind::Key, 0, virtual_key, 0, key_up});
  }
  if (virtual_key == VK_SHIFT) {
    shift_held = !key_up;
    return;
  }
  // A key takes effect as it goes down, with Shift when Shift is held.
  if (!key_up) focused_window.pressKey(virtual_key + (shift_held ? rt::ShiftMod : 0));
}

int StandInPlatform::dragFullWindows() const {
  std::lock_guard<std::mutex> lk(mu_);
  return drag_full_windows_;
}

void StandInPlatform::setDragFullWindows(int on) {
  std::lock_guard<std::mutex> lk(mu_);
  drag_full_windows_ = on != 0 ? 1 : 0;
}

std::vector<PlatformCall> StandInPlatform::calls() const {
  std::lock_guard<std::mutex> lk(mu_);
  return calls_;
}

void StandInPlatform::clearCalls() {
  std::lock_guard<std::mutex> lk(mu_);
  calls_.clear();
}

StandInPlatform& standInPlatform() {
  static StandInPlatform stand_in;
  return stand_in;
}

Platform& platform() {
  Platform* p = current_platform.load();
  return p != nullptr ? *p : standInPlatform();
}

void setPlatform(Platform* p) { current_platform.store(p); }

}  // namespace quillet
