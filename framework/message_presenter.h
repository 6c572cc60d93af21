#pragma once
// What the error manager needs from the outside world: a message box and a way to end the
// program after a fatal message.
//
// ErrorClass never shows anything itself; it hands the finished message (title, text with line
// breaks, icon, buttons) to a MessagePresenter. The default presenter is the runtime's message
// box; tests give a recording one. Text is Windows-1252, as everywhere in the window model.
//
// Threads: ErrorClass calls a presenter from the thread that raised the message, one call at a
// time (it serialises them), so a presenter may block that thread until the user answers. A
// presenter must not call back into the ErrorClass that called it.

#include <memory>
#include <string_view>

namespace fw {

// Buttons of a message box, combined by adding them; the answer is the value of one of them.
enum MessageButton : int {
  Button_OK = 1,
  Button_Yes = 2,
  Button_No = 4,
  Button_Cancel = 64,
};

enum class MessageIcon {
  Warning,      // questions
  Information,  // notices and fatal messages
};

class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;
  // Shows a message box and returns the button pressed (one of `buttons`).
  virtual int show(std::string_view text, std::string_view caption, MessageIcon icon, int buttons,
                   int default_button) = 0;
  // Ends the program with the given exit code. May return (a test presenter does); the caller
  // then carries on as if the program were ending.
  virtual void endProgram(int exit_code) = 0;
};

// The presenter that shows the runtime's message boxes and ends the program through the
// runtime. One shared object for the process; safe from every thread.
std::shared_ptr<MessagePresenter> runtimeMessagePresenter();

}  // namespace fw
