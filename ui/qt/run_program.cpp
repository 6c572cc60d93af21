#include "ui/qt/run_program.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/qt/qt_front_end.h"
#include "ui/qt/runtime_input.h"

namespace uiqt {

bool displayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

int runProgram(int argc, char** argv, const rt::ProgramDecl& decl) {
  if (!displayAvailable()) {
    // The program's name as ./run knows it: the last part of its path.
    std::string name = argc > 0 && argv[0] ? argv[0] : "quillet";
    if (const auto slash = name.find_last_of('/'); slash != std::string::npos) {
      name = name.substr(slash + 1);
    }
    std::fprintf(stderr,
                 "No display is available to show the program's windows.\n"
                 "Run it under a virtual display instead, for example:  xvfb-run -a ./run %s\n",
                 name.c_str());
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);  // the program decides when it ends
  RuntimeInput input;
  QtFrontEnd front_end(&rt::viewOf, input);
  front_end.on_program_ended = [](int exit_code) { QApplication::exit(exit_code); };
  const rt::StartResult started = rt::startProgram(decl, front_end);
  if (started != rt::StartResult::Ok) {
    std::fprintf(stderr, "The program could not start (code %d).\n", static_cast<int>(started));
    return 1;
  }
  QApplication::exec();
  // The loop ends when the program has ended, unless the desktop session ended it first: then
  // the program is halted, since its threads can no longer be answered.
  if (!front_end.exitCode()) rt::stopProgram(1);
  const int exit_code = rt::waitProgram();
  return front_end.exitCode().value_or(exit_code);
}

int runProgram(int argc, char** argv, rt::Procedure startup) {
  return runProgram(argc, argv, rt::ProgramDecl{startup, nullptr, nullptr, 0});
}

}  // namespace uiqt
