#include "framework/message_presenter.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fw {
namespace {

// Interim presenter until the runtime's message boxes are linked in.
class RuntimePresenter final : public MessagePresenter {
 public:
  int show(std::string_view text, std::string_view caption, MessageIcon, int,
           int default_button) override {
    std::fprintf(stderr, "%s: %s\n", std::string(caption).c_str(), std::string(text).c_str());
    return default_button;
  }
  void endProgram(int exit_code) override { std::exit(exit_code); }
};

}  // namespace

std::shared_ptr<MessagePresenter> runtimeMessagePresenter() {
  static const std::shared_ptr<MessagePresenter> presenter = std::make_shared<RuntimePresenter>();
  return presenter;
}

}  // namespace fw
