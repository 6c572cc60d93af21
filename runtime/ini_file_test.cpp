#include "runtime/ini_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace rt {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "ini_file_test.XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string path(const char* name = "Test.INI") const { return (dir_ / name).string(); }
  void write(const std::string& file, const std::string& text) const {
    std::ofstream(file, std::ios::binary) << text;
  }
  std::string read(const std::string& file) const {
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

  fs::path dir_;
};

TEST_F(IniFileTest, MissingFileGivesDefaults) {
  IniFile ini(path());
  EXPECT_EQ(ini.get("Main", "X", "17"), "17");
  EXPECT_EQ(ini.get("Main", "X"), "");
  EXPECT_TRUE(ini.sections().empty());
  EXPECT_TRUE(ini.entries("Main").empty());
  EXPECT_TRUE(ini.removeEntry("Main", "X"));
  EXPECT_TRUE(ini.removeSection("Main"));
  EXPECT_FALSE(fs::exists(path())) << "removing nothing must not create the file";
}

TEST_F(IniFileTest, ReadsWhatItCanAndIgnoresTheRest) {
  write(path(),
        "orphan=before any section\r\n"
        "; a comment\r\n"
        "[Main]\r\n"
        "  XPos = 10  \r\n"
        "YPos=20\r\n"
        "Title=a=b\r\n"
        "Empty=\r\n"
        "# Hidden=1\r\n"
        "no equals sign here\r\n"
        "=nameless\r\n"
        "[Broken\r\n"
        "Width=5\r\n"
        "[ Second ]\r\n"
        "Width=300\r\n"
        "\x01\x02\xff garbage\r\n"
        "[main]\r\n"
        "ZPos=30\r\n"
        "XPos=99\r\n"
        "[Se\xF1or]\r\n"
        "Ca\xF1\x41=1");  // no final line break
  IniFile ini(path());
  struct Case { const char* section; const char* entry; const char* value; };
  const Case cases[] = {
      {"Main", "XPos", "10"},         {"MAIN", "xpos", "10"},       {" Main ", "XPos ", "10"},
      {"Main", "YPos", "20"},         {"Main", "Title", "a=b"},     {"Main", "Empty", ""},
      {"Main", "ZPos", "30"},         // from the second [main]
      {"Main", "Width", "5"},         // "[Broken" is no header: still in [Main]
      {"Main", "# Hidden", "<def>"},  {"Main", "orphan", "<def>"},  {"Second", "Width", "300"},
      {"Second", "XPos", "<def>"},    {"Other", "XPos", "<def>"},   {"SE\xD1OR", "ca\xF1" "a", "1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ini.get(c.section, c.entry, "<def>"), c.value) << c.section << "/" << c.entry;
  }
  EXPECT_EQ(ini.sections(), (std::vector<std::string>{"Main", "Second", "Se\xF1or"}));
  using Entries = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(ini.entries("main"), (Entries{{"XPos", "10"}, {"YPos", "20"}, {"Title", "a=b"},
                                          {"Empty", ""}, {"Width", "5"}, {"ZPos", "30"}}));
}

TEST_F(IniFileTest, SetKeepsEverythingElse) {
  const std::string before =
      "; settings\n"
      "[Main]\n"
      "XPos=10\n"
      "YPos = 20\n"
      "\n"
      "[Other]\n"
      "A=1\n"
      "junk line\n"
      "B=2\n"
      "\n";
  struct Case { const char* section; const char* entry; const char* value; std::string after; };
  const Case cases[] = {
      {"main", "xpos", "11",  // an existing entry keeps its place and its name's spelling
       "; settings\n[Main]\nXPos=11\nYPos = 20\n\n[Other]\nA=1\njunk line\nB=2\n\n"},
      {"Main", "Width", "300",  // a new entry follows the section's last entry
       "; settings\n[Main]\nXPos=10\nYPos = 20\nWidth=300\n\n[Other]\nA=1\njunk line\nB=2\n\n"},
      {"Other", "C", "3",
       "; settings\n[Main]\nXPos=10\nYPos = 20\n\n[Other]\nA=1\njunk line\nB=2\nC=3\n\n"},
      {"New", "Z", " spaced value ",  // a new section goes at the end
       "; settings\n[Main]\nXPos=10\nYPos = 20\n\n[Other]\nA=1\njunk line\nB=2\n\n"
       "[New]\nZ=spaced value\n"},
  };
  for (const auto& c : cases) {
    write(path(), before);
    IniFile ini(path());
    ASSERT_TRUE(ini.set(c.section, c.entry, c.value)) << c.entry;
    EXPECT_EQ(read(path()), c.after) << c.entry;
  }
}

TEST_F(IniFileTest, CreatesTheFileAndKeepsItsLineBreaks) {
  IniFile ini(path());
  ASSERT_TRUE(ini.set("Main", "XPos", "10"));
  ASSERT_TRUE(ini.set("Main", "YPos", "20"));
  ASSERT_TRUE(ini.set("__Dont_Touch_Me__", "Sectors", "Main"));
  EXPECT_EQ(read(path()), "[Main]\nXPos=10\nYPos=20\n\n[__Dont_Touch_Me__]\nSectors=Main\n");

  write(path(), "[Main]\r\nXPos=10\r\n");
  ASSERT_TRUE(ini.set("Main", "YPos", "20"));
  EXPECT_EQ(read(path()), "[Main]\r\nXPos=10\r\nYPos=20\r\n");
}

TEST_F(IniFileTest, RemovesEntriesAndSections) {
  const std::string before =
      "[Main]\nXPos=10\nYPos=20\n\n[Other]\nA=1\n\n[MAIN]\nxpos=5\nZ=1\n";
  struct Case { bool section; const char* name; const char* entry; std::string after; };
  const Case cases[] = {
      {false, "main", "XPOS", "[Main]\nYPos=20\n\n[Other]\nA=1\n\n[MAIN]\nZ=1\n"},
      {false, "Other", "A", "[Main]\nXPos=10\nYPos=20\n\n[Other]\n\n[MAIN]\nxpos=5\nZ=1\n"},
      {false, "Other", "Missing", before},
      {true, "main", nullptr, "[Other]\nA=1\n\n"},
      {true, "Other", nullptr, "[Main]\nXPos=10\nYPos=20\n\n[MAIN]\nxpos=5\nZ=1\n"},
      {true, "Missing", nullptr, before},
  };
  for (const auto& c : cases) {
    write(path(), before);
    IniFile ini(path());
    ASSERT_TRUE(c.section ? ini.removeSection(c.name) : ini.removeEntry(c.name, c.entry));
    EXPECT_EQ(read(path()), c.after) << c.name << "/" << (c.entry ? c.entry : "");
  }
}

TEST_F(IniFileTest, RefusesWhatCannotBeStored) {
  const std::string before = "[Main]\nXPos=10\n";
  write(path(), before);
  IniFile ini(path());
  EXPECT_FALSE(ini.set("Main", "Bad=Name", "1"));
  EXPECT_FALSE(ini.set("Ma]in", "X", "1"));
  EXPECT_FALSE(ini.set("Main", "X", "line\nbreak"));
  EXPECT_FALSE(ini.set("Main", "X\r", "1"));
  EXPECT_FALSE(ini.set("Main\n[Evil]", "X", "1"));
  EXPECT_FALSE(ini.set("", "X", "1"));
  EXPECT_FALSE(ini.set("Main", "  ", "1"));
  EXPECT_FALSE(ini.set("Main", "[X", "1"));
  EXPECT_FALSE(ini.set("Main", ";X", "1"));
  EXPECT_FALSE(ini.set("Main", "#X", "1"));
  EXPECT_EQ(read(path()), before);
}

TEST_F(IniFileTest, ReportsIoErrors) {
  IniFile inMissingDir((dir_ / "no" / "such" / "dir.ini").string());
  EXPECT_FALSE(inMissingDir.set("Main", "X", "1"));
  EXPECT_EQ(inMissingDir.get("Main", "X", "d"), "d");

  fs::create_directory(dir_ / "adir");
  IniFile aDirectory((dir_ / "adir").string());
  EXPECT_EQ(aDirectory.get("Main", "X", "d"), "d");
  EXPECT_TRUE(aDirectory.sections().empty());
  EXPECT_FALSE(aDirectory.set("Main", "X", "1"));
  EXPECT_TRUE(fs::is_directory(dir_ / "adir"));
}

TEST_F(IniFileTest, WriterBlockedByAnotherProcessGivesUp) {
  write(path(), "[Main]\nXPos=10\n");
  // Another writer holding the directory lock (as a hung process would).
  const int fd = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  IniFile ini(path());
  EXPECT_FALSE(ini.set("Main", "XPos", "11"));
  EXPECT_EQ(ini.get("Main", "XPos"), "10");  // reading never waits
  ::close(fd);
  EXPECT_TRUE(ini.set("Main", "XPos", "11"));
  EXPECT_EQ(read(path()), "[Main]\nXPos=11\n");
}

TEST_F(IniFileTest, StaleTemporaryFileDoesNotMatter) {
  write(path(), "[Main]\nXPos=10\n");
  write(path() + ".tmp", "[Main]\nXPos=half wri");  // left by a crash during a write
  IniFile ini(path());
  EXPECT_EQ(ini.get("Main", "XPos"), "10");
  ASSERT_TRUE(ini.set("Main", "YPos", "20"));
  EXPECT_EQ(read(path()), "[Main]\nXPos=10\nYPos=20\n");
  EXPECT_FALSE(fs::exists(path() + ".tmp"));
}

TEST_F(IniFileTest, ConcurrentWritersLoseNothing) {
  constexpr int kThreads = 8;
  constexpr int kEntries = 25;
  const std::string same = (dir_ / "." / "Test.INI").string();  // another spelling of the path
  ASSERT_TRUE(IniFile(path()).set("Keep", "Me", "yes"));
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      IniFile ini(t % 2 == 0 ? path() : same);
      for (int i = 0; i < kEntries; ++i) {
        const std::string section = "S" + std::to_string(i % 3);
        ASSERT_TRUE(ini.set(section, "T" + std::to_string(t) + "E" + std::to_string(i),
                            std::to_string(t * 1000 + i)));
      }
    });
  }
  for (auto& th : threads) th.join();
  IniFile ini(path());
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kEntries; ++i) {
      EXPECT_EQ(ini.get("S" + std::to_string(i % 3), "T" + std::to_string(t) + "E" + std::to_string(i)),
                std::to_string(t * 1000 + i));
    }
  }
  EXPECT_EQ(ini.get("Keep", "Me"), "yes");
}

TEST_F(IniFileTest, ConcurrentProcessesLoseNothing) {
  constexpr int kProcesses = 3;
  constexpr int kEntries = 20;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      IniFile ini(path());
      bool ok = true;
      for (int i = 0; i < kEntries; ++i) {
        ok = ini.set("P", "P" + std::to_string(p) + "E" + std::to_string(i), "v") && ok;
      }
      ::_exit(ok ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  IniFile ini(path());
  EXPECT_EQ(ini.entries("P").size(), static_cast<std::size_t>(kProcesses * kEntries));
  for (int p = 0; p < kProcesses; ++p) {
    for (int i = 0; i < kEntries; ++i) {
      EXPECT_EQ(ini.get("P", "P" + std::to_string(p) + "E" + std::to_string(i)), "v");
    }
  }
}

}  // namespace
}  // namespace rt
