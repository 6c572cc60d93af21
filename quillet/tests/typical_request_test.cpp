// Invoice lines edited in the invoice form's list, driven through the scripted front end as a
// person would: the step-by-step request of adding a line to an invoice, line numbering, the
// quantity check, article lookup and picker, saving by Down and by Enter, line totals that do not
// fit, and a cancelled new invoice with lines.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "quillet/app/startup.h"
#include "quillet/tables/articulo.h"
#include "quillet/tables/cabecera.h"
#include "quillet/tables/items.h"
#include "quillet/windows/actualiza_cabecera.h"
#include "quillet/windows/browse_articulos.h"
#include "quillet/windows/browse_cabecera.h"
#include "quillet/windows/line_editors.h"
#include "runtime/vocabulary.h"
#include "store/file.h"
#include "ui/scripted/program_driver.h"

namespace {

using scripted::Program;
namespace bc = quillet::browse_cabecera;
namespace ac = quillet::actualiza_cabecera;
namespace ba = quillet::browse_articulos;

constexpr const char* kFrame = "Demostración de Quillet Optimisado";
constexpr const char* kBrowse = "Recorrer la tabla Cabecera";
constexpr const char* kPicker = "Recorrer la tabla Articulos";
constexpr const char* kInsertTitle = "El registro será agregado";
constexpr const char* kChangeTitle = "El registro será cambiado";

rt::Decimal dec(const char* s) { return *rt::Decimal::parse(s); }

std::string trim(std::string s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

template <class Rec>
std::vector<Rec> readAll(const store::TableDef& def) {
  Rec r{};
  store::File f(def, &r);
  std::vector<Rec> out;
  if (!f.open().ok()) return out;
  if (f.set(0).ok())
    while (f.next().ok()) out.push_back(r);
  f.close();
  return out;
}

template <class Rec>
void addAll(const store::TableDef& def, const std::vector<Rec>& recs) {
  Rec r{};
  store::File f(def, &r);
  ASSERT_TRUE(f.open().ok());
  for (const Rec& x : recs) {
    r = x;
    ASSERT_TRUE(f.add().ok());
  }
  f.close();
}

quillet::ARTICULO article(std::uint16_t id, const char* name, const char* price) {
  quillet::ARTICULO a{};
  a.IDARTICULO = id;
  std::memset(a.DESCRIPCION, ' ', sizeof a.DESCRIPCION);
  std::memcpy(a.DESCRIPCION, name, std::strlen(name));
  EXPECT_EQ(a.IMPORTE.assign(dec(price)), rt::DecimalStatus::Ok);
  return a;
}

quillet::CABECERA header(std::uint16_t id) {
  quillet::CABECERA c{};
  c.IDCABECERA = id;
  c.FECHA = 80000;
  return c;
}

struct Line {
  std::uint16_t norden;
  std::string qty, art, desc, price, total;
  bool operator==(const Line&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Line& l) {
  return o << "{" << l.norden << " " << l.qty << " " << l.art << " '" << l.desc << "' " << l.price << " " << l.total
           << "}";
}

// The stored lines of one header, in line order.
std::vector<Line> storedLines(std::uint16_t cab) {
  std::vector<Line> out;
  for (const auto& l : readAll<quillet::ITEMS>(quillet::ITEMS_Def()))
    if (l.IDCABECERA == cab)
      out.push_back({l.NORDEN, l.CANTIDAD.value().toString(2), std::to_string(l.IDARTICULO),
                     trim(std::string(l.DESCRIPCION, sizeof l.DESCRIPCION)), l.UNITARIO.value().toString(2),
                     l.TOTAL.value().toString(2)});
  return out;
}

std::optional<quillet::CABECERA> storedHeader(std::uint16_t id) {
  for (const auto& h : readAll<quillet::CABECERA>(quillet::CABECERA_Def()))
    if (h.IDCABECERA == id) return h;
  return std::nullopt;
}

class InvoiceLines : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(p.waitIdle());
    addAll<quillet::ARTICULO>(quillet::ARTICULO_Def(), {article(1, "Tornillo", "10.50"), article(2, "Tuerca", "0.10"),
                                                        article(3, "Arandela", "0.20"), article(4, "Motor", "50000.00")});
  }

  // The line list as displayed, trimmed.
  std::vector<std::vector<std::string>> rows(const char* form) {
    auto rs = p.listRows(form, ac::LIST);
    for (auto& r : rs)
      for (auto& c : r) c = trim(c);
    return rs;
  }
  int editor(const char* form) { return p.cellEditor(form, ac::LIST); }
  // Types into the open cell and leaves it with `key`.
  testing::AssertionResult enter(const char* form, const std::string& text, int key = rt::TabKey) {
    const int e = editor(form);
    if (e == 0) return testing::AssertionFailure() << "no cell editor\n" << p.dump();
    if (auto r = p.typeText(form, e, text); !r) return r;
    return p.pressKey(form, e, key);
  }
  std::size_t boxes() { return p.messages().size(); }
  // A new row whose editor is in the quantity column (the first row after "&Agrega"): quantity,
  // Tab, article, Down (saves and opens the next new row in the article column).
  testing::AssertionResult firstLine(const char* form, const char* qty, const char* art) {
    if (auto r = enter(form, qty); !r) return r;
    return enter(form, art, rt::DownKey);
  }
  // A new row opened by Down, its editor in the article column: article, Shift+Tab, quantity,
  // Tab, Down.
  testing::AssertionResult nextLine(const char* form, const char* qty, const char* art) {
    if (auto r = enter(form, art, rt::ShiftTab); !r) return r;
    if (auto r = enter(form, qty); !r) return r;
    return p.pressKey(form, editor(form), rt::DownKey);
  }

  Program p{quillet::QuilletProgram()};
};

// Adding a line to an invoice, step by step, as a person does it.
TEST_F(InvoiceLines, TypicalRequestStepByStep) {
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1), header(2)});
  quillet::ITEMS first{};
  first.IDCABECERA = 1;
  first.NORDEN = 1;
  ASSERT_EQ(first.CANTIDAD.assign(dec("1")), rt::DecimalStatus::Ok);
  first.IDARTICULO = 2;
  std::memset(first.DESCRIPCION, ' ', 30);
  std::memcpy(first.DESCRIPCION, "Tuerca", 6);
  ASSERT_EQ(first.UNITARIO.assign(dec("0.10")), rt::DecimalStatus::Ok);
  ASSERT_EQ(first.TOTAL.assign(dec("0.10")), rt::DecimalStatus::Ok);
  addAll<quillet::ITEMS>(quillet::ITEMS_Def(), {first});

  // 1. "&Tablas", "Cabecera": the header browse on its own thread lists the headers.
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  ASSERT_TRUE(p.hasWindow(kBrowse));
  EXPECT_EQ(p.listRows(kBrowse, bc::BROWSE_1).size(), 2u);

  // 2-3. "&Cambiar" on header 1: the form is titled for a change, lists header 1's line and shows
  // the total recomputed from it (the stored total is still 0).
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  ASSERT_TRUE(p.hasWindow(kChangeTitle)) << p.dump();
  EXPECT_EQ(rows(kChangeTitle), (std::vector<std::vector<std::string>>{{"1", "1.00", "2", "Tuerca", "0.10", "0.10"}}));
  EXPECT_EQ(trim(p.text(kChangeTitle, ac::CAB_TOTAL)), "0.10");

  // 4. "&Agrega": a new row below the highlighted one, line number 2 reserved in ITEMS at once,
  // editing in the quantity column.
  ASSERT_TRUE(p.click(kChangeTitle, ac::INSERT));
  ASSERT_NE(editor(kChangeTitle), 0) << p.dump();
  EXPECT_EQ(p.control(kChangeTitle, editor(kChangeTitle))->over_col, 2);
  EXPECT_EQ(p.control(kChangeTitle, editor(kChangeTitle))->over_row, 2);
  ASSERT_EQ(storedLines(1).size(), 2u);
  EXPECT_EQ(storedLines(1)[1].norden, 2);

  // 5. A zero quantity is refused with the warning; the cell stays open.
  std::size_t before = boxes();
  p.queueAnswer(rt::BUTTON_OK);
  ASSERT_TRUE(enter(kChangeTitle, "0"));
  ASSERT_EQ(boxes(), before + 1);
  EXPECT_EQ(p.messages().back().caption, quillet::kValidationCaption);
  EXPECT_EQ(p.messages().back().text, quillet::kQuantityMissingText);
  EXPECT_EQ(p.messages().back().icon, rt::ICON_Exclamation);
  EXPECT_EQ(p.control(kChangeTitle, editor(kChangeTitle))->over_col, 2);
  // Quantity 2, then article 1: description, price 10.50 and total 21.00 are filled in.
  ASSERT_TRUE(enter(kChangeTitle, "2"));
  EXPECT_EQ(p.control(kChangeTitle, editor(kChangeTitle))->over_col, 3);
  ASSERT_TRUE(enter(kChangeTitle, "1"));
  EXPECT_EQ(p.control(kChangeTitle, editor(kChangeTitle))->over_col, 4);
  EXPECT_EQ(rows(kChangeTitle)[1], (std::vector<std::string>{"2", "2.00", "1", "Tornillo", "10.50", "21.00"}));

  // 6. Down saves the row without a question and opens another new row (line 3) in the same
  // column; Esc on that untouched row removes it and its reservation; the list reloads and the
  // total is recomputed from every line.
  before = boxes();
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::DownKey));
  EXPECT_EQ(boxes(), before);
  EXPECT_EQ(storedLines(1)[1], (Line{2, "2.00", "1", "Tornillo", "10.50", "21.00"}));
  ASSERT_NE(editor(kChangeTitle), 0) << p.dump();
  EXPECT_EQ(p.control(kChangeTitle, editor(kChangeTitle))->over_row, 3);
  EXPECT_EQ(p.control(kChangeTitle, editor(kChangeTitle))->over_col, 4);
  ASSERT_EQ(storedLines(1).size(), 3u);
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::EscKey));
  EXPECT_EQ(editor(kChangeTitle), 0);
  EXPECT_EQ(storedLines(1).size(), 2u);
  EXPECT_EQ(rows(kChangeTitle).size(), 2u);
  EXPECT_EQ(p.selectedRow(kChangeTitle, ac::LIST), 2);
  EXPECT_EQ(trim(p.text(kChangeTitle, ac::CAB_TOTAL)), "21.10");
  EXPECT_EQ(storedHeader(1)->TOTAL.value(), dec("0"));  // the header is written only by "&Aceptar"

  // 7. "&Aceptar" writes the header with its new total; the browse shows it on the header's row.
  ASSERT_TRUE(p.click(kChangeTitle, ac::OK));
  EXPECT_FALSE(p.hasWindow(kChangeTitle)) << p.dump();
  EXPECT_EQ(storedHeader(1)->TOTAL.value(), dec("21.10"));
  EXPECT_EQ(trim(p.listRows(kBrowse, bc::BROWSE_1)[0][2]), "21.10");
  EXPECT_EQ(p.selectedRow(kBrowse, bc::BROWSE_1), 1);
}

