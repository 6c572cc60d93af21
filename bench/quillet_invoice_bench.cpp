// Quillet's invoice form over a header with 2,000 lines (and, for comparison, with 1 line), driven through the scripted front end as a
// user drives it. The tables are loaded through the record store directly, in one transaction,
// before the program starts its header browse. Each figure covers the whole round trip of one user
// action, down to the program being idle again.
//
//   OpenForm   "&Cambiar" on the header: the form opens, lists the first page of lines and sums
//              all 2,000 line totals into the header total; then "&Cancelar" (the stored total
//              equals the sum, so nothing is asked)
//   SaveLine   in the open form: "&Cambia" on the first line, a new quantity typed, Down (the
//              line is saved and editing goes on with the second line, when there is one), Esc
//              (editing ends): the list reloads and the header total is summed again over every
//              line
//
// Argument and counter: lines, the header's line count.
//
// Run: quillet_invoice_bench [--benchmark_filter=...].
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "quillet/app/startup.h"
#include "quillet/tables/articulo.h"
#include "quillet/tables/cabecera.h"
#include "quillet/tables/items.h"
#include "quillet/windows/actualiza_cabecera.h"
#include "quillet/windows/browse_cabecera.h"
#include "runtime/vocabulary.h"
#include "store/file.h"
#include "store/transaction.h"
#include "ui/scripted/program_driver.h"

namespace {

namespace bc = quillet::browse_cabecera;
namespace ac = quillet::actualiza_cabecera;

constexpr const char* kFrame = "Demostración de Quillet Optimisado";
constexpr const char* kBrowse = "Recorrer la tabla Cabecera";
constexpr const char* kChangeTitle = "El registro será cambiado";

// Header 1 with `lines` lines of quantity 1 and price 0.25, its stored total their sum.
bool seed(int lines) {
  quillet::ARTICULO art{};
  quillet::ITEMS ite{};
  quillet::CABECERA cab{};
  store::File a(quillet::ARTICULO_Def(), &art), i(quillet::ITEMS_Def(), &ite), c(quillet::CABECERA_Def(), &cab);
  if (!a.open().ok() || !i.open().ok() || !c.open().ok()) return false;
  std::unique_ptr<store::Transaction> t;
  if (!store::Transaction::begin({&a, &i, &c}, std::chrono::seconds(30), t).ok()) return false;
  art.IDARTICULO = 1;
  std::memset(art.DESCRIPCION, ' ', sizeof art.DESCRIPCION);
  std::memcpy(art.DESCRIPCION, "Tornillo", 8);
  (void)art.IMPORTE.assign(*rt::Decimal::parse("0.25"));
  if (!a.add().ok()) return false;
  for (int n = 1; n <= lines; ++n) {
    ite = {};
    ite.IDCABECERA = 1;
    ite.NORDEN = static_cast<std::uint16_t>(n);
    (void)ite.CANTIDAD.assign(rt::Decimal::fromInt(1));
    ite.IDARTICULO = 1;
    std::memcpy(ite.DESCRIPCION, art.DESCRIPCION, sizeof ite.DESCRIPCION);
    ite.UNITARIO = art.IMPORTE;
    ite.TOTAL = art.IMPORTE;
    if (!i.add().ok()) return false;
  }
  cab.IDCABECERA = 1;
  cab.FECHA = 80000;
  (void)cab.TOTAL.assign(*rt::Decimal::parse("0.25") * rt::Decimal::fromInt(lines));
  if (!c.add().ok()) return false;
  if (!t->commit().ok()) return false;
  a.close();
  i.close();
  c.close();
  return true;
}

struct Session {
  scripted::Program p{quillet::QuilletProgram()};
  bool ok = false;
  explicit Session(int lines) {
    ok = p.waitIdle() && seed(lines) && p.chooseMenu(kFrame, {"&Tablas", "Cabecera"}) && p.hasWindow(kBrowse);
  }
};

void OpenForm(benchmark::State& state) {
  Session s(static_cast<int>(state.range(0)));
  if (!s.ok) {
    state.SkipWithError("set-up failed");
    return;
  }
  for (auto _ : state) {
    if (!s.p.click(kBrowse, bc::CHANGE_3) || !s.p.hasWindow(kChangeTitle) ||
        !s.p.click(kChangeTitle, ac::CANCEL) || s.p.hasWindow(kChangeTitle)) {
      state.SkipWithError("open and cancel failed");
      return;
    }
  }
  state.counters["lines"] = static_cast<double>(state.range(0));
}

void SaveLine(benchmark::State& state) {
  Session s(static_cast<int>(state.range(0)));
  if (!s.ok || !s.p.click(kBrowse, bc::CHANGE_3) || !s.p.hasWindow(kChangeTitle)) {
    state.SkipWithError("set-up failed");
    return;
  }
  int qty = 1;
  for (auto _ : state) {
    qty = qty == 1 ? 2 : 1;
    bool ok = s.p.clickCell(kChangeTitle, ac::LIST, 1, 2) && s.p.click(kChangeTitle, ac::CHANGE);
    const int e = ok ? s.p.cellEditor(kChangeTitle, ac::LIST) : 0;
    ok = e != 0 && s.p.typeText(kChangeTitle, e, std::to_string(qty)) && s.p.pressKey(kChangeTitle, e, rt::DownKey);
    // Editing goes on with the next line when there is one: Esc ends it there.
    const int e2 = ok ? s.p.cellEditor(kChangeTitle, ac::LIST) : 0;
    if (ok && e2 != 0) ok = s.p.pressKey(kChangeTitle, e2, rt::EscKey);
    ok = ok && s.p.cellEditor(kChangeTitle, ac::LIST) == 0;
    if (!ok) {
      state.SkipWithError("line edit failed");
      return;
    }
  }
  state.counters["lines"] = static_cast<double>(state.range(0));
}

BENCHMARK(OpenForm)->Arg(1)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SaveLine)->Arg(1)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
