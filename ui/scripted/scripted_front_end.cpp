#include "ui/scripted/scripted_front_end.h"

namespace scripted {

void ScriptedFrontEnd::windowOpened(rt::WindowId id) {
  std::lock_guard<std::mutex> lk(mu_);
  opened_.push_back(id);
}

void ScriptedFrontEnd::windowClosed(rt::WindowId) {}

void ScriptedFrontEnd::messageBoxOpened(const rt::MessageBoxView& box) {
  int answer = 0;
  {
    std::lock_guard<std::mutex> lk(mu_);
    MessageRecord r;
    r.id = box.id;
    r.owner = box.owner;
    r.thread = box.thread;
    r.caption = box.caption;
    r.text = box.text;
    r.icon = box.icon;
    r.buttons = box.buttons;
    r.default_button = box.default_button;
    if (!answers_.empty()) {
      answer = answers_.front();
      answers_.pop_front();
      r.answer = answer;
    }
    messages_.push_back(std::move(r));
  }
  if (answer != 0) rt::input::answerMessage(box.id, answer);
}

void ScriptedFrontEnd::standardAction(rt::WindowId win, rt::StdAction action, int focused_feq) {
  std::lock_guard<std::mutex> lk(mu_);
  actions_.push_back({win, action, focused_feq});
}

void ScriptedFrontEnd::programEnded(int exit_code) {
  std::lock_guard<std::mutex> lk(mu_);
  exit_code_ = exit_code;
}

void ScriptedFrontEnd::popupOpened(const rt::PopupView& view) {
  int choice = -1;
  {
    std::lock_guard<std::mutex> lk(mu_);
    PopupRecord r;
    r.id = view.id;
    r.owner = view.owner;
    r.thread = view.thread;
    for (const auto& e : view.entries) r.items.push_back(e.separator ? "-" : (e.disabled ? "~" : "") + e.text);
    if (!popup_choices_.empty()) {
      choice = popup_choices_.front();
      popup_choices_.pop_front();
      r.choice = choice;
    }
    popups_.push_back(std::move(r));
  }
  if (choice >= 0) rt::input::answerPopup(view.id, choice);
}

void ScriptedFrontEnd::queuePopupChoice(int choice) {
  std::lock_guard<std::mutex> lk(mu_);
  popup_choices_.push_back(choice);
}

bool ScriptedFrontEnd::choosePending(int choice) {
  std::uint64_t id = 0;
  {
    std::lock_guard<std::mutex> lk(mu_);
    for (auto& p : popups_) {
      if (p.choice != -1) continue;
      if (choice < 0 || choice > static_cast<int>(p.items.size())) return false;
      if (choice > 0 && (p.items[choice - 1] == "-" || p.items[choice - 1].starts_with("~"))) return false;
      p.choice = choice;
      id = p.id;
      break;
    }
  }
  if (id == 0) return false;
  rt::input::answerPopup(id, choice);
  return true;
}

std::optional<PopupRecord> ScriptedFrontEnd::pendingPopup() const {
  std::lock_guard<std::mutex> lk(mu_);
  for (const auto& p : popups_)
    if (p.choice == -1) return p;
  return std::nullopt;
}

std::vector<PopupRecord> ScriptedFrontEnd::popups() const {
  std::lock_guard<std::mutex> lk(mu_);
  return popups_;
}

void ScriptedFrontEnd::queueAnswer(int button) {
  std::lock_guard<std::mutex> lk(mu_);
  answers_.push_back(button);
}

void ScriptedFrontEnd::clearQueuedAnswers() {
  std::lock_guard<std::mutex> lk(mu_);
  answers_.clear();
}

bool ScriptedFrontEnd::answerPending(int button) {
  std::uint64_t id = 0;
  {
    std::lock_guard<std::mutex> lk(mu_);
    for (auto& m : messages_) {
      if (m.answer != 0) continue;
      if (!(m.buttons & button)) return false;
      m.answer = button;
      id = m.id;
      break;
    }
  }
  if (id == 0) return false;
  rt::input::answerMessage(id, button);
  return true;
}

std::optional<MessageRecord> ScriptedFrontEnd::pending() const {
  std::lock_guard<std::mutex> lk(mu_);
  for (const auto& m : messages_)
    if (m.answer == 0) return m;
  return std::nullopt;
}

std::vector<MessageRecord> ScriptedFrontEnd::messages() const {
  std::lock_guard<std::mutex> lk(mu_);
  return messages_;
}

std::vector<ActionRecord> ScriptedFrontEnd::actions() const {
  std::lock_guard<std::mutex> lk(mu_);
  return actions_;
}

std::vector<rt::WindowId> ScriptedFrontEnd::openedWindows() const {
  std::lock_guard<std::mutex> lk(mu_);
  return opened_;
}

std::optional<int> ScriptedFrontEnd::exitCode() const {
  std::lock_guard<std::mutex> lk(mu_);
  return exit_code_;
}

}  // namespace scripted