TEST_F(InvoiceLines, NewInvoiceWithThreeLinesCancelledLeavesNothing) {
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  ASSERT_TRUE(p.click(kBrowse, bc::INSERT_3));
  ASSERT_TRUE(p.hasWindow(kInsertTitle)) << p.dump();
  ASSERT_TRUE(p.click(kInsertTitle, ac::INSERT));
  ASSERT_TRUE(firstLine(kInsertTitle, "1", "1"));
  ASSERT_TRUE(nextLine(kInsertTitle, "1", "2"));
  ASSERT_TRUE(nextLine(kInsertTitle, "1", "3"));
  ASSERT_TRUE(p.pressKey(kInsertTitle, editor(kInsertTitle), rt::EscKey));
  auto ls = storedLines(1);
  ASSERT_EQ(ls.size(), 3u);
  EXPECT_EQ(ls[0].norden, 1);
  EXPECT_EQ(ls[2].norden, 3);
  // 0.10 + 0.20 + 10.50
  EXPECT_EQ(trim(p.text(kInsertTitle, ac::CAB_TOTAL)), "10.80");
  p.queueAnswer(rt::BUTTON_YES);
  ASSERT_TRUE(p.click(kInsertTitle, ac::CANCEL));
  EXPECT_FALSE(p.hasWindow(kInsertTitle)) << p.dump();
  EXPECT_FALSE(storedHeader(1).has_value());
  EXPECT_TRUE(storedLines(1).empty());
}

