#include "runtime/popup_menu.h"

#include "runtime/runtime_state.h"

namespace rt {

using namespace detail;

int popup(const std::vector<PopupItem>& items) {
  Runtime& R = runtime();
  ThreadRecord* t = tl_thread;
  bool any = false;
  for (const auto& i : items) any = any || (!i.separator && !i.disabled);
  std::unique_lock<std::mutex> lk(R.mu);
  if (!t || !R.fe || !any || !R.fe->supportsPopups()) return 0;
  if (R.halting) {
    lk.unlock();
    throw HaltUnwind{};
  }
  PopupView view;
  view.id = R.next_box++;
  view.owner = t->stack.empty() ? 0 : t->stack.back();
  view.thread = t->number;
  for (std::size_t i = 0; i < items.size(); ++i) {
    MenuEntryView e;
    e.feq = static_cast<int>(i) + 1;
    e.text = items[i].text;
    e.disabled = items[i].disabled;
    e.separator = items[i].separator;
    view.entries.push_back(std::move(e));
  }
  R.popups[view.id] = view;
  t->box = view.id;
  t->box_answered = false;
  t->wait = ThreadRecord::Wait::Message;
  if (WindowModel* owner = findWindow(view.owner)) changed(*owner);
  Note n(Note::Kind::Popup);
  n.popup = view;
  R.notes.push_back(std::move(n));
  flushNotes(lk);
  R.state_cv.notify_all();
  t->cv.wait(lk, [&] { return t->box_answered || R.halting; });
  R.popups.erase(view.id);
  t->box = 0;
  t->wait = ThreadRecord::Wait::None;
  if (WindowModel* owner = findWindow(view.owner)) changed(*owner);
  if (!t->box_answered) {
    flushNotes(lk);
    lk.unlock();
    throw HaltUnwind{};
  }
  int answer = t->box_answer;
  flushNotes(lk);
  return answer;
}

}  // namespace rt
