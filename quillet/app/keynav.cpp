#include "quillet/app/keynav.h"

#include <algorithm>
#include <map>

#include "quillet/app/platform.h"
#include "runtime/event.h"
#include "runtime/frontend.h"
#include "runtime/vocabulary.h"
#include "runtime/window.h"

namespace quillet {
namespace {

// Alert keys installed by control type (slot, key). Text controls get Down and Up only when
// single-line, and lists get Right and Left only with flag 0; those are added in Init.
struct SlotKey {
  int slot;
  int key;
};

std::vector<SlotKey> alertsFor(int type) {
  switch (type) {
    case rt::CONTROL_Text:
    case rt::CONTROL_RichText:
    case rt::CONTROL_Spin:
      return {{254, rt::EnterKey}};
    case rt::CONTROL_Entry:
      return {{253, rt::DownKey}, {254, rt::EnterKey}, {255, rt::UpKey}};
    case rt::CONTROL_DropCombo:
    case rt::CONTROL_Combo:
      return {{255, rt::EnterKey}};
    case rt::CONTROL_List:
    case rt::CONTROL_DropList:
      return {{253, rt::EnterKey}};
    case rt::CONTROL_Button:
      return {{252, rt::UpKey}, {253, rt::DownKey}, {254, rt::RightKey}, {255, rt::LeftKey}};
    case rt::CONTROL_Radio:
      return {{251, rt::EnterKey}};
    case rt::CONTROL_Check:
      return {{251, rt::EnterKey}, {252, rt::UpKey}, {253, rt::DownKey}, {254, rt::RightKey},
              {255, rt::LeftKey}};
    default:
      return {};
  }
}

bool isTextType(int type) { return type == rt::CONTROL_Text || type == rt::CONTROL_RichText; }

}  // namespace

KeyNavClass::KeyNavClass(rt::Window& window) : window_(window) {}

KeyNavClass::~KeyNavClass() = default;

bool KeyNavClass::excluded(int feq) const {
  return std::any_of(ExcludedControl.begin(), ExcludedControl.end(),
                     [feq](const ExcludedControlEntry& e) { return e.CT == feq; });
}

bool KeyNavClass::singleLine(int feq) const {
  auto view = rt::viewOf(window_.id());
  if (!view) return true;
  for (const rt::ControlView& c : view->controls)
    if (c.feq == feq) return c.single_line;
  return true;
}

void KeyNavClass::Init(std::uint8_t flag) {
  for (int feq : window_.controls()) {
    if (!excluded(feq)) {
      const int type = window_.type(feq);
      for (const SlotKey& a : alertsFor(type)) window_.setAlert(feq, a.slot, a.key);
      if (isTextType(type) && singleLine(feq)) {
        window_.setAlert(feq, 253, rt::DownKey);
        window_.setAlert(feq, 255, rt::UpKey);
      }
      if ((type == rt::CONTROL_List || type == rt::CONTROL_DropList) && flag == 0) {
        window_.setAlert(feq, 254, rt::RightKey);
        window_.setAlert(feq, 255, rt::LeftKey);
      }
    }
    for (const NextTabStopEntry& e : NextTabStopControlQ) {
      if (e.CT != feq) continue;
      window_.setAlert(feq, kTabSlot, rt::TabKey);
      window_.setAlert(e.NEXTCT, kShiftTabSlot, rt::ShiftTab);
    }
  }
  Inited = 1;
}

std::uint8_t KeyNavClass::TakeEvent() {
  if (!Inited) return 0;
  const int feq = rt::field();
  if (feq == 0 || rt::event() != rt::EVENT_AlertKey) return 0;
  if (excluded(feq)) return 0;
  switch (rt::keyCode()) {
    case rt::EnterKey:
      if (isTextType(window_.type(feq)) && !singleLine(feq)) {
        PressKey(rt::ShiftEnter);
        PressKey(rt::ShiftShift);
      } else {
        PressKey(rt::TabKey);
      }
      return 1;
    case rt::UpKey:
    case rt::LeftKey:
      PressKey(rt::ShiftTab);
      return 1;
    case rt::DownKey:
    case rt::RightKey:
      PressKey(rt::TabKey);
      return 1;
    case rt::ShiftTab: {
      auto it = std::find_if(NextTabStopControlQ.begin(), NextTabStopControlQ.end(),
                             [feq](const NextTabStopEntry& e) { return e.NEXTCT == feq; });
      window_.select(it != NextTabStopControlQ.end() ? it->CT : tabStop(feq, -1));
      return 1;
    }
    case rt::TabKey: {
      auto it = std::find_if(NextTabStopControlQ.begin(), NextTabStopControlQ.end(),
                             [feq](const NextTabStopEntry& e) { return e.CT == feq; });
      window_.select(it != NextTabStopControlQ.end() ? it->NEXTCT : tabStop(feq, 1));
      return 1;
    }
    default:
      return 0;
  }
}

void KeyNavClass::PressKey(int keycode) {
  if (keycode == rt::ShiftTab) {
    Platform& p = platform();
    p.KeyboardEvent(window_, VK_SHIFT, false);
    p.KeyboardEvent(window_, VK_TAB, false);
    p.KeyboardEvent(window_, VK_TAB, true);
    p.KeyboardEvent(window_, VK_SHIFT, true);
    return;
  }
  window_.pressKey(keycode);
}

int KeyNavClass::tabStop(int from, int direction) const {
  // The window's own tab order: focusable controls that show, are enabled, not skipped, not
  // read-only edits and not made over a list cell, in control-number order, wrapping around.
  auto view = rt::viewOf(window_.id());
  if (!view) return 0;
  std::map<int, const rt::ControlView*> by_feq;
  for (const rt::ControlView& c : view->controls) by_feq[c.feq] = &c;
  auto shows = [&](const rt::ControlView& c) {
    const rt::ControlView* cur = &c;
    for (int depth = 0; depth < 16; ++depth) {
      if (cur->hidden) return false;
      if (cur->parent == 0) return true;
      auto p = by_feq.find(cur->parent);
      if (p == by_feq.end()) return true;
      const rt::ControlView* parent = p->second;
      if (parent->type == rt::CONTROL_Tab) {
        auto sheet = by_feq.find(parent->parent);
        if (sheet != by_feq.end() && sheet->second->current_tab != 0 &&
            sheet->second->current_tab != parent->feq)
          return false;
      }
      cur = parent;
    }
    return true;
  };
  std::vector<int> stops;
  for (const auto& [feq, c] : by_feq) {
    if (!rt::isFocusableType(c->type) || c->disabled || c->skip || c->over_list != 0) continue;
    if (c->read_only && rt::isEditType(c->type)) continue;
    if (!shows(*c)) continue;
    stops.push_back(feq);
  }
  if (stops.empty()) return 0;
  if (direction > 0) {
    auto it = std::upper_bound(stops.begin(), stops.end(), from);
    return it == stops.end() ? stops.front() : *it;
  }
  auto it = std::lower_bound(stops.begin(), stops.end(), from);
  return it == stops.begin() ? stops.back() : *(it - 1);
}

}  // namespace quillet