TEST_F(InvoiceLines, ACancelledChangeKeepsTheEditedLinesAndTheOldStoredTotal) {
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1)});
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  ASSERT_TRUE(p.click(kChangeTitle, ac::INSERT));
  ASSERT_TRUE(firstLine(kChangeTitle, "3", "1"));  // 31.50
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::EscKey));
  EXPECT_EQ(trim(p.text(kChangeTitle, ac::CAB_TOTAL)), "31.50");
  const std::size_t before = boxes();
  p.queueAnswer(rt::BUTTON_YES);
  ASSERT_TRUE(p.click(kChangeTitle, ac::CANCEL));
  ASSERT_FALSE(p.hasWindow(kChangeTitle));
  EXPECT_EQ(boxes(), before + 1);  // the recomputed total differs: asked first
  EXPECT_EQ(storedLines(1), (std::vector<Line>{{1, "3.00", "1", "Tornillo", "10.50", "31.50"}}));
  EXPECT_EQ(storedHeader(1)->TOTAL.value(), dec("0"));
  EXPECT_EQ(trim(p.listRows(kBrowse, bc::BROWSE_1)[0][2]), "");
  // Reopened: the sum shows at once, and "&Aceptar" stores it.
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  EXPECT_EQ(trim(p.text(kChangeTitle, ac::CAB_TOTAL)), "31.50");
  ASSERT_TRUE(p.click(kChangeTitle, ac::OK));
  EXPECT_EQ(storedHeader(1)->TOTAL.value(), dec("31.50"));
}

