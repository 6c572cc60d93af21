// The article browse, picker and form driven through the scripted front end: the menu start and
// the select protocol (through a caller procedure of the test's own that passes an ARTICULO buffer
// with request 4), the insert form with the next free code, required fields, view mode, Ctrl+H,
// the two orders, the locators and deleting.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/request_codes.h"
#include "framework/toolbar_class.h"
#include "framework/window_manager.h"
#include "quillet/app/globals.h"
#include "quillet/app/startup.h"
#include "quillet/tables/articulo.h"
#include "quillet/windows/actualiza_articulos.h"
#include "quillet/windows/browse_articulos.h"
#include "runtime/event.h"
#include "runtime/threads.h"
#include "runtime/vocabulary.h"
#include "runtime/window.h"
#include "store/file.h"
#include "ui/scripted/program_driver.h"

namespace {

using scripted::Program;
namespace ba = quillet::browse_articulos;
namespace aa = quillet::actualiza_articulos;
using quillet::ARTICULO;

constexpr const char* kRealFrame = "Demostración de Quillet Optimisado";
constexpr const char* kFrame = "Marco de prueba";
constexpr const char* kBrowse = "Recorrer la tabla Articulos";
constexpr const char* kInsertTitle = "El registro será agregado";
constexpr const char* kChangeTitle = "El registro será cambiado";
constexpr const char* kViewTitle = "Ver Registro";
constexpr int kCall = -2;

// ----- A caller procedure: passes a buffer and a request to a procedure on a thread of its own,
// and keeps what came back. -----

struct Call {
  rt::Procedure procedure = nullptr;
  std::uint8_t request = 0;
  ARTICULO in{};
};
struct CallResult {
  bool done = false;
  int response = -1;
  ARTICULO out{};
};

std::mutex g_mu;
Call g_call;
CallResult g_result;

void Caller() {
  Call c;
  {
    std::lock_guard<std::mutex> lk(g_mu);
    c = g_call;
  }
  quillet::ART = c.in;
  quillet::GlobalRequest = c.request;
  c.procedure();
  std::lock_guard<std::mutex> lk(g_mu);
  g_result.done = true;
  g_result.response = quillet::GlobalResponse;
  g_result.out = quillet::ART;
}

class TestFrame : public fw::WindowManager {
 public:
  TestFrame(rt::Window& w, fw::ToolbarClass& tb) : fw::WindowManager(w), tb_(tb) {}
  int Init() override {
    quillet::GlobalErrors.SetProcedureName("Main");
    if (int r = fw::WindowManager::Init(); r != 0) return r;
    AddItem(tb_);
    rt::WindowDecl decl(kFrame);
    decl.appFrame().size(400, 300).menu(rt::MenuDecl::menu(-1, "&Prueba", {rt::MenuDecl::item(kCall, "Llamar")}));
    if (Open(decl) != rt::OpenResult::Ok) return fw::Level_Fatal;
    return fw::Level_Benign;
  }
  int Kill() override {
    if (int r = fw::WindowManager::Kill(); r != 0) return r;
    quillet::GlobalErrors.SetProcedureName();
    return 0;
  }
  int TakeAccepted() override {
    if (rt::field() == kCall) rt::start(Caller, 50000);
    return fw::WindowManager::TakeAccepted();
  }

 private:
  fw::ToolbarClass& tb_;
};

void testFrame() {
  rt::Window frame;
  fw::ToolbarClass toolbar;
  {
    TestFrame ThisWindow(frame, toolbar);
    quillet::GlobalResponse = static_cast<std::uint8_t>(ThisWindow.Run());
  }
  frame.close();
}

void testStartup() { quillet::StartupWith(testFrame); }

rt::ProgramDecl testProgram() {
  rt::ProgramDecl decl = quillet::QuilletProgram();
  decl.startup = testStartup;
  return decl;
}

// ----- Records and tables -----

ARTICULO art(std::uint16_t id, const char* desc, const char* price) {
  ARTICULO a{};
  a.IDARTICULO = id;
  std::memset(a.DESCRIPCION, ' ', sizeof a.DESCRIPCION);
  std::memcpy(a.DESCRIPCION, desc, std::min(std::strlen(desc), sizeof a.DESCRIPCION));
  EXPECT_EQ(a.IMPORTE.assign(*rt::Decimal::parse(price)), rt::DecimalStatus::Ok);
  return a;
}

std::vector<ARTICULO> readAll() {
  ARTICULO r{};
  store::File f(quillet::ARTICULO_Def(), &r);
  std::vector<ARTICULO> out;
  if (!f.open().ok()) return out;
  if (f.set(quillet::ART_POR_IDARTICULO).ok())
    while (f.next().ok()) out.push_back(r);
  f.close();
  return out;
}

void addAll(const std::vector<ARTICULO>& recs) {
  ARTICULO r{};
  store::File f(quillet::ARTICULO_Def(), &r);
  ASSERT_TRUE(f.open().ok());
  for (const ARTICULO& x : recs) {
    r = x;
    ASSERT_TRUE(f.add().ok());
  }
  f.close();
}

const ARTICULO* findArt(const std::vector<ARTICULO>& all, std::uint16_t id) {
  for (const auto& a : all)
    if (a.IDARTICULO == id) return &a;
  return nullptr;
}

std::string trim(std::string s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string desc(const ARTICULO& a) { return trim(std::string(a.DESCRIPCION, sizeof a.DESCRIPCION)); }
std::string price(const ARTICULO& a) { return a.IMPORTE.value().toString(2); }

std::vector<std::string> column(const std::vector<std::vector<std::string>>& rows, std::size_t c) {
  std::vector<std::string> out;
  for (const auto& r : rows) out.push_back(c < r.size() ? trim(r[c]) : "");
  return out;
}

// ----- Fixtures -----

class Articulos : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(p.waitIdle()); }

