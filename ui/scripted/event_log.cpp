#include "ui/scripted/event_log.h"

#include "runtime/event.h"

namespace scripted {

std::string eventName(int e) {
  switch (e) {
    case rt::EVENT_Accepted: return "Accepted";
    case rt::EVENT_NewSelection: return "NewSelection";
    case rt::EVENT_ScrollUp: return "ScrollUp";
    case rt::EVENT_ScrollDown: return "ScrollDown";
    case rt::EVENT_PageUp: return "PageUp";
    case rt::EVENT_PageDown: return "PageDown";
    case rt::EVENT_ScrollTop: return "ScrollTop";
    case rt::EVENT_ScrollBottom: return "ScrollBottom";
    case rt::EVENT_Locate: return "Locate";
    case rt::EVENT_AlertKey: return "AlertKey";
    case rt::EVENT_ScrollDrag: return "ScrollDrag";
    case rt::EVENT_DroppingDown: return "DroppingDown";
    case rt::EVENT_Selected: return "Selected";
    case rt::EVENT_CloseWindow: return "CloseWindow";
    case rt::EVENT_CloseDown: return "CloseDown";
    case rt::EVENT_OpenWindow: return "OpenWindow";
    case rt::EVENT_GainFocus: return "GainFocus";
    case rt::EVENT_LoseFocus: return "LoseFocus";
    case rt::EVENT_Timer: return "Timer";
    case rt::EVENT_Size: return "Size";
    case rt::EVENT_Restore: return "Restore";
    case rt::EVENT_Maximize: return "Maximize";
    case rt::EVENT_Iconize: return "Iconize";
    case rt::EVENT_Completed: return "Completed";
    case rt::EVENT_Moved: return "Moved";
    case rt::EVENT_Sized: return "Sized";
    default: return std::to_string(e);
  }
}

void EventLog::record(std::string_view who) {
  std::string e = std::string(who) + " " + eventName(rt::event()) + " " + std::to_string(rt::field());
  if (rt::keyCode() != 0) e += " key " + std::to_string(rt::keyCode());
  add(std::move(e));
}

void EventLog::add(std::string entry) {
  std::lock_guard<std::mutex> lk(mu_);
  entries_.push_back(std::move(entry));
}

void EventLog::clear() {
  std::lock_guard<std::mutex> lk(mu_);
  entries_.clear();
}

std::vector<std::string> EventLog::entries() const {
  std::lock_guard<std::mutex> lk(mu_);
  return entries_;
}

std::vector<std::string> EventLog::matching(std::string_view prefix) const {
  std::lock_guard<std::mutex> lk(mu_);
  std::vector<std::string> out;
  for (const auto& e : entries_)
    if (std::string_view(e).substr(0, prefix.size()) == prefix) out.push_back(e);
  return out;
}

bool EventLog::contains(std::string_view entry) const {
  std::lock_guard<std::mutex> lk(mu_);
  for (const auto& e : entries_)
    if (e == entry) return true;
  return false;
}

std::string EventLog::joined() const {
  std::lock_guard<std::mutex> lk(mu_);
  std::string out;
  for (const auto& e : entries_) out += e + "\n";
  return out;
}

}  // namespace scripted