TEST_F(InvoiceLines, EditingAnExistingLineTakesItsArticlesCurrentPrice) {
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1)});
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  ASSERT_TRUE(p.click(kChangeTitle, ac::INSERT));
  ASSERT_TRUE(firstLine(kChangeTitle, "2", "1"));  // 2 x 10.50
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::EscKey));
  ASSERT_TRUE(p.click(kChangeTitle, ac::OK));
  // The article's price changes after the line was entered.
  {
    quillet::ARTICULO a{};
    store::File f(quillet::ARTICULO_Def(), &a);
    ASSERT_TRUE(f.open().ok());
    a.IDARTICULO = 1;
    ASSERT_TRUE(f.fetch(quillet::ART_POR_IDARTICULO).ok());
    ASSERT_EQ(a.IMPORTE.assign(dec("12.00")), rt::DecimalStatus::Ok);
    ASSERT_TRUE(f.put().ok());
    f.close();
  }
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  ASSERT_TRUE(p.clickCell(kChangeTitle, ac::LIST, 1, 2));
  ASSERT_TRUE(p.click(kChangeTitle, ac::CHANGE));
  ASSERT_TRUE(enter(kChangeTitle, "3"));
  EXPECT_EQ(rows(kChangeTitle)[0], (std::vector<std::string>{"1", "3.00", "1", "Tornillo", "12.00", "36.00"}));
  // The price cell alone does not change the total.
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::TabKey));
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::TabKey));
  ASSERT_TRUE(enter(kChangeTitle, "1.00", rt::DownKey));
  EXPECT_EQ(storedLines(1), (std::vector<Line>{{1, "3.00", "1", "Tornillo", "1.00", "36.00"}}));
}

