// The invoice header browse and the invoice form, driven through the scripted front end: orders
// by tab, the next free number, date defaulting, the header total recomputed from the lines,
// cancelling a new invoice, a cancelled change, deleting, a total that does not fit, two browses
// on two threads; and the line arithmetic of FillLine.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "quillet/app/startup.h"
#include "quillet/tables/articulo.h"
#include "quillet/tables/cabecera.h"
#include "quillet/tables/items.h"
#include "quillet/windows/actualiza_cabecera.h"
#include "quillet/windows/browse_cabecera.h"
#include "quillet/windows/fill_line.h"
#include "runtime/date.h"
#include "runtime/vocabulary.h"
#include "store/file.h"
#include "ui/scripted/program_driver.h"

namespace {

using scripted::Program;
namespace bc = quillet::browse_cabecera;
namespace ac = quillet::actualiza_cabecera;

constexpr const char* kFrame = "Demostración de Quillet Optimisado";
constexpr const char* kBrowse = "Recorrer la tabla Cabecera";
constexpr const char* kInsertTitle = "El registro será agregado";
constexpr const char* kChangeTitle = "El registro será cambiado";

rt::Decimal dec(const char* s) { return *rt::Decimal::parse(s); }

std::string dateText(std::int32_t d) {
  rt::Ymd ymd = rt::ymdFromDate(d);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", ymd.day, ymd.month, ymd.year);
  return buf;
}

// Table access from the test's thread (the program's working directory is the current one).
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

quillet::CABECERA header(std::uint16_t id, std::int32_t fecha, const char* total) {
  quillet::CABECERA c{};
  c.IDCABECERA = id;
  c.FECHA = fecha;
  EXPECT_EQ(c.TOTAL.assign(dec(total)), rt::DecimalStatus::Ok);
  return c;
}

quillet::ITEMS line(std::uint16_t cab, std::uint16_t norden, const char* total) {
  quillet::ITEMS l{};
  l.IDCABECERA = cab;
  l.NORDEN = norden;
  EXPECT_EQ(l.CANTIDAD.assign(dec("1")), rt::DecimalStatus::Ok);
  std::memset(l.DESCRIPCION, ' ', sizeof l.DESCRIPCION);
  EXPECT_EQ(l.UNITARIO.assign(dec(total)), rt::DecimalStatus::Ok);
  EXPECT_EQ(l.TOTAL.assign(dec(total)), rt::DecimalStatus::Ok);
  return l;
}

std::string trim(std::string s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// A list column as displayed, without the padding of its picture.
std::vector<std::string> column(const std::vector<std::vector<std::string>>& rows, std::size_t c) {
  std::vector<std::string> out;
  for (const auto& r : rows) out.push_back(c < r.size() ? trim(r[c]) : "");
  return out;
}

std::string shown(Program& p, const scripted::Win& w, int feq) { return trim(p.text(w, feq)); }

std::optional<quillet::CABECERA> findHeader(const std::vector<quillet::CABECERA>& hs, std::uint16_t id) {
  for (const auto& h : hs)
    if (h.IDCABECERA == id) return h;
  return std::nullopt;
}

int linesOf(std::uint16_t cab) {
  int n = 0;
  for (const auto& l : readAll<quillet::ITEMS>(quillet::ITEMS_Def()))
    if (l.IDCABECERA == cab) ++n;
  return n;
}

class Cabecera : public ::testing::Test {
 protected:
  testing::AssertionResult openBrowse() {
    if (auto r = p.waitIdle(); !r) return r;
    return p.chooseMenu(kFrame, {"&Tablas", "Cabecera"});
  }
  Program p{quillet::QuilletProgram()};
};

TEST_F(Cabecera, EmptyTableOffersOnlyInsertAndTheFirstNumberIsOne) {
  ASSERT_TRUE(openBrowse());
  EXPECT_TRUE(p.listRows(kBrowse, bc::BROWSE_1).empty());
  EXPECT_TRUE(p.enabled(kBrowse, bc::INSERT_3));
  EXPECT_FALSE(p.enabled(kBrowse, bc::CHANGE_3));
  EXPECT_FALSE(p.enabled(kBrowse, bc::DELETE_3));
  ASSERT_TRUE(p.click(kBrowse, bc::INSERT_3));
  ASSERT_TRUE(p.hasWindow(kInsertTitle)) << p.dump();
  EXPECT_EQ(shown(p, kInsertTitle, ac::CAB_IDCABECERA), "1");
  // The number is reserved at once.
  auto hs = readAll<quillet::CABECERA>(quillet::CABECERA_Def());
  ASSERT_EQ(hs.size(), 1u);
  EXPECT_EQ(hs[0].IDCABECERA, 1);
}

TEST_F(Cabecera, OrdersByTabAndDateOrderLeavesOutHeadersWithoutDate) {
  ASSERT_TRUE(p.waitIdle());
  const std::int32_t d1 = rt::dateFromYmd(2024, 3, 1), d2 = rt::dateFromYmd(2023, 5, 9);
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(),
                            {header(1, d1, "1.00"), header(2, d2, "2.50"), header(3, 0, "0"),
                             header(4, d2, "4.00")});
  ASSERT_TRUE(openBrowse());
  auto rows = p.listRows(kBrowse, bc::BROWSE_1);
  EXPECT_EQ(column(rows, 0), (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_EQ(column(rows, 1), (std::vector<std::string>{dateText(d1), dateText(d2), "", dateText(d2)}));
  EXPECT_EQ(column(rows, 2), (std::vector<std::string>{"1.00", "2.50", "", "4.00"}));
  ASSERT_TRUE(p.chooseTab(kBrowse, bc::CURRENTTAB, bc::TAB_3));
  // By date: equal dates both listed, the undated header left out.
  EXPECT_EQ(column(p.listRows(kBrowse, bc::BROWSE_1), 0), (std::vector<std::string>{"2", "4", "1"}));
  ASSERT_TRUE(p.chooseTab(kBrowse, bc::CURRENTTAB, bc::TAB_2));
  EXPECT_EQ(column(p.listRows(kBrowse, bc::BROWSE_1), 0), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST_F(Cabecera, NewInvoiceGetsTheNextNumberAndKeepsTheDateTheUserTyped) {
  ASSERT_TRUE(p.waitIdle());
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1, 0, "0"), header(7, 0, "0")});
  ASSERT_TRUE(openBrowse());
  ASSERT_TRUE(p.click(kBrowse, bc::INSERT_3));
  ASSERT_TRUE(p.hasWindow(kInsertTitle)) << p.dump();
  EXPECT_EQ(shown(p, kInsertTitle, ac::CAB_IDCABECERA), "8");
  // The date stays empty until the user enters it; entering it proposes today.
  EXPECT_EQ(shown(p, kInsertTitle, ac::CAB_FECHA), "");
  ASSERT_TRUE(p.focus(kInsertTitle, ac::CAB_FECHA));
  EXPECT_EQ(shown(p, kInsertTitle, ac::CAB_FECHA), dateText(rt::today()));
  // A typed date is kept when the field is left and when the invoice is accepted.
  ASSERT_TRUE(p.typeText(kInsertTitle, ac::CAB_FECHA, "01/03/2012"));
  ASSERT_TRUE(p.pressKey(kInsertTitle, rt::TabKey));
  EXPECT_EQ(shown(p, kInsertTitle, ac::CAB_FECHA), "01/03/2012");
  ASSERT_TRUE(p.click(kInsertTitle, ac::OK));
  EXPECT_FALSE(p.hasWindow(kInsertTitle)) << p.dump();
  const auto h = findHeader(readAll<quillet::CABECERA>(quillet::CABECERA_Def()), 8);
  ASSERT_TRUE(h.has_value());
  EXPECT_EQ(h->FECHA, rt::dateFromYmd(2012, 3, 1));
  // The browse lists it, highlighted.
  auto rows = p.listRows(kBrowse, bc::BROWSE_1);
  EXPECT_EQ(column(rows, 0), (std::vector<std::string>{"1", "7", "8"}));
  EXPECT_EQ(p.selectedRow(kBrowse, bc::BROWSE_1), 3);
}

TEST_F(Cabecera, ADatePickedFromTheCalendarIsKeptAndStored) {
  ASSERT_TRUE(openBrowse());
  ASSERT_TRUE(p.click(kBrowse, bc::INSERT_3));
  ASSERT_TRUE(p.hasWindow(kInsertTitle)) << p.dump();
  ASSERT_TRUE(p.click(kInsertTitle, ac::CALENDAR));
  ASSERT_TRUE(p.hasWindow("Select a Date")) << p.dump();
  // The calendar opens on today (the date is still empty); the next day is picked.
  ASSERT_TRUE(p.pressKey("Select a Date", rt::RightKey));
  ASSERT_TRUE(p.pressKey("Select a Date", rt::EnterKey));
  ASSERT_FALSE(p.hasWindow("Select a Date"));
  const std::int32_t tomorrow = rt::today() + 1;
  EXPECT_EQ(shown(p, kInsertTitle, ac::CAB_FECHA), dateText(tomorrow));
  ASSERT_TRUE(p.click(kInsertTitle, ac::OK));
  ASSERT_FALSE(p.hasWindow(kInsertTitle)) << p.dump();
  const auto h = findHeader(readAll<quillet::CABECERA>(quillet::CABECERA_Def()), 1);
  ASSERT_TRUE(h.has_value());
  EXPECT_EQ(h->FECHA, tomorrow);
  EXPECT_EQ(column(p.listRows(kBrowse, bc::BROWSE_1), 1), (std::vector<std::string>{dateText(tomorrow)}));
}

TEST_F(Cabecera, CtrlHPutsBackTheDateOfTheHeaderLastAcceptedOnTheThread) {
  ASSERT_TRUE(p.waitIdle());
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1, rt::dateFromYmd(2020, 1, 2), "0"),
                                                      header(2, rt::dateFromYmd(2021, 6, 7), "0")});
  ASSERT_TRUE(openBrowse());
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));  // header 1, accepted unchanged
  ASSERT_TRUE(p.click(kChangeTitle, ac::OK));
  ASSERT_TRUE(p.pressKey(kBrowse, bc::BROWSE_1, rt::DownKey));
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));  // header 2
  ASSERT_TRUE(p.hasWindow(kChangeTitle)) << p.dump();
  EXPECT_EQ(shown(p, kChangeTitle, ac::CAB_FECHA), "07/06/2021");
  ASSERT_TRUE(p.focus(kChangeTitle, ac::CAB_FECHA));
  ASSERT_TRUE(p.pressKey(kChangeTitle, rt::CtrlH));
  EXPECT_EQ(shown(p, kChangeTitle, ac::CAB_FECHA), "02/01/2020");
  // The number is never put back: the header would lose its lines.
  ASSERT_TRUE(p.focus(kChangeTitle, ac::CAB_IDCABECERA));
  ASSERT_TRUE(p.pressKey(kChangeTitle, rt::CtrlH));
  EXPECT_EQ(shown(p, kChangeTitle, ac::CAB_IDCABECERA), "2");
  ASSERT_TRUE(p.click(kChangeTitle, ac::OK));
  const auto h2 = findHeader(readAll<quillet::CABECERA>(quillet::CABECERA_Def()), 2);
  ASSERT_TRUE(h2.has_value());
  EXPECT_EQ(h2->FECHA, rt::dateFromYmd(2020, 1, 2));
  EXPECT_EQ(readAll<quillet::CABECERA>(quillet::CABECERA_Def()).size(), 2u);
}

