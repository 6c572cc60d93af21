#include "runtime/message_box.h"

#include "runtime/runtime_state.h"

namespace rt {

using namespace detail;

namespace {
int firstButton(int buttons) {
  for (int b = 1; b <= BUTTON_HELP; b <<= 1)
    if (buttons & b) return b;
  return BUTTON_OK;
}
}  // namespace

int message(std::string_view text, std::string_view caption, std::string_view icon, int buttons,
            int default_button) {
  if (buttons <= 0) buttons = BUTTON_OK;
  if (!(default_button & buttons) || (default_button & (default_button - 1))) default_button = firstButton(buttons);
  Runtime& R = runtime();
  ThreadRecord* t = tl_thread;
  std::unique_lock<std::mutex> lk(R.mu);
  if (!t || !R.fe) return default_button;
  if (R.halting) {
    lk.unlock();
    throw HaltUnwind{};
  }
  MessageBoxView box;
  box.id = R.next_box++;
  box.owner = t->stack.empty() ? 0 : t->stack.back();
  box.thread = t->number;
  box.caption = std::string(caption);
  box.text = std::string(text);
  for (char& c : box.text)
    if (c == '|') c = '\n';
  box.icon = std::string(icon);
  box.buttons = buttons;
  box.default_button = default_button;
  R.boxes[box.id] = box;
  t->box = box.id;
  t->box_answered = false;
  t->wait = ThreadRecord::Wait::Message;
  if (WindowModel* owner = findWindow(box.owner)) changed(*owner);  // stops taking input
  Note n(Note::Kind::Box);
  n.box = box;
  R.notes.push_back(std::move(n));
  flushNotes(lk);
  R.state_cv.notify_all();
  t->cv.wait(lk, [&] { return t->box_answered || R.halting; });
  R.boxes.erase(box.id);
  t->box = 0;
  t->wait = ThreadRecord::Wait::None;
  if (WindowModel* owner = findWindow(box.owner)) changed(*owner);
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