TEST_F(InvoiceLines, AQuantityWithoutArticleFillsNothingAndANegativeQuantityIsAccepted) {
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1)});
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  ASSERT_TRUE(p.click(kChangeTitle, ac::INSERT));
  // No article looked up yet: blank description, price and total 0 (shown blank).
  ASSERT_TRUE(enter(kChangeTitle, "2"));
  EXPECT_EQ(rows(kChangeTitle)[0], (std::vector<std::string>{"1", "2.00", "0", "", "", ""}));
  ASSERT_TRUE(enter(kChangeTitle, "1", rt::ShiftTab));
  ASSERT_TRUE(enter(kChangeTitle, "-1"));
  EXPECT_EQ(rows(kChangeTitle)[0], (std::vector<std::string>{"1", "-1.00", "1", "Tornillo", "10.50", "-10.50"}));
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::DownKey));
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::EscKey));
  EXPECT_EQ(trim(p.text(kChangeTitle, ac::CAB_TOTAL)), "-10.50");
  EXPECT_EQ(storedLines(1), (std::vector<Line>{{1, "-1.00", "1", "Tornillo", "10.50", "-10.50"}}));
}

TEST_F(InvoiceLines, TotalsOfTwoLinesAddUpExactly) {
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1)});
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  ASSERT_TRUE(p.click(kChangeTitle, ac::INSERT));
  ASSERT_TRUE(firstLine(kChangeTitle, "1", "2"));  // 0.10
  ASSERT_TRUE(nextLine(kChangeTitle, "1", "3"));   // 0.20
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::EscKey));
  EXPECT_EQ(trim(p.text(kChangeTitle, ac::CAB_TOTAL)), "0.30");
  ASSERT_TRUE(p.click(kChangeTitle, ac::OK));
  EXPECT_EQ(storedHeader(1)->TOTAL.value(), dec("0.30"));
}

TEST_F(InvoiceLines, LineNumbersPerHeaderAndAfterDeletingTheHighest) {
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1), header(2)});
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  for (int h : {1, 2}) {
    SCOPED_TRACE(h);
    if (h == 2) {
      ASSERT_TRUE(p.pressKey(kBrowse, bc::BROWSE_1, rt::DownKey));
    }
    ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
    ASSERT_TRUE(p.click(kChangeTitle, ac::INSERT));
    ASSERT_TRUE(firstLine(kChangeTitle, "1", "2"));
    if (h == 1) {
      ASSERT_TRUE(nextLine(kChangeTitle, "1", "2"));
    }
    ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::EscKey));
    ASSERT_TRUE(p.click(kChangeTitle, ac::OK));
  }
  EXPECT_EQ(storedLines(1).size(), 2u);
  ASSERT_EQ(storedLines(2).size(), 1u);
  EXPECT_EQ(storedLines(2)[0].norden, 1);  // numbering starts again for each header
  // Delete header 1's line 2 (no question), then add: number 2 is used again.
  ASSERT_TRUE(p.pressKey(kBrowse, bc::BROWSE_1, rt::UpKey));
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  ASSERT_TRUE(p.clickCell(kChangeTitle, ac::LIST, 2, 1));
  const std::size_t before = boxes();
  ASSERT_TRUE(p.click(kChangeTitle, ac::DELETE));
  EXPECT_EQ(boxes(), before);
  EXPECT_EQ(storedLines(1).size(), 1u);
  EXPECT_EQ(trim(p.text(kChangeTitle, ac::CAB_TOTAL)), "0.10");
  ASSERT_TRUE(p.click(kChangeTitle, ac::INSERT));
  ASSERT_TRUE(firstLine(kChangeTitle, "1", "3"));
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::EscKey));
  auto ls = storedLines(1);
  ASSERT_EQ(ls.size(), 2u);
  EXPECT_EQ(ls[1], (Line{2, "1.00", "3", "Arandela", "0.20", "0.20"}));
}