TEST_F(Cabecera, CancellingANewInvoiceRemovesItWithEveryLineWrittenForIt) {
  ASSERT_TRUE(p.waitIdle());
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1, 0, "0")});
  // Lines written for number 2 while its form is open (as the in-list editor writes them).
  addAll<quillet::ITEMS>(quillet::ITEMS_Def(), {line(1, 1, "5.00")});
  ASSERT_TRUE(openBrowse());
  ASSERT_TRUE(p.click(kBrowse, bc::INSERT_3));
  ASSERT_TRUE(p.hasWindow(kInsertTitle)) << p.dump();
  addAll<quillet::ITEMS>(quillet::ITEMS_Def(), {line(2, 1, "1.00"), line(2, 2, "2.00"), line(2, 3, "3.00")});
  ASSERT_EQ(linesOf(2), 3);
  ASSERT_TRUE(p.focus(kInsertTitle, ac::CAB_FECHA));  // the header now differs from the primed one
  p.queueAnswer(rt::BUTTON_YES);
  ASSERT_TRUE(p.click(kInsertTitle, ac::CANCEL));
  EXPECT_FALSE(p.hasWindow(kInsertTitle)) << p.dump();
  auto hs = readAll<quillet::CABECERA>(quillet::CABECERA_Def());
  EXPECT_FALSE(findHeader(hs, 2).has_value());
  EXPECT_EQ(linesOf(2), 0);
  EXPECT_EQ(linesOf(1), 1);  // another header's lines are untouched
  ASSERT_FALSE(p.messages().empty());
  EXPECT_EQ(column(p.listRows(kBrowse, bc::BROWSE_1), 0), (std::vector<std::string>{"1"}));
}

