// The resize manager registered with a window manager, driven by resizing the window as a user
// does: the default grouping of controls by position, where each control goes for a larger
// window, the minimum and maximum sizes, and the other strategies.
#include "framework/window_resize_class.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <string>

#include "framework/request_codes.h"
#include "framework/window_manager.h"
#include "runtime/window.h"
#include "ui/scripted/program_driver.h"

namespace {

using fw::WindowResizeClass;
using scripted::Program;

constexpr const char* kTitle = "Resizable";
constexpr int kDesignW = 400, kDesignH = 300;
constexpr int kSheet = 1, kTab = 2, kPrompt = 3, kEntry = 4, kList = 5, kSheetButton = 6, kSheetTotal = 7,
              kTopRight = 8, kBottomRight = 9, kBottomLeft = 10, kGroup = 11, kGroupCheck = 12,
              kGroupButton = 13;
constexpr int kMadeLater = 40;  // made at run time, after the resizer's Init

struct ResizeSetup {
  int strategy = fw::Resize_Spread;
  int min_w = WindowResizeClass::kDesignSize, min_h = WindowResizeClass::kDesignSize;
  int max_w = WindowResizeClass::kNoLimit, max_h = WindowResizeClass::kNoLimit;
};
struct ResizeRecord {
  int init_result = -1;
  int init_unopened = -1;      // Init on a window that is not open
  int init_bad_strategy = -1;  // Init with an unknown strategy
  std::map<int, int> parents;
  bool loop_refused = false, unknown_refused = false, unknown_parent_refused = false;
};
std::mutex g_mu;
ResizeSetup g_setup;
ResizeRecord g_record;

// A browse-like window: a sheet holding a prompt, an entry, a list and two controls below the
// list; buttons outside the sheet at the right and at the bottom; a group at the right holding a
// check box and a button.
rt::WindowDecl layout() {
  rt::WindowDecl decl(kTitle);
  decl.size(kDesignW, kDesignH)
      .control(rt::ControlDecl::sheet(kSheet).at(4, 4, 300, 250))
      .control(rt::ControlDecl::tab(kTab, kSheet, "&General"))
      .control(rt::ControlDecl::prompt(kPrompt, "Name:").at(10, 20).in(kTab))
      .control(rt::ControlDecl::entry(kEntry, "@s20").at(60, 20, 80, 10).in(kTab))
      .control(rt::ControlDecl::list(kList, "40L|~A~@s10@").at(10, 40, 280, 180))
      .control(rt::ControlDecl::button(kSheetButton, "&Add").at(10, 230, 50, 14))
      .control(rt::ControlDecl::entry(kSheetTotal, "@n-10.2").at(220, 230, 60, 10).readOnly())
      .control(rt::ControlDecl::button(kTopRight, "&Help").at(320, 10, 60, 14))
      .control(rt::ControlDecl::button(kBottomRight, "&Close").at(320, 270, 60, 14))
      .control(rt::ControlDecl::button(kBottomLeft, "&Print").at(10, 270, 60, 14))
      .control(rt::ControlDecl(kGroup, rt::CONTROL_Group).caption("Options").at(310, 40, 80, 100))
      .control(rt::ControlDecl::check(kGroupCheck, "&Wide").at(315, 50, 60, 10))
      .control(rt::ControlDecl::button(kGroupButton, "&Apply").at(315, 120, 60, 14));
  return decl;
}

void resizableProc() {
  ResizeSetup s;
  {
    std::lock_guard lock(g_mu);
    s = g_setup;
  }
  ResizeRecord rec;
  rt::Window window;
  fw::WindowManager manager(window);
  fw::WindowResizeClass resizer;
  rec.init_unopened = resizer.Init(window, fw::Resize_Spread);
  manager.Init();
  if (manager.Open(layout()) != rt::OpenResult::Ok) return;
  rec.init_bad_strategy = resizer.Init(window, 7);
  rec.init_result = resizer.Init(window, s.strategy, s.min_w, s.min_h, s.max_w, s.max_h);
  resizer.SetParentDefaults();
  for (int feq : window.controls()) rec.parents[feq] = resizer.GetParent(feq);
  rec.loop_refused = !resizer.SetParent(kSheet, kList);  // the list lies inside the sheet
  rec.unknown_refused = !resizer.SetParent(99, 0);
  rec.unknown_parent_refused = !resizer.SetParent(kList, 99);
  window.createControl(rt::ControlDecl::entry(kMadeLater, "@s5").at(100, 100, 20, 10));
  manager.AddItem(resizer);
  {
    std::lock_guard lock(g_mu);
    g_record = rec;
  }
  manager.Ask();
  manager.Kill();
}

ResizeRecord record() {
  std::lock_guard lock(g_mu);
  return g_record;
}

struct Box {
  int x, y, w, h;
  bool operator==(const Box&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Box& b) {
  return os << "(" << b.x << ", " << b.y << ", " << b.w << ", " << b.h << ")";
}

class Resizer : public testing::Test {
 protected:
  void start(const ResizeSetup& s) {
    {
      std::lock_guard lock(g_mu);
      g_setup = s;
      g_record = ResizeRecord{};
    }
    program_ = std::make_unique<Program>(resizableProc);
    ASSERT_TRUE(program_->waitIdle());
    ASSERT_TRUE(program_->hasWindow(kTitle));
  }
  Program& p() { return *program_; }

