#pragma once
// ScriptedFrontEnd: the front end that tests use instead of a screen. It records what the
// runtime tells a front end (windows opened and closed, message boxes, standard actions, the
// program's end) and answers message boxes from a queue of answers that a test prepares.
//
// Thread rules: the FrontEnd callbacks arrive on program threads; every other member may be
// called from any thread. All members are safe to call concurrently. Texts are kept as the
// runtime gives them (Windows-1252).

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/frontend.h"

namespace scripted {

struct MessageRecord {
  std::uint64_t id = 0;
  rt::WindowId owner = 0;
  int thread = 0;
  std::string caption, text, icon;  // Windows-1252; "|" already turned into "\n"
  int buttons = 0;
  int default_button = 0;
  int answer = 0;                   // 0 while the box waits for an answer
};

struct PopupRecord {
  std::uint64_t id = 0;
  rt::WindowId owner = 0;
  int thread = 0;
  std::vector<std::string> items;  // Windows-1252; "-" for a separator, a leading '~' when disabled
  int choice = -1;                 // -1 while the menu waits for a choice; 0 = dismissed
};

struct ActionRecord {
  rt::WindowId window = 0;
  rt::StdAction action = rt::StdAction::None;
  int focused_feq = 0;
};

class ScriptedFrontEnd : public rt::FrontEnd {
 public:
  void windowOpened(rt::WindowId) override;
  void windowChanged(rt::WindowId) override {}
  void windowClosed(rt::WindowId) override;
  void messageBoxOpened(const rt::MessageBoxView&) override;
  void standardAction(rt::WindowId, rt::StdAction, int focused_feq) override;
  void programEnded(int exit_code) override;
  bool supportsPopups() const override { return true; }
  void popupOpened(const rt::PopupView&) override;

  // Answers for boxes that open later, in order.
  void queueAnswer(int button);
  void clearQueuedAnswers();
  // Answers the oldest box still waiting; false when none waits or the box has no such button.
  bool answerPending(int button);

  // Choices for pop-up menus that open later, in order (1-based item, 0 = dismiss).
  void queuePopupChoice(int choice);
  // Chooses in the oldest pop-up menu still open; false when none is open or the item cannot be
  // chosen (a separator, disabled, out of range).
  bool choosePending(int choice);
  std::optional<PopupRecord> pendingPopup() const;
  std::vector<PopupRecord> popups() const;

  std::optional<MessageRecord> pending() const;
  std::vector<MessageRecord> messages() const;
  std::vector<ActionRecord> actions() const;
  std::vector<rt::WindowId> openedWindows() const;  // every window opened, in order
  std::optional<int> exitCode() const;              // once the program has ended

 private:
  mutable std::mutex mu_;
  std::deque<int> answers_;
  std::vector<MessageRecord> messages_;
  std::deque<int> popup_choices_;
  std::vector<PopupRecord> popups_;
  std::vector<ActionRecord> actions_;
  std::vector<rt::WindowId> opened_;
  std::optional<int> exit_code_;
};

}  // namespace scripted
