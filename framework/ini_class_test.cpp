#include "framework/ini_class.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "runtime/ini_file.h"

namespace {

namespace fs = std::filesystem;
using fw::INIClass;
using fw::WindowPlacement;
using Strings = std::vector<std::string>;

// Runs each test in a fresh working directory of its own.
class IniClassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_cwd_ = fs::current_path();
    dir_ = fs::temp_directory_path() /
           ("ini_class_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(old_cwd_);
    fs::remove_all(dir_);
  }
  fs::path old_cwd_, dir_;
};

TEST_F(IniClassTest, RunThatWritesNothingLeavesOnlyTheSectionList) {
  INIClass ini;
  ASSERT_TRUE(ini.Init("Quillet.INI", 0, ""));
  EXPECT_EQ(fs::path(ini.FileName()), dir_ / "Quillet.INI");
  ini.Update();
  EXPECT_FALSE(fs::exists(dir_ / "Quillet.INI")) << "Update() without arguments wrote";
  ASSERT_TRUE(ini.Kill());

  const rt::IniFile file((dir_ / "Quillet.INI").string());
  EXPECT_EQ(file.sections(), Strings{"__Dont_Touch_Me__"});
  EXPECT_EQ(file.get("__Dont_Touch_Me__", "Sectors", "<missing>"), "");
}

TEST_F(IniClassTest, WindowPlacementSurvivesARestart) {
  const WindowPlacement saved{true, false, -8, 20, 640, 480};
  {
    INIClass ini;
    ASSERT_TRUE(ini.Init(".\\Brassol.INI"));
    ASSERT_TRUE(ini.Update("Main", saved));
    ASSERT_TRUE(ini.Kill());
  }
  const rt::IniFile file((dir_ / "Brassol.INI").string());
  const std::pair<const char*, const char*> entries[] = {
      {"Maximize", "Yes"}, {"Minimize", "No"}, {"XPos", "-8"},
      {"YPos", "20"},      {"Width", "640"},   {"Height", "480"},
  };
  for (const auto& [entry, value] : entries) {
    EXPECT_EQ(file.get("Main", entry, "<missing>"), value) << entry;
  }
  EXPECT_EQ(file.get("__Dont_Touch_Me__", "Sectors", "<missing>"), "Main");

  INIClass again;
  ASSERT_TRUE(again.Init(".\\Brassol.INI"));
  WindowPlacement restored;
  ASSERT_TRUE(again.Fetch("Main", restored));
  EXPECT_EQ(restored, saved);
  EXPECT_EQ(again.Sections(), Strings{"Main"});
}

TEST_F(IniClassTest, PlacementIsReadOnlyWhenComplete) {
  struct Case {
    const char* what;
    std::vector<std::pair<const char*, const char*>> entries;
    bool found;
    WindowPlacement expected;
  };
  const WindowPlacement untouched{false, true, 1, 2, 3, 4};
  const std::vector<Case> cases = {
      {"no section", {}, false, untouched},
      {"all there",
       {{"Maximize", "No"}, {"Minimize", "Yes"}, {"XPos", "5"}, {"YPos", "6"}, {"Width", "70"},
        {"Height", "80"}},
       true,
       {false, true, 5, 6, 70, 80}},
      {"flags missing, spaces around numbers",
       {{"XPos", " 5 "}, {"YPos", "+6"}, {"Width", "70"}, {"Height", "80"}},
       true,
       {false, false, 5, 6, 70, 80}},
      {"flags in other cases and words",
       {{"Maximize", "yes"}, {"Minimize", "1"}, {"XPos", "0"}, {"YPos", "0"}, {"Width", "1"},
        {"Height", "1"}},
       true,
       {true, false, 0, 0, 1, 1}},
      {"height missing", {{"XPos", "5"}, {"YPos", "6"}, {"Width", "70"}}, false, untouched},
      {"position not a number",
       {{"XPos", "left"}, {"YPos", "6"}, {"Width", "70"}, {"Height", "80"}},
       false,
       untouched},
      {"trailing garbage",
       {{"XPos", "5px"}, {"YPos", "6"}, {"Width", "70"}, {"Height", "80"}},
       false,
       untouched},
      {"zero width", {{"XPos", "5"}, {"YPos", "6"}, {"Width", "0"}, {"Height", "80"}}, false,
       untouched},
      {"negative height",
       {{"XPos", "5"}, {"YPos", "6"}, {"Width", "70"}, {"Height", "-80"}},
       false,
       untouched},
      {"too large", {{"XPos", "99999999999"}, {"YPos", "6"}, {"Width", "70"}, {"Height", "80"}},
       false, untouched},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string section = "Proc" + std::to_string(++n);
    rt::IniFile file((dir_ / "Test.INI").string());
    for (const auto& [entry, value] : c.entries) ASSERT_TRUE(file.set(section, entry, value));
    INIClass ini;
    ASSERT_TRUE(ini.Init("Test.INI"));
    WindowPlacement p = untouched;
    EXPECT_EQ(ini.Fetch(section, p), c.found) << c.what;
    EXPECT_EQ(p, c.expected) << c.what;
  }
}