  // Calls `procedure` with `request` and the buffer `in` on a new thread of the program.
  testing::AssertionResult call(rt::Procedure procedure, std::uint8_t request, const ARTICULO& in) {
    {
      std::lock_guard<std::mutex> lk(g_mu);
      g_call = Call{procedure, request, in};
      g_result = CallResult{};
    }
    return p.chooseMenu(kFrame, kCall);
  }
  testing::AssertionResult pick(const ARTICULO& in) { return call(quillet::Browse_Articulos, fw::SelectRecord, in); }

  // What the last call gave back, once its procedure has returned.
  CallResult result() {
    for (int i = 0; i < 200; ++i) {
      {
        std::lock_guard<std::mutex> lk(g_mu);
        if (g_result.done) return g_result;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return CallResult{};
  }

  std::string highlighted(int column_index) {
    auto rows = p.listRows(kBrowse, ba::BROWSE_1);
    const int row = p.selectedRow(kBrowse, ba::BROWSE_1);
    if (row < 1 || row > static_cast<int>(rows.size())) return "<none>";
    return trim(rows[row - 1][column_index]);
  }

  Program p{testProgram()};
};

// ----- The menu start and the way the window closes -----

TEST(ArticulosMenu, StartedFromTheMenuHidesElegir) {
  Program p(quillet::QuilletProgram());
  ASSERT_TRUE(p.waitIdle());
  ASSERT_TRUE(p.chooseMenu(kRealFrame, {"&Tablas", "Articulos"}));
  ASSERT_TRUE(p.hasWindow(kBrowse)) << p.dump();
  EXPECT_TRUE(p.hidden(kBrowse, ba::SELECT));
  EXPECT_FALSE(p.enabled(kBrowse, ba::SELECT));
  EXPECT_TRUE(p.enabled(kBrowse, ba::INSERT_3));
  // An empty list offers nothing to view, change or delete.
  for (int feq : {ba::VIEW_2, ba::CHANGE_3, ba::DELETE_3}) EXPECT_FALSE(p.enabled(kBrowse, feq)) << feq;
  ASSERT_TRUE(p.click(kBrowse, ba::CLOSE));
  EXPECT_FALSE(p.hasWindow(kBrowse));
}

TEST_F(Articulos, ResponseByRequestAndWayOfClosing) {
  addAll({art(1, "Tornillo", "1.00")});
  enum How { CloseButton, CloseBox, Elegir };
  struct Case {
    const char* what;
    std::uint8_t request;
    How how;
    int response;
  };
  const Case cases[] = {
      {"menu start, Cerrar", 0, CloseButton, fw::RequestCompleted},
      {"menu start, close box", 0, CloseBox, fw::RequestCancelled},
      {"picker, Cerrar", fw::SelectRecord, CloseButton, fw::RequestCancelled},
      {"picker, close box", fw::SelectRecord, CloseBox, fw::RequestCancelled},
      {"picker, Elegir", fw::SelectRecord, Elegir, fw::RequestCompleted},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(call(quillet::Browse_Articulos, c.request, art(0, "", "0")));
    ASSERT_TRUE(p.hasWindow(kBrowse)) << p.dump();
    EXPECT_EQ(p.hidden(kBrowse, ba::SELECT), c.request != fw::SelectRecord);
    switch (c.how) {
      case CloseButton: ASSERT_TRUE(p.click(kBrowse, ba::CLOSE)); break;
      case CloseBox: ASSERT_TRUE(p.closeWindow(kBrowse)); break;
      case Elegir: ASSERT_TRUE(p.click(kBrowse, ba::SELECT)); break;
    }
    CallResult r = result();
    ASSERT_TRUE(r.done);
    EXPECT_EQ(r.response, c.response);
    EXPECT_FALSE(p.hasWindow(kBrowse));
  }
}

// ----- Inserting -----

TEST_F(Articulos, FirstArticleGetsCodeOneAndIsWrittenByAceptar) {
  ASSERT_TRUE(call(quillet::Browse_Articulos, 0, art(0, "", "0")));
  ASSERT_TRUE(p.click(kBrowse, ba::INSERT_3));
  ASSERT_TRUE(p.hasWindow(kInsertTitle)) << p.dump();
  EXPECT_EQ(trim(p.text(kInsertTitle, aa::ART_IDARTICULO)), "1");
  EXPECT_TRUE(p.readOnly(kInsertTitle, aa::ART_IDARTICULO));
  // The code is reserved at once.
  ASSERT_EQ(readAll().size(), 1u);
  // Enter moves from one entry to the next, as Tab does.
  ASSERT_TRUE(p.typeText(kInsertTitle, aa::ART_DESCRIPCION, "Tornillo"));
  ASSERT_TRUE(p.pressKey(kInsertTitle, rt::EnterKey));
  EXPECT_EQ(p.focus(kInsertTitle), aa::ART_IMPORTE);
  ASSERT_TRUE(p.typeText(kInsertTitle, aa::ART_IMPORTE, "2.5"));
  ASSERT_TRUE(p.click(kInsertTitle, aa::OK));
  EXPECT_FALSE(p.hasWindow(kInsertTitle)) << p.dump();
  auto all = readAll();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].IDARTICULO, 1);
  EXPECT_EQ(desc(all[0]), "Tornillo");
  EXPECT_EQ(price(all[0]), "2.50");
  auto rows = p.listRows(kBrowse, ba::BROWSE_1);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(column(rows, 0), std::vector<std::string>{"1"});
  EXPECT_EQ(column(rows, 1), std::vector<std::string>{"Tornillo"});
  EXPECT_EQ(column(rows, 2), std::vector<std::string>{"2.50"});
}

