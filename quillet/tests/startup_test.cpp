// Quillet's start-up and shut-down as seen from outside: the drag-full-windows setting switched
// off for the program's life and back on only when it was on, no table file made at start-up, and
// "Quillet.INI" holding nothing but the INI manager's section list after a normal exit.
#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "quillet/app/platform.h"
#include "quillet/app/startup.h"
#include "ui/scripted/program_driver.h"

namespace {

using scripted::Program;
using K = quillet::PlatformCall::Kind;

constexpr const char* kFrame = "Demostración de Quillet Optimisado";

std::vector<std::string> filesIn(const std::string& dir) {
  std::vector<std::string> out;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string name = e->d_name;
      if (name != "." && name != "..") out.push_back(name);
    }
    closedir(d);
  }
  return out;
}

std::vector<std::string> nonEmptyLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> out;
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (!line.empty()) out.push_back(line);
  }
  return out;
}

TEST(Startup, DragFullWindowsIsOffWhileQuilletRunsAndRestoredOnlyWhenItWasOn) {
  struct Case {
    int before;
    std::vector<quillet::PlatformCall> while_running;
    std::vector<quillet::PlatformCall> at_exit;  // added by the shut-down
  };
  const unsigned flags = quillet::SPIF_UPDATEINIFILE | quillet::SPIF_SENDCHANGE;
  const std::vector<Case> cases = {
      {1,
       {{K::GetParameter, quillet::SPI_GETDRAGFULLWINDOWS, 1, 0, false},
        {K::SetParameter, quillet::SPI_SETDRAGFULLWINDOWS, 0, flags, false}},
       {{K::SetParameter, quillet::SPI_SETDRAGFULLWINDOWS, 1, flags, false}}},
      {0, {{K::GetParameter, quillet::SPI_GETDRAGFULLWINDOWS, 0, 0, false}}, {}},
  };
  quillet::StandInPlatform& platform = quillet::standInPlatform();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    platform.setDragFullWindows(c.before);
    platform.clearCalls();
    Program p(quillet::QuilletProgram());
    ASSERT_TRUE(p.waitIdle());
    EXPECT_EQ(platform.dragFullWindows(), 0);
    EXPECT_EQ(platform.calls(), c.while_running);
    ASSERT_TRUE(p.chooseMenu(kFrame, {"&Archivo", "&Salir"}));
    EXPECT_EQ(p.end(), 0);
    EXPECT_EQ(platform.dragFullWindows(), c.before);
    std::vector<quillet::PlatformCall> all = c.while_running;
    all.insert(all.end(), c.at_exit.begin(), c.at_exit.end());
    EXPECT_EQ(platform.calls(), all);
  }
  platform.setDragFullWindows(1);
}

TEST(Startup, MakesNoTableFileAndLeavesOnlyTheSectionListInTheIniFile) {
  Program p(quillet::QuilletProgram());
  ASSERT_TRUE(p.waitIdle());
  // Nothing at all is written while the frame is up: neither a table file nor the INI file.
  EXPECT_TRUE(filesIn(p.directory()).empty()) << testing::PrintToString(filesIn(p.directory()));
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Archivo", "&Salir"}));
  EXPECT_EQ(p.end(), 0);
  EXPECT_EQ(filesIn(p.directory()), std::vector<std::string>{"Quillet.INI"});
  EXPECT_EQ(nonEmptyLines(p.directory() + "/Quillet.INI"),
            (std::vector<std::string>{"[__Dont_Touch_Me__]", "Sectors="}));
}

TEST(Startup, TheProgramCanRunAgainInTheSameProcess) {
  // Program-wide objects are initialised again by the next start-up: the second run shows the
  // same frame and ends as cleanly.
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    Program p(quillet::QuilletProgram());
    ASSERT_TRUE(p.waitIdle());
    EXPECT_EQ(p.titles(), std::vector<std::string>{kFrame});
    ASSERT_TRUE(p.closeWindow(kFrame));
    EXPECT_EQ(p.end(), 0);
    EXPECT_EQ(nonEmptyLines(p.directory() + "/Quillet.INI"),
              (std::vector<std::string>{"[__Dont_Touch_Me__]", "Sectors="}));
  }
}

}  // namespace