TEST_F(IniClassTest, SectionListGrowsAcrossRunsOnceEachInFirstWrittenOrder) {
  {
    INIClass ini;
    ASSERT_TRUE(ini.Init("App.INI"));
    ASSERT_TRUE(ini.Update("Main", "Last", "1"));
    ASSERT_TRUE(ini.Update("Browse:Cabecera", WindowPlacement{false, false, 1, 2, 3, 4}));
    ASSERT_TRUE(ini.Update("main", "Other", "2"));
    EXPECT_EQ(ini.Sections(), (Strings{"Main", "Browse:Cabecera"}));
    ASSERT_TRUE(ini.Kill());
  }
  {
    INIClass ini;
    ASSERT_TRUE(ini.Init("App.INI"));
    EXPECT_EQ(ini.Sections(), (Strings{"Main", "Browse:Cabecera"}));
    ASSERT_TRUE(ini.Update("Acerca", "Seen", "Yes"));
    ASSERT_TRUE(ini.Kill());
  }
  const rt::IniFile file((dir_ / "App.INI").string());
  EXPECT_EQ(file.get("__Dont_Touch_Me__", "Sectors"), "Main|Browse:Cabecera|Acerca");
  EXPECT_EQ(file.get("Main", "Last"), "1");
  EXPECT_EQ(file.get("Main", "Other"), "2");
}

TEST_F(IniClassTest, SectionListReadsLeniently) {
  rt::IniFile file((dir_ / "App.INI").string());
  ASSERT_TRUE(file.set("__Dont_Touch_Me__", "Sectors", " A | |B||a|__dont_touch_me__|C "));
  INIClass ini;
  ASSERT_TRUE(ini.Init("App.INI"));
  EXPECT_EQ(ini.Sections(), (Strings{"A", "B", "C"}));
}

TEST_F(IniClassTest, SectionListSectionIsTheManagersOwn) {
  INIClass ini;
  ASSERT_TRUE(ini.Init("App.INI"));
  EXPECT_FALSE(ini.Update("__Dont_Touch_Me__", "Sectors", "Hacked"));
  EXPECT_FALSE(ini.Update("__DONT_TOUCH_ME__", "Other", "x"));
  EXPECT_TRUE(ini.Sections().empty());
  ASSERT_TRUE(ini.Kill());
  EXPECT_EQ(rt::IniFile((dir_ / "App.INI").string()).get("__Dont_Touch_Me__", "Sectors", "?"),
            "");
}

TEST_F(IniClassTest, GenericEntriesReadBackOrGiveTheDefault) {
  INIClass ini;
  ASSERT_TRUE(ini.Init("App.INI"));
  EXPECT_EQ(ini.Fetch("Main", "Colour", "Blue"), "Blue");
  ASSERT_TRUE(ini.Update("Main", "Colour", "Red"));
  EXPECT_EQ(ini.Fetch("MAIN", "colour", "Blue"), "Red");
  EXPECT_EQ(ini.Fetch("Main", "Size", "9"), "9");
}

TEST_F(IniClassTest, UnusableSetUpsAreRefused) {
  INIClass ini;
  EXPECT_FALSE(ini.Init("App.INI", 1, ""));
  EXPECT_FALSE(ini.Init("", 0, ""));
  EXPECT_FALSE(ini.Init("   ", 0, ""));
  EXPECT_EQ(ini.Fetch("Main", "X", "def"), "def");
  EXPECT_FALSE(ini.Update("Main", "X", "1"));
  WindowPlacement p;
  EXPECT_FALSE(ini.Update("Main", p));
  EXPECT_FALSE(ini.Fetch("Main", p));
  EXPECT_FALSE(ini.Kill());
  EXPECT_TRUE(fs::is_empty(dir_));

  ASSERT_TRUE(ini.Init("App.INI"));
  EXPECT_FALSE(ini.Update("", "X", "1"));
  ASSERT_TRUE(ini.Kill());
  EXPECT_FALSE(ini.Kill()) << "a second Kill has nothing to write";
}

TEST_F(IniClassTest, WriteFailureIsReported) {
  fs::create_directories(dir_ / "Locked.INI");  // a directory where the file should be
  INIClass ini;
  ASSERT_TRUE(ini.Init("Locked.INI"));
  EXPECT_FALSE(ini.Update("Main", "X", "1"));
  EXPECT_TRUE(ini.Sections().empty()) << "a section that was not written was listed";
  EXPECT_FALSE(ini.Kill());
}

TEST_F(IniClassTest, FileStaysWhereItWasBoundWhenTheWorkingDirectoryChanges) {
  INIClass ini;
  ASSERT_TRUE(ini.Init("Quillet.INI"));
  fs::create_directories(dir_ / "elsewhere");
  fs::current_path(dir_ / "elsewhere");
  ASSERT_TRUE(ini.Update("Main", "X", "1"));
  ASSERT_TRUE(ini.Kill());
  EXPECT_TRUE(fs::exists(dir_ / "Quillet.INI"));
  EXPECT_FALSE(fs::exists(dir_ / "elsewhere" / "Quillet.INI"));
}

TEST_F(IniClassTest, ThreadsWritingAtOnceLoseNothing) {
  INIClass ini;
  ASSERT_TRUE(ini.Init("App.INI"));
  constexpr int kThreads = 4;
  constexpr int kEntries = 10;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&ini, t] {
      for (int e = 0; e < kEntries; ++e) {
        EXPECT_TRUE(ini.Update("S" + std::to_string(t), "E" + std::to_string(e),
                               std::to_string(t * 100 + e)));
      }
    });
  }
  for (std::thread& th : threads) th.join();
  EXPECT_EQ(ini.Sections().size(), static_cast<std::size_t>(kThreads));
  for (int t = 0; t < kThreads; ++t) {
    for (int e = 0; e < kEntries; ++e) {
      EXPECT_EQ(ini.Fetch("S" + std::to_string(t), "E" + std::to_string(e), "?"),
                std::to_string(t * 100 + e));
    }
  }
  ASSERT_TRUE(ini.Kill());
}

}  // namespace