TEST_F(Articulos, InsertTakesTheNextFreeCodeAndCancelGivesItBack) {
  addAll({art(3, "Arandela", "0.10"), art(9, "Tuerca", "0.20")});
  ASSERT_TRUE(call(quillet::Browse_Articulos, 0, art(0, "", "0")));
  ASSERT_TRUE(p.click(kBrowse, ba::INSERT_3));
  ASSERT_TRUE(p.hasWindow(kInsertTitle)) << p.dump();
  EXPECT_EQ(trim(p.text(kInsertTitle, aa::ART_IDARTICULO)), "10");
  EXPECT_NE(findArt(readAll(), 10), nullptr);
  // Nothing was typed: the cancel asks nothing and the reserved record goes away.
  ASSERT_TRUE(p.click(kInsertTitle, aa::CANCEL));
  EXPECT_FALSE(p.hasWindow(kInsertTitle));
  EXPECT_TRUE(p.messages().empty());
  EXPECT_EQ(readAll().size(), 2u);
  EXPECT_EQ(column(p.listRows(kBrowse, ba::BROWSE_1), 0), (std::vector<std::string>{"3", "9"}));
}

TEST_F(Articulos, NoCodeLeftMeansNoFormAndNothingAdded) {
  addAll({art(65535, "Ultimo", "1.00")});
  ASSERT_TRUE(call(quillet::Browse_Articulos, 0, art(0, "", "0")));
  ASSERT_TRUE(p.click(kBrowse, ba::INSERT_3));
  // The numbering gives up after asking whether to go on; the user says No.
  for (int i = 0; i < 5 && p.pendingMessage(); ++i) ASSERT_TRUE(p.answer(rt::BUTTON_NO));
  EXPECT_FALSE(p.pendingMessage().has_value());
  EXPECT_FALSE(p.hasWindow(kInsertTitle));
  auto all = readAll();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].IDARTICULO, 65535);
  EXPECT_EQ(p.listRows(kBrowse, ba::BROWSE_1).size(), 1u);
  EXPECT_TRUE(p.hasWindow(kBrowse));
}