TEST_F(Cabecera, ChangeShowsTheSumOfTheLinesAndACancelKeepsTheStoredTotal) {
  ASSERT_TRUE(p.waitIdle());
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1, 0, "9.99"), header(2, 0, "0")});
  addAll<quillet::ITEMS>(quillet::ITEMS_Def(), {line(1, 1, "0.10"), line(1, 2, "0.20"), line(2, 1, "7.00")});
  ASSERT_TRUE(openBrowse());
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  ASSERT_TRUE(p.hasWindow(kChangeTitle)) << p.dump();
  EXPECT_EQ(shown(p, kChangeTitle, ac::CAB_TOTAL), "0.30");
  // Only header 1's lines, by line number.
  auto lines = p.listRows(kChangeTitle, ac::LIST);
  EXPECT_EQ(column(lines, 0), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(column(lines, 5), (std::vector<std::string>{"0.10", "0.20"}));
  // The recomputed total differs from the stored one: cancelling asks first.
  const std::size_t before = p.messages().size();
  p.queueAnswer(rt::BUTTON_YES);
  ASSERT_TRUE(p.click(kChangeTitle, ac::CANCEL));
  EXPECT_FALSE(p.hasWindow(kChangeTitle));
  EXPECT_EQ(p.messages().size(), before + 1);
  EXPECT_EQ(findHeader(readAll<quillet::CABECERA>(quillet::CABECERA_Def()), 1)->TOTAL.value(), dec("9.99"));
  EXPECT_EQ(column(p.listRows(kBrowse, bc::BROWSE_1), 2)[0], "9.99");
  // Reopened, it shows the sum at once; accepting stores it.
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  EXPECT_EQ(shown(p, kChangeTitle, ac::CAB_TOTAL), "0.30");
  ASSERT_TRUE(p.click(kChangeTitle, ac::OK));
  EXPECT_FALSE(p.hasWindow(kChangeTitle)) << p.dump();
  EXPECT_EQ(findHeader(readAll<quillet::CABECERA>(quillet::CABECERA_Def()), 1)->TOTAL.value(), dec("0.30"));
  EXPECT_EQ(column(p.listRows(kBrowse, bc::BROWSE_1), 2)[0], "0.30");
}

