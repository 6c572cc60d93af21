// The Quillet executable: the start-up procedure, with its thread hooks, under the Qt front end.
#include "quillet/app/startup.h"
#include "ui/qt/run_program.h"

int main(int argc, char** argv) { return uiqt::runProgram(argc, argv, quillet::QuilletProgram()); }