TEST_F(Articulos, RequiredDescriptionAndPriceStopAceptar) {
  struct Case {
    const char* what;
    const char* description;
    const char* price;
    int focus;
    bool new_article_edited;  // the cancel of the new article asks first
  };
  const Case cases[] = {
      {"blank description", "", "5.00", aa::ART_DESCRIPCION, true},
      {"zero price", "Clavo", "0", aa::ART_IMPORTE, true},
      {"both missing", "", "0", aa::ART_DESCRIPCION, false},
  };
  addAll({art(1, "Tornillo", "1.00")});
  ASSERT_TRUE(call(quillet::Browse_Articulos, 0, art(0, "", "0")));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // A new article.
    ASSERT_TRUE(p.click(kBrowse, ba::INSERT_3));
    ASSERT_TRUE(p.hasWindow(kInsertTitle)) << p.dump();
    ASSERT_TRUE(p.typeText(kInsertTitle, aa::ART_DESCRIPCION, c.description));
    ASSERT_TRUE(p.typeText(kInsertTitle, aa::ART_IMPORTE, c.price));
    ASSERT_TRUE(p.click(kInsertTitle, aa::OK));
    EXPECT_TRUE(p.hasWindow(kInsertTitle));
    EXPECT_EQ(p.focus(kInsertTitle), c.focus);
    const ARTICULO* reserved = findArt(readAll(), 2);
    ASSERT_NE(reserved, nullptr);
    EXPECT_EQ(desc(*reserved), "");
    EXPECT_EQ(price(*reserved), "0.00");
    ASSERT_TRUE(p.click(kInsertTitle, aa::CANCEL));
    auto box = p.pendingMessage();
    EXPECT_EQ(box.has_value(), c.new_article_edited);
    if (box) {
      EXPECT_EQ(box->caption, "Cambios no seran Realizados!");
      ASSERT_TRUE(p.answer(rt::BUTTON_YES));
    }
    EXPECT_FALSE(p.hasWindow(kInsertTitle));
    EXPECT_EQ(findArt(readAll(), 2), nullptr);

    // An existing article.
    ASSERT_TRUE(p.click(kBrowse, ba::CHANGE_3));
    ASSERT_TRUE(p.hasWindow(kChangeTitle)) << p.dump();
    ASSERT_TRUE(p.typeText(kChangeTitle, aa::ART_DESCRIPCION, c.description));
    ASSERT_TRUE(p.typeText(kChangeTitle, aa::ART_IMPORTE, c.price));
    ASSERT_TRUE(p.click(kChangeTitle, aa::OK));
    EXPECT_TRUE(p.hasWindow(kChangeTitle));
    EXPECT_EQ(p.focus(kChangeTitle), c.focus);
    ASSERT_TRUE(p.click(kChangeTitle, aa::CANCEL));
    box = p.pendingMessage();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->caption, "Cambios no seran Realizados!");
    ASSERT_TRUE(p.answer(rt::BUTTON_YES));
    EXPECT_FALSE(p.hasWindow(kChangeTitle));
    auto all = readAll();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(desc(all[0]), "Tornillo");
    EXPECT_EQ(price(all[0]), "1.00");
  }
}

TEST_F(Articulos, CtrlHPutsBackTheLastAcceptedDescriptionAndPrice) {
  ASSERT_TRUE(call(quillet::Browse_Articulos, 0, art(0, "", "0")));
  ASSERT_TRUE(p.click(kBrowse, ba::INSERT_3));
  ASSERT_TRUE(p.typeText(kInsertTitle, aa::ART_DESCRIPCION, "Tuerca"));
  ASSERT_TRUE(p.typeText(kInsertTitle, aa::ART_IMPORTE, "1.5"));
  ASSERT_TRUE(p.click(kInsertTitle, aa::OK));
  ASSERT_FALSE(p.hasWindow(kInsertTitle));

  ASSERT_TRUE(p.click(kBrowse, ba::INSERT_3));
  ASSERT_TRUE(p.hasWindow(kInsertTitle)) << p.dump();
  ASSERT_TRUE(p.focus(kInsertTitle, aa::ART_DESCRIPCION));
  ASSERT_TRUE(p.pressKey(kInsertTitle, rt::CtrlH));
  EXPECT_EQ(trim(p.text(kInsertTitle, aa::ART_DESCRIPCION)), "Tuerca");
  ASSERT_TRUE(p.focus(kInsertTitle, aa::ART_IMPORTE));
  ASSERT_TRUE(p.pressKey(kInsertTitle, rt::CtrlH));
  EXPECT_EQ(trim(p.text(kInsertTitle, aa::ART_IMPORTE)), "1.50");
  // The code stays the new one: it is the article's key.
  ASSERT_TRUE(p.pressKey(kInsertTitle, aa::ART_IDARTICULO, rt::CtrlH));
  EXPECT_EQ(trim(p.text(kInsertTitle, aa::ART_IDARTICULO)), "2");
  ASSERT_TRUE(p.click(kInsertTitle, aa::OK));
  ASSERT_FALSE(p.hasWindow(kInsertTitle)) << p.dump();
  auto all = readAll();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[1].IDARTICULO, 2);
  EXPECT_EQ(desc(all[1]), "Tuerca");
  EXPECT_EQ(price(all[1]), "1.50");
}

// ----- Changing, viewing, deleting -----