TEST_F(InvoiceLines, EnterInTheLastEditableColumnAsksToSave) {
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1)});
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  ASSERT_TRUE(p.click(kChangeTitle, ac::INSERT));
  ASSERT_TRUE(enter(kChangeTitle, "2", rt::EnterKey));  // Enter moves on like Tab
  ASSERT_TRUE(enter(kChangeTitle, "1", rt::EnterKey));
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::EnterKey));  // description kept
  EXPECT_EQ(p.control(kChangeTitle, editor(kChangeTitle))->over_col, 5);
  const std::size_t before = boxes();
  p.queueAnswer(rt::BUTTON_YES);
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::EnterKey));
  ASSERT_EQ(boxes(), before + 1);
  EXPECT_EQ(p.messages().back().caption, "Guardar Registro");
  EXPECT_EQ(editor(kChangeTitle), 0);  // editing ended
  EXPECT_EQ(storedLines(1), (std::vector<Line>{{1, "2.00", "1", "Tornillo", "10.50", "21.00"}}));
}

TEST_F(InvoiceLines, AZeroQuantityIsNeverSavedAndEscDiscardsSilently) {
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1)});
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  ASSERT_TRUE(p.click(kChangeTitle, ac::INSERT));
  // The quantity cell left empty: the row is completed by clicking another control.
  p.queueAnswer(rt::BUTTON_OK);
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::TabKey));  // refused: zero
  std::size_t before = boxes();
  p.queueAnswer(rt::BUTTON_OK);
  ASSERT_TRUE(p.focus(kChangeTitle, ac::CAB_FECHA));
  ASSERT_EQ(boxes(), before + 1);
  EXPECT_EQ(p.messages().back().text, quillet::kQuantityMissingText);
  ASSERT_NE(editor(kChangeTitle), 0);
  EXPECT_EQ(p.control(kChangeTitle, editor(kChangeTitle))->over_col, 2);
  // Down completes too: refused the same way.
  before = boxes();
  p.queueAnswer(rt::BUTTON_OK);
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::DownKey));
  EXPECT_EQ(boxes(), before + 1);
  // Nothing with a zero quantity was ever written (the reserved line is still blank).
  for (const Line& l : storedLines(1)) EXPECT_EQ(l.art, "0");
  // Esc discards the row without a word and gives the reserved number back.
  before = boxes();
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::EscKey));
  EXPECT_EQ(boxes(), before);
  EXPECT_TRUE(storedLines(1).empty());
  EXPECT_TRUE(rows(kChangeTitle).empty());
}

TEST_F(InvoiceLines, ALineTotalThatDoesNotFitIsRefusedAndTheRowStaysOpen) {
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1)});
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  ASSERT_TRUE(p.click(kChangeTitle, ac::INSERT));
  ASSERT_TRUE(enter(kChangeTitle, "3"));
  std::size_t before = boxes();
  p.queueAnswer(rt::BUTTON_OK);
  ASSERT_TRUE(enter(kChangeTitle, "4"));  // 3 x 50,000.00
  ASSERT_EQ(boxes(), before + 1);
  EXPECT_EQ(p.messages().back().caption, quillet::kValidationCaption);
  EXPECT_EQ(p.messages().back().text, std::string("ATENCION : El total de la linea supera 99.999,99\nCorrija la cantidad o el precio"));
  EXPECT_EQ(p.control(kChangeTitle, editor(kChangeTitle))->over_col, 4);
  // Completing the row is refused, on the quantity.
  before = boxes();
  p.queueAnswer(rt::BUTTON_OK);
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::DownKey));
  EXPECT_EQ(boxes(), before + 1);
  EXPECT_EQ(p.control(kChangeTitle, editor(kChangeTitle))->over_col, 2);
  // A quantity that fits: saved with its exact total.
  ASSERT_TRUE(enter(kChangeTitle, "1", rt::DownKey));
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::EscKey));
  EXPECT_EQ(storedLines(1), (std::vector<Line>{{1, "1.00", "4", "Motor", "50000.00", "50000.00"}}));
}

