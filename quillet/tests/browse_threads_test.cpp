// The "&Tablas" entries start their browse on a new thread each time: every thread runs the
// thread hooks and gets its own error state and table managers, which go away when it ends; the
// first thread's managers exist from start-up to the end; a table file appears only when a browse uses it.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "quillet/app/main_frame.h"
#include "quillet/app/startup.h"
#include "quillet/app/thread_hooks.h"
#include "quillet/windows/browse_articulos.h"
#include "quillet/windows/browse_cabecera.h"
#include "ui/scripted/program_driver.h"

namespace {

using scripted::Program;
using Kind = quillet::ThreadHookRecord::Kind;

constexpr const char* kFrame = "Demostración de Quillet Optimisado";
constexpr const char* kArticulos = "Recorrer la tabla Articulos";
constexpr const char* kCabecera = "Recorrer la tabla Cabecera";

std::mutex g_mu;
std::vector<quillet::ThreadHookRecord> g_records;

std::vector<quillet::ThreadHookRecord> records() {
  std::lock_guard<std::mutex> lk(g_mu);
  return g_records;
}

std::vector<quillet::ThreadHookRecord> recordsOf(int thread) {
  std::vector<quillet::ThreadHookRecord> out;
  for (const auto& r : records())
    if (r.thread == thread) out.push_back(r);
  return out;
}

std::vector<std::string> tableFiles(const std::string& dir) {
  std::vector<std::string> out;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string name = e->d_name;
      if (name.size() > 4 && name.substr(name.size() - 4) == ".TPS") out.push_back(name);
    }
    closedir(d);
  }
  return out;
}

class BrowseThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      std::lock_guard<std::mutex> lk(g_mu);
      g_records.clear();
    }
    quillet::setThreadHookListener([](const quillet::ThreadHookRecord& r) {
      std::lock_guard<std::mutex> lk(g_mu);
      g_records.push_back(r);
    });
  }
  void TearDown() override { quillet::setThreadHookListener({}); }
};

TEST_F(BrowseThreads, EachChoiceStartsAThreadWithItsOwnManagers) {
  Program p(quillet::QuilletProgram());
  ASSERT_TRUE(p.waitIdle());
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Articulos"}));
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  ASSERT_TRUE(p.waitIdle());

  // Three browse windows, each an MDI child on a thread of its own, none on the frame's thread.
  std::vector<rt::WindowView> browses;
  for (const auto& v : p.windows())
    if (!v.app_frame) browses.push_back(v);
  ASSERT_EQ(browses.size(), 3u) << p.dump();
  std::set<int> threads;
  int articulos = 0, cabecera = 0;
  for (const auto& v : browses) {
    EXPECT_TRUE(v.mdi_child);
    EXPECT_NE(v.thread, 1);
    threads.insert(v.thread);
    if (v.title == kArticulos) ++articulos;
    if (v.title == kCabecera) ++cabecera;
  }
  EXPECT_EQ(threads.size(), 3u);
  EXPECT_EQ(articulos, 1);
  EXPECT_EQ(cabecera, 2);

  // Each browse thread ran the start hook, which built its error state and its managers, and
  // no two threads share a manager.
  std::set<const void*> managers;
  for (int t : threads) {
    SCOPED_TRACE(t);
    auto rs = recordsOf(t);
    ASSERT_EQ(rs.size(), 1u);
    EXPECT_EQ(rs[0].kind, Kind::Started);
    EXPECT_TRUE(rs[0].has_error_status);
    EXPECT_TRUE(rs[0].has_dictionary);
    for (const void* m : {rs[0].relate_articulo, rs[0].relate_items, rs[0].relate_cabecera}) {
      EXPECT_NE(m, nullptr);
      EXPECT_TRUE(managers.insert(m).second) << "a manager is shared between threads";
    }
  }
  // The first thread ran the hook too; its managers come from the start-up procedure afterwards.
  auto first = recordsOf(1);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].kind, Kind::Started);
  EXPECT_TRUE(first[0].has_error_status);
  EXPECT_TRUE(first[0].has_dictionary);
  EXPECT_EQ(first[0].relate_articulo, nullptr);

  // Each browse opened its table with the related ones, which created the three table files (and
  // nothing else) on their first use in those threads.
  auto files = tableFiles(p.directory());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"ARTICULO.TPS", "CABECERA.TPS", "ITEMS.TPS"}));

  // Closing one browse ends its thread: the end hook removed its managers and error state.
  const rt::WindowView& one = browses.front();
  const int closed_feq = one.title == kArticulos ? quillet::browse_articulos::CLOSE : quillet::browse_cabecera::CLOSE;
  ASSERT_TRUE(p.click(one.id, closed_feq));
  ASSERT_TRUE(p.waitIdle());
  EXPECT_FALSE(p.hasWindow(one.id));
  auto ended = recordsOf(one.thread);
  ASSERT_EQ(ended.size(), 2u);
  EXPECT_EQ(ended[1].kind, Kind::Ended);
  EXPECT_FALSE(ended[1].has_dictionary);
  EXPECT_FALSE(ended[1].has_error_status);
  EXPECT_EQ(ended[1].relate_articulo, nullptr);
  EXPECT_EQ(ended[1].relate_items, nullptr);
  EXPECT_EQ(ended[1].relate_cabecera, nullptr);
  // The others are untouched and still usable.
  EXPECT_EQ(p.windows().size(), 3u);

  // "&Salir" with two browses still open: they are closed down, every thread ends with its hook.
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Archivo", "&Salir"}));
  EXPECT_EQ(p.end(), 0);
  for (int t : threads) {
    auto rs = recordsOf(t);
    ASSERT_FALSE(rs.empty());
    EXPECT_EQ(rs.back().kind, Kind::Ended) << t;
  }
  auto last = recordsOf(1);
  ASSERT_EQ(last.size(), 2u);
  EXPECT_EQ(last[1].kind, Kind::Ended);
  EXPECT_EQ(last[1].relate_cabecera, nullptr);
}

TEST_F(BrowseThreads, CloseButtonAndCloseBoxBothEndTheBrowseThread) {
  Program p(quillet::QuilletProgram());
  ASSERT_TRUE(p.waitIdle());
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Articulos"}));
  ASSERT_TRUE(p.click(kArticulos, quillet::browse_articulos::CLOSE));
  EXPECT_FALSE(p.hasWindow(kArticulos));
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Articulos"}));
  ASSERT_TRUE(p.closeWindow(kArticulos));
  EXPECT_FALSE(p.hasWindow(kArticulos));
  int ended = 0;
  for (const auto& r : records())
    if (r.kind == Kind::Ended && r.thread != 1) ++ended;
  EXPECT_EQ(ended, 2);
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Archivo", "&Salir"}));
  EXPECT_EQ(p.end(), 0);
}

}  // namespace