  testing::AssertionResult resize(int w, int h) {
    auto v = p().window(kTitle);
    if (!v) return testing::AssertionFailure() << "no window";
    rt::Rect r = v->pos;
    r.w = w;
    r.h = h;
    r.has_pos = r.has_size = true;
    return p().moveWindow(kTitle, r);
  }
  Box windowSize() {
    auto v = p().window(kTitle);
    return v ? Box{0, 0, v->pos.w, v->pos.h} : Box{-1, -1, -1, -1};
  }
  Box box(int feq) {
    auto c = p().control(kTitle, feq);
    return c ? Box{c->pos.x, c->pos.y, c->pos.w, c->pos.h} : Box{-1, -1, -1, -1};
  }

  std::unique_ptr<Program> program_;
};

struct Placement {
  int feq;
  const char* what;
  Box design;
  Box at_500_by_360;
};

const Placement kSpread[] = {
    {kSheet, "sheet stretches with the window", {4, 4, 300, 250}, {4, 4, 400, 310}},
    {kEntry, "entry at the sheet's top left stays", {60, 20, 80, 10}, {60, 20, 80, 10}},
    {kList, "list stretches with its sheet", {10, 40, 280, 180}, {10, 40, 380, 240}},
    {kSheetButton, "button below the list follows the bottom", {10, 230, 50, 14}, {10, 290, 50, 14}},
    {kSheetTotal, "entry at the sheet's bottom right follows that corner", {220, 230, 60, 10}, {320, 290, 60, 10}},
    {kTopRight, "button at the right follows the right edge", {320, 10, 60, 14}, {420, 10, 60, 14}},
    {kBottomRight, "button at the bottom right follows that corner", {320, 270, 60, 14}, {420, 330, 60, 14}},
    {kBottomLeft, "button at the bottom left follows the bottom", {10, 270, 60, 14}, {10, 330, 60, 14}},
    {kGroup, "group at the right moves right and grows down", {310, 40, 80, 100}, {410, 40, 80, 160}},
    {kGroupCheck, "check box moves with its group", {315, 50, 60, 10}, {415, 50, 60, 10}},
    {kGroupButton, "button low in its group follows the group's bottom", {315, 120, 60, 14}, {415, 180, 60, 14}},
    {kMadeLater, "a control made after Init is its owner's", {100, 100, 20, 10}, {100, 100, 20, 10}},
};

TEST_F(Resizer, DefaultGroupingFollowsDeclarationsAndPositions) {
  start(ResizeSetup{});
  ResizeRecord rec = record();
  EXPECT_EQ(rec.init_result, fw::Level_Benign);
  EXPECT_EQ(rec.init_unopened, fw::Level_Notify);
  EXPECT_EQ(rec.init_bad_strategy, fw::Level_Notify);
  const std::map<int, int> expected{
      {kSheet, 0},       {kTab, 0},          {kPrompt, kSheet},     {kEntry, kSheet},
      {kList, kSheet},   {kSheetButton, kSheet}, {kSheetTotal, kSheet}, {kTopRight, 0},
      {kBottomRight, 0}, {kBottomLeft, 0},   {kGroup, 0},           {kGroupCheck, kGroup},
      {kGroupButton, kGroup},
  };
  EXPECT_EQ(rec.parents, expected);
  EXPECT_TRUE(rec.loop_refused);
  EXPECT_TRUE(rec.unknown_refused);
  EXPECT_TRUE(rec.unknown_parent_refused);
}

TEST_F(Resizer, SpreadMovesAndStretchesControlsAndReturnsToTheDesign) {
  start(ResizeSetup{});
  for (const auto& c : kSpread) EXPECT_EQ(box(c.feq), c.design) << c.what;

  ASSERT_TRUE(resize(500, 360));
  EXPECT_EQ(windowSize(), (Box{0, 0, 500, 360}));
  for (const auto& c : kSpread) EXPECT_EQ(box(c.feq), c.at_500_by_360) << c.what;
  auto prompt = p().control(kTitle, kPrompt);
  ASSERT_TRUE(prompt);
  EXPECT_EQ(prompt->pos.x, 10);
  EXPECT_EQ(prompt->pos.y, 20);
  EXPECT_FALSE(prompt->pos.has_size) << "a control of natural size stays so";

  ASSERT_TRUE(resize(kDesignW, kDesignH));
  for (const auto& c : kSpread) EXPECT_EQ(box(c.feq), c.design) << "back to the design size: " << c.what;
}

TEST_F(Resizer, TheWindowNeverGetsSmallerThanItsDesignSize) {
  start(ResizeSetup{});
  ASSERT_TRUE(resize(300, 200));
  EXPECT_EQ(windowSize(), (Box{0, 0, kDesignW, kDesignH}));
  for (const auto& c : kSpread) EXPECT_EQ(box(c.feq), c.design) << c.what;

  ASSERT_TRUE(resize(350, 360));  // too narrow, tall enough
  EXPECT_EQ(windowSize(), (Box{0, 0, kDesignW, 360}));
  EXPECT_EQ(box(kList), (Box{10, 40, 280, 240}));
  EXPECT_EQ(box(kBottomRight), (Box{320, 330, 60, 14}));
}

TEST_F(Resizer, GivenLimitsReplaceTheDesignSize) {
  ResizeSetup s;
  s.min_w = WindowResizeClass::kNoLimit;
  s.min_h = 250;
  s.max_w = 600;
  s.max_h = 400;
  start(s);
  const struct {
    int w, h;
    Box expected;
  } cases[] = {
      {1000, 1000, {0, 0, 600, 400}},
      {350, 200, {0, 0, 350, 250}},
      {500, 360, {0, 0, 500, 360}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(resize(c.w, c.h));
    EXPECT_EQ(windowSize(), c.expected) << c.w << " x " << c.h;
  }
}

TEST_F(Resizer, ScaleScalesEveryRectangle) {
  ResizeSetup s;
  s.strategy = fw::Resize_Scale;
  start(s);
  ASSERT_TRUE(resize(800, 450));
  EXPECT_EQ(box(kList), (Box{20, 60, 560, 270}));
  EXPECT_EQ(box(kBottomRight), (Box{640, 405, 120, 21}));
  EXPECT_EQ(box(kGroupCheck), (Box{630, 75, 120, 15}));
}

TEST_F(Resizer, NoneKeepsTheDesignButStillHoldsTheMinimum) {
  ResizeSetup s;
  s.strategy = fw::Resize_None;
  start(s);
  ASSERT_TRUE(resize(500, 360));
  for (const auto& c : kSpread) EXPECT_EQ(box(c.feq), c.design) << c.what;
  ASSERT_TRUE(resize(100, 100));
  EXPECT_EQ(windowSize(), (Box{0, 0, kDesignW, kDesignH}));
}

}  // namespace