TEST_F(Articulos, DoubleClickChangesOutsideSelectModeAndSelectsInside) {
  addAll({art(1, "Tornillo", "1.00"), art(2, "Tuerca", "2.00")});
  ASSERT_TRUE(call(quillet::Browse_Articulos, 0, art(0, "", "0")));
  ASSERT_TRUE(p.doubleClickCell(kBrowse, ba::BROWSE_1, 2, 2));
  ASSERT_TRUE(p.hasWindow(kChangeTitle)) << p.dump();
  EXPECT_EQ(trim(p.text(kChangeTitle, aa::ART_IDARTICULO)), "2");
  ASSERT_TRUE(p.typeText(kChangeTitle, aa::ART_DESCRIPCION, "Tuerca grande"));
  ASSERT_TRUE(p.click(kChangeTitle, aa::OK));
  ASSERT_FALSE(p.hasWindow(kChangeTitle)) << p.dump();
  EXPECT_EQ(desc(*findArt(readAll(), 2)), "Tuerca grande");
  EXPECT_EQ(highlighted(1), "Tuerca grande");
  ASSERT_TRUE(p.click(kBrowse, ba::CLOSE));
  ASSERT_TRUE(result().done);

  ASSERT_TRUE(pick(art(0, "", "0")));
  ASSERT_TRUE(p.doubleClickCell(kBrowse, ba::BROWSE_1, 2, 1));
  EXPECT_FALSE(p.hasWindow(kChangeTitle));
  EXPECT_FALSE(p.hasWindow(kBrowse));
  CallResult r = result();
  ASSERT_TRUE(r.done);
  EXPECT_EQ(r.response, fw::RequestCompleted);
  EXPECT_EQ(r.out.IDARTICULO, 2);
  EXPECT_EQ(desc(r.out), "Tuerca grande");
}

TEST_F(Articulos, ChangingAnArticleDeletedMeanwhileIsReportedAndTheFormStaysOpen) {
  addAll({art(1, "Tornillo", "1.00"), art(2, "Tuerca", "2.00")});
  ASSERT_TRUE(call(quillet::Browse_Articulos, 0, art(0, "", "0")));
  ASSERT_TRUE(p.doubleClickCell(kBrowse, ba::BROWSE_1, 2, 1));
  ASSERT_TRUE(p.hasWindow(kChangeTitle)) << p.dump();
  // Another station deletes the article while the form shows it.
  {
    ARTICULO r = art(2, "", "0");
    store::File f(quillet::ARTICULO_Def(), &r);
    ASSERT_TRUE(f.open().ok());
    ASSERT_TRUE(f.fetch(quillet::ART_POR_IDARTICULO).ok());
    ASSERT_TRUE(f.erase().ok());
    f.close();
  }
  ASSERT_TRUE(p.typeText(kChangeTitle, aa::ART_DESCRIPCION, "Tuerca grande"));
  ASSERT_TRUE(p.click(kChangeTitle, aa::OK));
  ASSERT_TRUE(p.pendingMessage().has_value()) << p.dump();
  ASSERT_TRUE(p.answer(rt::BUTTON_OK));
  // Not written back, not reported as done: the form keeps the user's text.
  EXPECT_TRUE(p.hasWindow(kChangeTitle));
  EXPECT_EQ(trim(p.text(kChangeTitle, aa::ART_DESCRIPCION)), "Tuerca grande");
  auto all = readAll();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].IDARTICULO, 1);
  p.queueAnswer(rt::BUTTON_YES);
  ASSERT_TRUE(p.click(kChangeTitle, aa::CANCEL));
  EXPECT_FALSE(p.hasWindow(kChangeTitle));
  // The list no longer shows it.
  EXPECT_EQ(column(p.listRows(kBrowse, ba::BROWSE_1), 0), std::vector<std::string>{"1"});
}

TEST_F(Articulos, AChangeDoesNotUndoAnotherStationsChange) {
  addAll({art(1, "Tornillo", "1.00")});
  ASSERT_TRUE(call(quillet::Browse_Articulos, 0, art(0, "", "0")));
  ASSERT_TRUE(p.click(kBrowse, ba::CHANGE_3));
  ASSERT_TRUE(p.hasWindow(kChangeTitle)) << p.dump();
  // Another station changes the price while the form shows the article.
  {
    ARTICULO r = art(1, "", "0");
    store::File f(quillet::ARTICULO_Def(), &r);
    ASSERT_TRUE(f.open().ok());
    ASSERT_TRUE(f.fetch(quillet::ART_POR_IDARTICULO).ok());
    ASSERT_EQ(r.IMPORTE.assign(*rt::Decimal::parse("9.99")), rt::DecimalStatus::Ok);
    ASSERT_TRUE(f.put().ok());
    f.close();
  }
  ASSERT_TRUE(p.typeText(kChangeTitle, aa::ART_DESCRIPCION, "Tornillo largo"));
  ASSERT_TRUE(p.click(kChangeTitle, aa::OK));
  ASSERT_TRUE(p.pendingMessage().has_value()) << p.dump();
  ASSERT_TRUE(p.answer(rt::BUTTON_OK));
  EXPECT_TRUE(p.hasWindow(kChangeTitle));
  auto all = readAll();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(desc(all[0]), "Tornillo");
  EXPECT_EQ(price(all[0]), "9.99");
  p.queueAnswer(rt::BUTTON_YES);
  ASSERT_TRUE(p.click(kChangeTitle, aa::CANCEL));
  EXPECT_FALSE(p.hasWindow(kChangeTitle));
  EXPECT_EQ(column(p.listRows(kBrowse, ba::BROWSE_1), 2), std::vector<std::string>{"9.99"});
}