TEST_F(Cabecera, DeleteAsksAndRemovesTheHeaderWithItsLines) {
  ASSERT_TRUE(p.waitIdle());
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1, 0, "3.00"), header(2, 0, "1.00")});
  addAll<quillet::ITEMS>(quillet::ITEMS_Def(), {line(1, 1, "1.00"), line(1, 2, "2.00"), line(2, 1, "1.00")});
  ASSERT_TRUE(openBrowse());
  struct Case {
    int answer;
    bool gone;
  };
  for (const Case c : {Case{rt::BUTTON_NO, false}, Case{rt::BUTTON_YES, true}}) {
    SCOPED_TRACE(c.answer);
    const std::size_t before = p.messages().size();
    p.queueAnswer(c.answer);
    ASSERT_TRUE(p.click(kBrowse, bc::DELETE_3));
    EXPECT_EQ(p.messages().size(), before + 1);
    EXPECT_EQ(!findHeader(readAll<quillet::CABECERA>(quillet::CABECERA_Def()), 1).has_value(), c.gone);
    EXPECT_EQ(linesOf(1), c.gone ? 0 : 2);
    EXPECT_EQ(linesOf(2), 1);
  }
  EXPECT_EQ(column(p.listRows(kBrowse, bc::BROWSE_1), 0), (std::vector<std::string>{"2"}));
}

TEST_F(Cabecera, AHeaderWhoseLinesSumPastTheLimitCannotBeAccepted) {
  ASSERT_TRUE(p.waitIdle());
  addAll<quillet::CABECERA>(quillet::CABECERA_Def(), {header(1, 0, "12.00")});
  addAll<quillet::ITEMS>(quillet::ITEMS_Def(), {line(1, 1, "60000.00"), line(1, 2, "50000.00")});
  ASSERT_TRUE(openBrowse());
  ASSERT_TRUE(p.click(kBrowse, bc::CHANGE_3));
  ASSERT_TRUE(p.hasWindow(kChangeTitle)) << p.dump();
  // Never shown or stored as another number.
  EXPECT_EQ(shown(p, kChangeTitle, ac::CAB_TOTAL), "12.00");
  const std::size_t before = p.messages().size();
  ASSERT_TRUE(p.click(kChangeTitle, ac::OK));
  EXPECT_TRUE(p.hasWindow(kChangeTitle)) << "the form must stay open";
  auto ms = p.messages();
  ASSERT_EQ(ms.size(), before + 1);
  EXPECT_EQ(ms.back().caption, ac::kTotalTooLargeCaption);
  EXPECT_NE(ms.back().text.find("99.999,99"), std::string::npos);
  EXPECT_EQ(findHeader(readAll<quillet::CABECERA>(quillet::CABECERA_Def()), 1)->TOTAL.value(), dec("12.00"));
}