TEST_F(InvoiceLines, AMissingCodeOpensThePickerAndItsChoiceFillsTheLine) {
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1)});
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  ASSERT_TRUE(p.click(kChangeTitle, ac::INSERT));
  ASSERT_TRUE(enter(kChangeTitle, "2"));
  ASSERT_TRUE(enter(kChangeTitle, "99"));
  ASSERT_TRUE(p.hasWindow(kPicker)) << p.dump();
  EXPECT_EQ(p.selectedRow(kPicker, ba::BROWSE_1), 1);  // opens at the first article
  ASSERT_TRUE(p.pressKey(kPicker, ba::BROWSE_1, rt::DownKey));
  ASSERT_TRUE(p.click(kPicker, ba::SELECT));
  ASSERT_FALSE(p.hasWindow(kPicker));
  EXPECT_EQ(rows(kChangeTitle)[0], (std::vector<std::string>{"1", "2.00", "2", "Tuerca", "0.10", "0.20"}));
  // A cancelled picker after another missing code: the code becomes 0, the rest stays.
  ASSERT_TRUE(p.pressKey(kChangeTitle, editor(kChangeTitle), rt::ShiftTab));
  ASSERT_TRUE(enter(kChangeTitle, "77"));
  ASSERT_TRUE(p.hasWindow(kPicker));
  ASSERT_TRUE(p.click(kPicker, ba::CLOSE));
  EXPECT_EQ(rows(kChangeTitle)[0], (std::vector<std::string>{"1", "2.00", "0", "Tuerca", "0.10", "0.20"}));
}

TEST_F(InvoiceLines, TheEllipsisButtonOpensThePickerAtTheArticleInTheBuffer) {
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1)});
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  ASSERT_TRUE(p.click(kChangeTitle, ac::INSERT));
  ASSERT_TRUE(enter(kChangeTitle, "1"));
  ASSERT_EQ(p.control(kChangeTitle, editor(kChangeTitle))->type, rt::CONTROL_DropCombo);
  // No article looked up yet: closing the picker leaves the code 0.
  ASSERT_TRUE(p.dropDown(kChangeTitle, editor(kChangeTitle)));
  ASSERT_TRUE(p.hasWindow(kPicker)) << p.dump();
  ASSERT_TRUE(p.click(kPicker, ba::CLOSE));
  EXPECT_EQ(rows(kChangeTitle)[0][2], "0");
  EXPECT_EQ(p.control(kChangeTitle, editor(kChangeTitle))->over_col, 3);
  // Chosen: the line is filled and the editor moves on.
  ASSERT_TRUE(p.dropDown(kChangeTitle, editor(kChangeTitle)));
  ASSERT_TRUE(p.hasWindow(kPicker));
  ASSERT_TRUE(p.pressKey(kPicker, ba::BROWSE_1, rt::DownKey));
  ASSERT_TRUE(p.pressKey(kPicker, ba::BROWSE_1, rt::DownKey));
  ASSERT_TRUE(p.click(kPicker, ba::SELECT));
  ASSERT_FALSE(p.hasWindow(kPicker));
  EXPECT_EQ(rows(kChangeTitle)[0], (std::vector<std::string>{"1", "1.00", "3", "Arandela", "0.20", "0.20"}));
  EXPECT_EQ(p.control(kChangeTitle, editor(kChangeTitle))->over_col, 4);
}

}  // namespace