TEST_F(Articulos, RightClickMenuOffersTheButtonsAndElegirOnlyWhilePicking) {
  addAll({art(1, "Tornillo", "1.00"), art(2, "Tuerca", "2.00")});
  ASSERT_TRUE(call(quillet::Browse_Articulos, 0, art(0, "", "0")));
  ASSERT_TRUE(p.clickCell(kBrowse, ba::BROWSE_1, 2, 1, rt::MouseRight));
  auto menu = p.pendingPopup();
  ASSERT_TRUE(menu.has_value()) << p.dump();
  EXPECT_EQ(menu->items, (std::vector<std::string>{"&Agregar", "&Cambiar", "&Borrar", "&Ver"}));
  ASSERT_TRUE(p.choosePopup("Cambiar"));
  ASSERT_TRUE(p.hasWindow(kChangeTitle)) << p.dump();
  EXPECT_EQ(trim(p.text(kChangeTitle, aa::ART_IDARTICULO)), "2");
  ASSERT_TRUE(p.click(kChangeTitle, aa::CANCEL));
  ASSERT_TRUE(p.click(kBrowse, ba::CLOSE));
  ASSERT_TRUE(result().done);

  ASSERT_TRUE(pick(art(0, "", "0")));
  ASSERT_TRUE(p.clickCell(kBrowse, ba::BROWSE_1, 2, 1, rt::MouseRight));
  menu = p.pendingPopup();
  ASSERT_TRUE(menu.has_value()) << p.dump();
  EXPECT_EQ(menu->items, (std::vector<std::string>{"&Agregar", "&Cambiar", "&Borrar", "&Ver", "&Elegir"}));
  ASSERT_TRUE(p.choosePopup("Elegir"));
  CallResult r = result();
  ASSERT_TRUE(r.done);
  EXPECT_EQ(r.response, fw::RequestCompleted);
  EXPECT_EQ(r.out.IDARTICULO, 2);
}

TEST_F(Articulos, ViewModeIsReadOnlyAndReportsCancelled) {
  addAll({art(4, "Clavo", "0.05")});
  // Through the browse's "&Ver".
  ASSERT_TRUE(call(quillet::Browse_Articulos, 0, art(0, "", "0")));
  ASSERT_TRUE(p.click(kBrowse, ba::VIEW_2));
  ASSERT_TRUE(p.hasWindow(kViewTitle)) << p.dump();
  for (int feq : {aa::ART_IDARTICULO, aa::ART_DESCRIPCION, aa::ART_IMPORTE}) EXPECT_TRUE(p.readOnly(kViewTitle, feq)) << feq;
  EXPECT_EQ(trim(p.text(kViewTitle, aa::ART_DESCRIPCION)), "Clavo");
  ASSERT_TRUE(p.click(kViewTitle, aa::OK));
  EXPECT_FALSE(p.hasWindow(kViewTitle));
  ASSERT_TRUE(p.click(kBrowse, ba::CLOSE));
  ASSERT_TRUE(result().done);

  // Called directly: the result of a view is always 2, and nothing is written.
  ASSERT_TRUE(call(quillet::Actualiza_Articulos, fw::ViewRecord, art(4, "Clavo", "0.05")));
  ASSERT_TRUE(p.hasWindow(kViewTitle)) << p.dump();
  EXPECT_EQ(trim(p.text(kViewTitle, aa::ART_IMPORTE)), "0.05");
  ASSERT_TRUE(p.pressKey(kViewTitle, aa::ART_DESCRIPCION, rt::CtrlH));
  EXPECT_EQ(trim(p.text(kViewTitle, aa::ART_DESCRIPCION)), "Clavo");
  ASSERT_TRUE(p.click(kViewTitle, aa::OK));
  CallResult r = result();
  ASSERT_TRUE(r.done);
  EXPECT_EQ(r.response, fw::RequestCancelled);
  EXPECT_FALSE(p.hasWindow(kViewTitle));
  EXPECT_TRUE(p.messages().empty());
  auto all = readAll();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(std::memcmp(&all[0], &r.out, sizeof(ARTICULO)), 0);
}