TEST_F(Cabecera, TwoBrowsesOnTwoThreadsSeeEachOthersHeadersOnReload) {
  ASSERT_TRUE(openBrowse());
  ASSERT_TRUE(p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}));
  std::vector<rt::WindowView> browses;
  for (const auto& v : p.windows())
    if (v.title == kBrowse) browses.push_back(v);
  ASSERT_EQ(browses.size(), 2u);
  EXPECT_NE(browses[0].thread, browses[1].thread);
  // A header added in the first is listed by the second once it reloads (its tab reset).
  ASSERT_TRUE(p.click(browses[0].id, bc::INSERT_3));
  ASSERT_TRUE(p.click(kInsertTitle, ac::OK));
  EXPECT_EQ(column(p.listRows(browses[0].id, bc::BROWSE_1), 0), (std::vector<std::string>{"1"}));
  ASSERT_TRUE(p.chooseTab(browses[1].id, bc::CURRENTTAB, bc::TAB_3));
  ASSERT_TRUE(p.chooseTab(browses[1].id, bc::CURRENTTAB, bc::TAB_2));
  EXPECT_EQ(column(p.listRows(browses[1].id, bc::BROWSE_1), 0), (std::vector<std::string>{"1"}));
}

// FillLine: the article's description and price, the total rounded half away from zero; a total
// that does not fit is refused and the row's old total kept.
TEST(FillLine, TotalsAndOverflow) {
  struct Case {
    const char* qty;
    const char* price;
    quillet::FillResult result;
    const char* total;  // the row's total afterwards (old total 1.11)
  };
  const Case cases[] = {
      {"2", "10.50", quillet::FillResult::Ok, "21.00"},
      {"0.05", "1.25", quillet::FillResult::Ok, "0.06"},
      {"0.50", "0.05", quillet::FillResult::Ok, "0.03"},
      {"-1", "10.00", quillet::FillResult::Ok, "-10.00"},
      {"0", "10.00", quillet::FillResult::Ok, "0.00"},
      {"9999.99", "10.00", quillet::FillResult::Ok, "99999.90"},
      {"1000", "100.00", quillet::FillResult::TotalTooLarge, "1.11"},
      {"-1000", "100.00", quillet::FillResult::TotalTooLarge, "1.11"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.qty) + " x " + c.price);
    quillet::LinesQueueRecord row{};
    ASSERT_EQ(row.ITE_CANTIDAD.assign(dec(c.qty)), rt::DecimalStatus::Ok);
    ASSERT_EQ(row.ITE_TOTAL.assign(dec("1.11")), rt::DecimalStatus::Ok);
    quillet::ARTICULO art{};
    std::memcpy(art.DESCRIPCION, "Tornillo                      ", 30);
    ASSERT_EQ(art.IMPORTE.assign(dec(c.price)), rt::DecimalStatus::Ok);
    EXPECT_EQ(quillet::FillLine(row, art), c.result);
    EXPECT_EQ(std::string(row.ITE_DESCRIPCION, 30), std::string(art.DESCRIPCION, 30));
    EXPECT_EQ(row.ITE_UNITARIO.value(), dec(c.price));
    EXPECT_EQ(row.ITE_TOTAL.value(), dec(c.total));
  }
}

TEST(SumLineTotals, ExactSumsAndTheLimit) {
  struct Case {
    std::vector<const char*> totals;
    const char* sum;  // nullptr: does not fit
  };
  const Case cases[] = {
      {{}, "0"},
      {{"0.10", "0.20"}, "0.30"},
      {{"99999.99"}, "99999.99"},
      {{"99999.99", "0.01"}, nullptr},
      {{"-99999.99", "-0.01"}, nullptr},
      {{"60000.00", "50000.00", "-20000.00"}, "90000.00"},
  };
  for (const Case& c : cases) {
    std::vector<rt::Decimal> ts;
    for (const char* t : c.totals) ts.push_back(dec(t));
    auto s = quillet::SumLineTotals(ts);
    if (c.sum == nullptr) {
      EXPECT_FALSE(s.has_value());
    } else {
      ASSERT_TRUE(s.has_value());
      EXPECT_EQ(*s, dec(c.sum));
    }
  }
}

}  // namespace
