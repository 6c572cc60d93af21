#include "framework/message_presenter.h"

#include "runtime/message_box.h"
#include "runtime/program.h"
#include "runtime/threads.h"
#include "runtime/vocabulary.h"

namespace fw {
namespace {

static_assert(Button_OK == rt::BUTTON_OK && Button_Yes == rt::BUTTON_YES &&
                  Button_No == rt::BUTTON_NO && Button_Cancel == rt::BUTTON_CANCEL,
              "message-box buttons must keep the runtime's values");

class RuntimePresenter final : public MessagePresenter {
 public:
  int show(std::string_view text, std::string_view caption, MessageIcon icon, int buttons,
           int default_button) override {
    const char* icon_name =
        icon == MessageIcon::Warning ? rt::ICON_Exclamation : rt::ICON_Asterisk;
    return rt::message(text, caption, icon_name, buttons, default_button);
  }

  // On a program thread the runtime unwinds every thread and does not come back here; from any
  // other thread it is asked to stop the program and this returns.
  void endProgram(int exit_code) override {
    if (rt::threadNumber() != 0) rt::halt(exit_code);
    rt::stopProgram(exit_code);
  }
};

}  // namespace

std::shared_ptr<MessagePresenter> runtimeMessagePresenter() {
  static const std::shared_ptr<MessagePresenter> presenter = std::make_shared<RuntimePresenter>();
  return presenter;
}

}  // namespace fw