TEST_F(Articulos, DeleteAsksConfirmarBorradoAndTheListClosesTheGap) {
  std::vector<ARTICULO> arts;
  for (std::uint16_t i = 1; i <= 30; ++i) arts.push_back(art(i, ("Articulo " + std::to_string(i)).c_str(), "1.00"));
  addAll(arts);
  ASSERT_TRUE(call(quillet::Browse_Articulos, 0, art(0, "", "0")));
  auto before = column(p.listRows(kBrowse, ba::BROWSE_1), 0);
  ASSERT_GE(before.size(), 3u);
  ASSERT_TRUE(p.clickCell(kBrowse, ba::BROWSE_1, 2, 1));

  // No: nothing changes.
  p.queueAnswer(rt::BUTTON_NO);
  ASSERT_TRUE(p.click(kBrowse, ba::DELETE_3));
  ASSERT_EQ(p.messages().size(), 1u);
  EXPECT_EQ(p.messages()[0].caption, "Confirmar Borrado");
  EXPECT_EQ(readAll().size(), 30u);
  EXPECT_EQ(column(p.listRows(kBrowse, ba::BROWSE_1), 0), before);

  // Yes, by the Delete key: the article goes and the next ones move up; the page stays full.
  p.queueAnswer(rt::BUTTON_YES);
  ASSERT_TRUE(p.pressKey(kBrowse, ba::BROWSE_1, rt::DeleteKey));
  ASSERT_EQ(p.messages().size(), 2u);
  EXPECT_EQ(p.messages()[1].caption, "Confirmar Borrado");
  EXPECT_EQ(findArt(readAll(), 2), nullptr);
  std::vector<std::string> expected = before;
  expected.erase(expected.begin() + 1);
  expected.push_back(std::to_string(before.size() + 1));
  EXPECT_EQ(column(p.listRows(kBrowse, ba::BROWSE_1), 0), expected);
  EXPECT_FALSE(p.hasWindow(kChangeTitle));
}

// ----- Orders and locators -----

TEST_F(Articulos, DescriptionTabOrdersByDescriptionIgnoringCase) {
  addAll({art(1, "tuerca", "1.00"), art(2, "Arandela", "2.00"), art(3, "clavo", "3.00"), art(4, "Broca", "4.00")});
  ASSERT_TRUE(call(quillet::Browse_Articulos, 0, art(0, "", "0")));
  EXPECT_EQ(column(p.listRows(kBrowse, ba::BROWSE_1), 0), (std::vector<std::string>{"1", "2", "3", "4"}));
  ASSERT_TRUE(p.chooseTab(kBrowse, ba::CURRENTTAB, ba::TAB_3));
  EXPECT_EQ(column(p.listRows(kBrowse, ba::BROWSE_1), 1),
            (std::vector<std::string>{"Arandela", "Broca", "clavo", "tuerca"}));
  ASSERT_TRUE(p.chooseTab(kBrowse, ba::CURRENTTAB, ba::TAB_2));
  EXPECT_EQ(column(p.listRows(kBrowse, ba::BROWSE_1), 0), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST_F(Articulos, LocatorStepsThroughMatchingRowsAndWraps) {
  addAll({art(1, "Alfa", "1"), art(2, "bravo", "1"), art(3, "Beta", "1"), art(20, "Boro", "1"),
          art(21, "Carlos", "1")});
  ASSERT_TRUE(call(quillet::Browse_Articulos, 0, art(0, "", "0")));
  struct Step {
    char typed;
    std::string code;
  };
  // By code: rows 1, 2, 3, 20, 21.
  const Step by_code[] = {{'3', "3"}, {'2', "20"}, {'2', "21"}, {'2', "2"}, {'9', "20"}, {'1', "1"}};
  for (const Step& s : by_code) {
    SCOPED_TRACE(std::string("code order, typed ") + s.typed);
    ASSERT_TRUE(p.typeChar(kBrowse, ba::BROWSE_1, s.typed));
    EXPECT_EQ(highlighted(0), s.code);
  }
  // By description: Alfa, Beta, Boro, bravo, Carlos.
  ASSERT_TRUE(p.chooseTab(kBrowse, ba::CURRENTTAB, ba::TAB_3));
  const Step by_desc[] = {{'b', "Beta"}, {'B', "Boro"}, {'b', "bravo"}, {'b', "Beta"}, {'c', "Carlos"},
                          {'a', "Alfa"}, {'z', "Carlos"}};
  for (const Step& s : by_desc) {
    SCOPED_TRACE(std::string("description order, typed ") + s.typed);
    ASSERT_TRUE(p.typeChar(kBrowse, ba::BROWSE_1, s.typed));
    EXPECT_EQ(highlighted(1), s.code);
  }
}

// ----- The select protocol -----

TEST_F(Articulos, PickerOpensAtTheCallersCode) {
  std::vector<ARTICULO> arts;
  for (std::uint16_t i = 1; i <= 40; ++i) arts.push_back(art(static_cast<std::uint16_t>(i * 10), "x", "1.00"));
  addAll(arts);
  struct Case {
    const char* what;
    std::uint16_t code;
    std::string expected;
  };
  const Case cases[] = {
      {"code 0: the first article", 0, "10"},
      {"an existing code", 250, "250"},
      {"a missing code: the next higher one", 251, "260"},
      {"past the last code: the last article", 999, "400"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(pick(art(c.code, "", "0")));
    ASSERT_TRUE(p.hasWindow(kBrowse)) << p.dump();
    EXPECT_EQ(highlighted(0), c.expected);
    EXPECT_TRUE(p.enabled(kBrowse, ba::SELECT));
    EXPECT_FALSE(p.hidden(kBrowse, ba::SELECT));
    // Enter presses "&Elegir", the default button.
    ASSERT_TRUE(p.pressKey(kBrowse, ba::BROWSE_1, rt::EnterKey));
    CallResult r = result();
    ASSERT_TRUE(r.done);
    EXPECT_EQ(r.response, fw::RequestCompleted);
    EXPECT_EQ(std::to_string(r.out.IDARTICULO), c.expected);
  }
}

TEST_F(Articulos, PickerOnAnEmptyTableShowsElegirDisabledAndANewArticleCanBePickedAtOnce) {
  ASSERT_TRUE(pick(art(5, "", "0")));
  ASSERT_TRUE(p.hasWindow(kBrowse)) << p.dump();
  EXPECT_FALSE(p.hidden(kBrowse, ba::SELECT));
  EXPECT_FALSE(p.enabled(kBrowse, ba::SELECT));
  ASSERT_TRUE(p.click(kBrowse, ba::SELECT));
  EXPECT_TRUE(p.hasWindow(kBrowse));

  ASSERT_TRUE(p.click(kBrowse, ba::INSERT_3));
  ASSERT_TRUE(p.hasWindow(kInsertTitle)) << p.dump();
  ASSERT_TRUE(p.typeText(kInsertTitle, aa::ART_DESCRIPCION, "Martillo"));
  ASSERT_TRUE(p.typeText(kInsertTitle, aa::ART_IMPORTE, "12.75"));
  ASSERT_TRUE(p.click(kInsertTitle, aa::OK));
  ASSERT_FALSE(p.hasWindow(kInsertTitle)) << p.dump();
  EXPECT_TRUE(p.enabled(kBrowse, ba::SELECT));
  ASSERT_TRUE(p.click(kBrowse, ba::SELECT));
  CallResult r = result();
  ASSERT_TRUE(r.done);
  EXPECT_EQ(r.response, fw::RequestCompleted);
  const ARTICULO expected = art(1, "Martillo", "12.75");
  EXPECT_EQ(std::memcmp(&r.out, &expected, sizeof(ARTICULO)), 0);
}

TEST_F(Articulos, PickerByDescriptionReturnsTheChosenRow) {
  addAll({art(1, "Tuerca", "1.00"), art(2, "Arandela", "2.00"), art(3, "Clavo", "3.00")});
  ASSERT_TRUE(pick(art(0, "", "0")));
  ASSERT_TRUE(p.chooseTab(kBrowse, ba::CURRENTTAB, ba::TAB_3));
  ASSERT_TRUE(p.clickCell(kBrowse, ba::BROWSE_1, 2, 2));
  EXPECT_EQ(highlighted(1), "Clavo");
  ASSERT_TRUE(p.click(kBrowse, ba::SELECT));
  CallResult r = result();
  ASSERT_TRUE(r.done);
  EXPECT_EQ(r.response, fw::RequestCompleted);
  const ARTICULO expected = art(3, "Clavo", "3.00");
  EXPECT_EQ(std::memcmp(&r.out, &expected, sizeof(ARTICULO)), 0);
}

TEST_F(Articulos, CancelAfterBrowsingLeavesTheCallersBufferByteForByte) {
  std::vector<ARTICULO> arts;
  for (std::uint16_t i = 1; i <= 50; ++i) arts.push_back(art(i, "Articulo", "3.00"));
  addAll(arts);
  // A buffer no record looks like: a missing code, bytes past the text that are not blanks.
  ARTICULO in = art(77, "Lo que el llamador tenia", "-42.10");
  in.DESCRIPCION[28] = '\0';
  in.DESCRIPCION[29] = '\x7f';
  for (bool close_box : {false, true}) {
    SCOPED_TRACE(close_box ? "close box" : "Cerrar");
    ASSERT_TRUE(pick(in));
    ASSERT_TRUE(p.hasWindow(kBrowse)) << p.dump();
    ASSERT_TRUE(p.scroll(kBrowse, ba::BROWSE_1, rt::ScrollAction::PageUp));
    ASSERT_TRUE(p.clickCell(kBrowse, ba::BROWSE_1, 3, 1));
    ASSERT_TRUE(p.chooseTab(kBrowse, ba::CURRENTTAB, ba::TAB_3));
    ASSERT_TRUE(p.click(kBrowse, ba::VIEW_2));
    ASSERT_TRUE(p.click(kViewTitle, aa::OK));
    ASSERT_TRUE(close_box ? p.closeWindow(kBrowse) : p.click(kBrowse, ba::CLOSE));
    CallResult r = result();
    ASSERT_TRUE(r.done);
    EXPECT_EQ(r.response, fw::RequestCancelled);
    EXPECT_EQ(std::memcmp(&r.out, &in, sizeof(ARTICULO)), 0);
  }
}

}  // namespace
