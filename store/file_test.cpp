// Tests of one thread's use of table files: creation, keys and their orders, reading in key
// order, positions, auto-numbering, writes, OEM text, and files that are not what they claim.
#include "store/file.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>

#include "runtime/codepage.h"
#include "store/check.h"
#include "store/test_support.h"

using namespace store;
using namespace store_test;

// The record buffers have exactly the programs' layouts.
static_assert(sizeof(Articulo) == 36 && offsetof(Articulo, DESCRIPCION) == 2 && offsetof(Articulo, IMPORTE) == 32);
static_assert(sizeof(Items) == 48 && offsetof(Items, NORDEN) == 2 && offsetof(Items, CANTIDAD) == 4 &&
              offsetof(Items, IDARTICULO) == 8 && offsetof(Items, DESCRIPCION) == 10 &&
              offsetof(Items, UNITARIO) == 40 && offsetof(Items, TOTAL) == 44);
static_assert(sizeof(Cabecera) == 10 && offsetof(Cabecera, FECHA) == 2 && offsetof(Cabecera, TOTAL) == 6);
static_assert(sizeof(Marcas) == 22);
static_assert(sizeof(Productos) == 112 && offsetof(Productos, ENAVASES) == 4 && offsetof(Productos, DESCRPCION) == 25 &&
              offsetof(Productos, MARCA) == 75 && offsetof(Productos, PECIO_UNITARIOS) == 100 &&
              offsetof(Productos, EXISTENCIA) == 104 && offsetof(Productos, REODEN) == 108);

namespace {

Articulo articulo(std::uint16_t id, std::string_view descripcion, const char* importe = "0") {
  Articulo a = blank<Articulo>();
  a.IDARTICULO = id;
  rt::setFixed(a.DESCRIPCION, descripcion);
  EXPECT_EQ(a.IMPORTE.assign(dec(importe)), rt::DecimalStatus::Ok);
  return a;
}

// Adds records through `f`, whose buffer is `buf`.
template <class T>
void addAll(File& f, T& buf, const std::vector<T>& records) {
  for (const T& r : records) {
    buf = r;
    Status s = f.add();
    ASSERT_TRUE(s.ok()) << s.text;
  }
}

// Reads a whole key order forward with next() and returns f(record) of each record.
template <class T, class Fn>
auto readOrder(File& f, T& buf, int key, Fn fn) {
  std::vector<decltype(fn(buf))> out;
  EXPECT_TRUE(f.set(key).ok());
  Status s;
  while ((s = f.next()).ok()) out.push_back(fn(buf));
  EXPECT_EQ(s.code, RecordNotAvailable);
  return out;
}

std::string desc(const Articulo& a) { return std::string(rt::clipped(a.DESCRIPCION)); }

}  // namespace

TEST(StoreTableDef, FileNameIsTheLabelsFirstEightCharacters) {
  struct Case {
    const char* label;
    const char* file;
  } cases[] = {{"ARTICULO", "ARTICULO.TPS"}, {"PRODUCTOS", "PRODUCTO.TPS"}, {"MARCAS", "MARCAS.TPS"}, {"ITEMS", "ITEMS.TPS"}};
  for (const Case& c : cases) {
    TableDef d;
    d.label = c.label;
    EXPECT_EQ(d.fileName(), c.file);
  }
}

TEST(StoreTableDef, UnsoundDeclarationsAreRefusedAtOpen) {
  TempDir dir;
  struct Case {
    const char* what;
    std::function<void(TableDef&)> spoil;
  } cases[] = {
      {"field outside the record", [](TableDef& d) { d.fields[2].offset = 34; }},
      {"USHORT of three bytes", [](TableDef& d) { d.fields[0].size = 3; }},
      {"key on a missing field", [](TableDef& d) { d.keys[1].fields = {7}; }},
      {"two fields of one name", [](TableDef& d) { d.fields[1].name = "IDARTICULO"; }},
      {"duplicates in a primary key", [](TableDef& d) { d.keys[0].dup = true; }},
  };
  for (const Case& c : cases) {
    TableDef d = articuloDef();
    c.spoil(d);
    Articulo buf{};
    File f(d, &buf);
    EXPECT_EQ(f.open().code, InvalidDeclaration) << c.what;
    EXPECT_FALSE(dir.exists("ARTICULO.TPS")) << c.what;
  }
}

TEST(StoreFile, FilesAreCreatedOnFirstOpenOnly) {
  TempDir dir;
  Productos p{};
  File productos(productosDef(), &p);
  EXPECT_EQ(productos.name(), "PRODUCTO.TPS");
  EXPECT_FALSE(dir.exists("PRODUCTO.TPS"));
  ASSERT_TRUE(productos.open().ok());
  EXPECT_TRUE(dir.exists("PRODUCTO.TPS"));
  EXPECT_FALSE(dir.exists("PRODUCTOS.TPS"));
  EXPECT_EQ(productos.records(), 0);

  // Without CREATE a missing file is an error and nothing is created.
  TableDef no_create = articuloDef();
  no_create.create = false;
  Articulo a{};
  File articulos(no_create, &a);
  Status s = articulos.open();
  EXPECT_EQ(s.code, FileNotFound);
  EXPECT_EQ(s.text.rfind("File not found", 0), 0u) << s.text;
  EXPECT_FALSE(dir.exists("ARTICULO.TPS"));
  // create() makes it; then the open succeeds and finds it empty.
  ASSERT_TRUE(articulos.create().ok());
  EXPECT_TRUE(dir.exists("ARTICULO.TPS"));
  ASSERT_TRUE(articulos.open().ok());
  EXPECT_EQ(articulos.records(), 0);
}

TEST(StoreFile, OperationsReportTheirErrors) {
  TempDir dir;
  Articulo a{};
  File f(articuloDef(), &a);
  struct Case {
    const char* what;
    std::function<Status()> op;
    int code;
  };
  const Case closed[] = {
      {"next before open", [&] { return f.next(); }, FileNotOpen},
      {"add before open", [&] { return f.add(); }, FileNotOpen},
      {"fetch before open", [&] { return f.fetch(0); }, FileNotOpen},
      {"close before open", [&] { return f.close(); }, FileNotOpen},
  };
  for (const Case& c : closed) EXPECT_EQ(c.op().code, c.code) << c.what;
  ASSERT_TRUE(f.open().ok());
  const Case opened[] = {
      {"second open", [&] { return f.open(); }, FileAlreadyOpen},
      {"next without a key order", [&] { return f.next(); }, RecordNotAvailable},
      {"put without a current record", [&] { return f.put(); }, RecordNotAvailable},
      {"erase without a current record", [&] { return f.erase(); }, RecordNotAvailable},
      {"set on a key that does not exist", [&] { return f.set(2); }, InvalidKey},
      {"fetch on a negative key", [&] { return f.fetch(-1); }, InvalidKey},
      {"reget of garbage", [&] { return f.reget("not a position"); }, InvalidKey},
      {"reset to an empty position", [&] { return f.resetTo(0, ""); }, InvalidKey},
      {"highest with too many leading components", [&] { return f.highest(0, 2, &a); }, InvalidKey},
      {"fetch of a missing record", [&] { a = articulo(9, "x"); return f.fetch(0); }, RecordNotFound},
      {"highest of an empty table", [&] { return f.highest(0, 0, &a); }, RecordNotFound},
      {"next in an empty table", [&] { f.set(0); return f.next(); }, RecordNotAvailable},
      {"driver option", [&] { return f.setDriverOption("Recover=10"); }, NoError},
  };
  for (const Case& c : opened) {
    Status s = c.op();
    EXPECT_EQ(s.code, c.code) << c.what << ": " << s.text;
    if (c.code != NoError) {
      EXPECT_FALSE(s.text.empty()) << c.what;
    }
  }
}

TEST(StoreFile, AutoNumberingIsHighestPlusOne) {
  TempDir dir;
  Articulo a{}, high{};
  File f(articuloDef(), &a);
  ASSERT_TRUE(f.open().ok());
  auto nextNumber = [&]() -> int {
    Status s = f.highest(0, 0, &high);
    if (s.code == RecordNotFound) return 1;
    EXPECT_TRUE(s.ok()) << s.text;
    return high.IDARTICULO + 1;
  };
  auto addNew = [&](const char* d) {
    a = articulo(static_cast<std::uint16_t>(nextNumber()), d);
    EXPECT_TRUE(f.add().ok());
    return a.IDARTICULO;
  };
  EXPECT_EQ(addNew("primero"), 1);
  EXPECT_EQ(addNew("segundo"), 2);
  EXPECT_EQ(addNew("tercero"), 3);
  // Deleting the highest gives its number out again.
  a.IDARTICULO = 3;
  ASSERT_TRUE(f.fetch(0).ok());
  ASSERT_TRUE(f.erase().ok());
  EXPECT_EQ(addNew("otro tercero"), 3);
  // highest() leaves the buffer and the current record alone.
  a = articulo(2, "");
  ASSERT_TRUE(f.fetch(0).ok());
  ASSERT_TRUE(f.highest(0, 0, &high).ok());
  EXPECT_EQ(high.IDARTICULO, 3);
  EXPECT_EQ(desc(a), "segundo");
  a = articulo(2, "segundo cambiado");
  ASSERT_TRUE(f.put().ok());
  a.IDARTICULO = 2;
  ASSERT_TRUE(f.fetch(0).ok());
  EXPECT_EQ(desc(a), "segundo cambiado");
}

TEST(StoreFile, LineNumbersAreCountedWithinTheirHeader) {
  TempDir dir;
  Items it{}, high{};
  File items(itemsDef(), &it);
  ASSERT_TRUE(items.open().ok());
  // Header numbers around byte boundaries and at the top of the range, where the upper bound of
  // the leading component cannot be formed by incrementing it.
  const std::uint16_t headers[] = {1, 2, 255, 256, 65535};
  for (std::uint16_t h : headers) {
    for (int line = 0; line < h % 4 + 1; ++line) {
      it = blank<Items>();
      it.IDCABECERA = h;
      Status s = items.highest(0, 1, &high);
      if (s.code == RecordNotFound) {
        it.NORDEN = 1;
      } else {
        ASSERT_TRUE(s.ok()) << s.text;
        ASSERT_EQ(high.IDCABECERA, h);
        it.NORDEN = static_cast<std::uint16_t>(high.NORDEN + 1);
      }
      ASSERT_TRUE(items.add().ok());
    }
  }
  for (std::uint16_t h : headers) {
    it = blank<Items>();
    it.IDCABECERA = h;
    ASSERT_TRUE(items.highest(0, 1, &high).ok()) << h;
    EXPECT_EQ(high.IDCABECERA, h);
    EXPECT_EQ(high.NORDEN, h % 4 + 1) << h;
  }
  it.IDCABECERA = 3;
  EXPECT_EQ(items.highest(0, 1, &high).code, RecordNotFound);
  ASSERT_TRUE(items.highest(0, 0, &high).ok());
  EXPECT_EQ(high.IDCABECERA, 65535);
}

TEST(StoreFile, CompositeKeysOrderByEveryComponent) {
  TempDir dir;
  Items it{};
  File items(itemsDef(), &it);
  ASSERT_TRUE(items.open().ok());
  std::vector<std::pair<int, int>> added = {{256, 1}, {1, 2}, {2, 1}, {1, 256}, {1, 1}, {255, 7}};
  for (auto [h, n] : added) {
    it = blank<Items>();
    it.IDCABECERA = static_cast<std::uint16_t>(h);
    it.NORDEN = static_cast<std::uint16_t>(n);
    ASSERT_TRUE(items.add().ok());
  }
  auto order = readOrder(items, it, 0, [](const Items& r) { return std::make_pair(int(r.IDCABECERA), int(r.NORDEN)); });
  std::vector<std::pair<int, int>> expected = {{1, 1}, {1, 2}, {1, 256}, {2, 1}, {255, 7}, {256, 1}};
  EXPECT_EQ(order, expected);
  // The same pair twice is refused by the unique key, which the error names.
  it.IDCABECERA = 2;
  it.NORDEN = 1;
  Status s = items.add();
  EXPECT_EQ(s.code, DuplicateKey);
  EXPECT_EQ(s.key, 0);
  EXPECT_NE(s.text.find("POR_IDCABECERAYNORDEN"), std::string::npos) << s.text;
}

TEST(StoreFile, OptLeavesBlankKeysOutAndDupKeepsTheOrderOfAdding) {
  TempDir dir;
  Articulo a{};
  File f(articuloDef(), &a);
  ASSERT_TRUE(f.open().ok());
  addAll(f, a,
         {articulo(5, "Tornillo"), articulo(1, ""), articulo(3, "arandela"), articulo(2, "TORNILLO"),
          articulo(4, "Arandela"), articulo(7, "tornillo"), articulo(6, "   ")});
  // Description order: case-insensitive, equal descriptions in the order they were added, blank
  // descriptions left out.
  auto byDesc = readOrder(f, a, 1, [](const Articulo& r) { return int(r.IDARTICULO); });
  EXPECT_EQ(byDesc, (std::vector<int>{3, 4, 5, 2, 7}));
  // Reading backwards gives the same order reversed, ties included.
  ASSERT_TRUE(f.setAfter(1).ok());
  std::vector<int> back;
  while (f.previous().ok()) back.push_back(a.IDARTICULO);
  EXPECT_EQ(back, (std::vector<int>{7, 2, 5, 4, 3}));
  // An article numbered 0 is not in the number order (OPT), but it is in the file.
  addAll(f, a, {articulo(0, "sin numero")});
  auto byId = readOrder(f, a, 0, [](const Articulo& r) { return int(r.IDARTICULO); });
  EXPECT_EQ(byId, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(f.records(), 8);
  // A second article 0 does not collide with the first in the unique key either.
  addAll(f, a, {articulo(0, "otro sin numero")});
  // A blank value cannot be fetched through an OPT key.
  a = articulo(1, "");
  EXPECT_EQ(f.fetch(1).code, RecordNotFound);
  // A DUP key fetch returns the first one added.
  a = articulo(0, "TORNILLO");
  ASSERT_TRUE(f.fetch(1).ok());
  EXPECT_EQ(a.IDARTICULO, 5);
}

TEST(StoreFile, SignedNumbersOrderBelowZeroAndZeroDatesAreLeftOut) {
  TempDir dir;
  Cabecera c{};
  File f(cabeceraDef(), &c);
  ASSERT_TRUE(f.open().ok());
  const std::int32_t dates[] = {3, 0, -5, 70000, -100000, 0, 2147483647, -2147483647 - 1};
  std::uint16_t id = 1;
  for (std::int32_t d : dates) {
    c = blank<Cabecera>();
    c.IDCABECERA = id++;
    c.FECHA = d;
    ASSERT_TRUE(f.add().ok());
  }
  auto order = readOrder(f, c, 1, [](const Cabecera& r) { return r.FECHA; });
  EXPECT_EQ(order, (std::vector<std::int32_t>{-2147483647 - 1, -100000, -5, 3, 70000, 2147483647}));
}

TEST(StoreFile, NocaseUniqueKeyRefusesABrandThatDiffersOnlyInCase) {
  TempDir dir;
  Marcas m{};
  File f(marcasDef(), &m);
  ASSERT_TRUE(f.open().ok());
  rt::setFixed(m.MARCAS, "\xD1" "AND\xDA");  // "ÑANDÚ" in Windows-1252
  ASSERT_TRUE(f.add().ok());
  struct Case {
    const char* what;
    const char* brand;
  } cases[] = {{"all lower case", "\xF1" "and\xFA"}, {"mixed", "\xD1" "and\xFA"}, {"same", "\xD1" "AND\xDA"}};
  for (const Case& c : cases) {
    rt::setFixed(m.MARCAS, c.brand);
    Status s = f.add();
    EXPECT_EQ(s.code, DuplicateKey) << c.what;
    EXPECT_NE(s.text.find("MarcaKey"), std::string::npos) << s.text;
    // and the lower-case spelling finds the stored brand
    rt::setFixed(m.MARCAS, c.brand);
    ASSERT_TRUE(f.fetch(0).ok()) << c.what;
    EXPECT_EQ(rt::clipped(m.MARCAS), "\xD1" "AND\xDA");
  }
  rt::setFixed(m.MARCAS, "\xD1" "ANDU");  // without the accent it is another brand
  EXPECT_TRUE(f.add().ok());
  EXPECT_EQ(f.records(), 2);
}

TEST(StoreFile, OemTablesKeepTheirTextInCodePage850) {
  TempDir dir;
  const std::string brand = "Pe\xF1" "a Camar\xF3n \xC1lvarez";  // "Peña Camarón Álvarez"
  {
    Marcas m{};
    File marcas(marcasDef(), &m);
    ASSERT_TRUE(marcas.open().ok());
    rt::setFixed(m.MARCAS, brand);
    ASSERT_TRUE(marcas.add().ok());
    Productos p{};
    File productos(productosDef(), &p);
    ASSERT_TRUE(productos.open().ok());
    p.IDPRODUCTO = 1;
    rt::setFixed(p.MARCA, brand);
    rt::setFixed(p.DESCRPCION, brand);
    ASSERT_TRUE(productos.add().ok());

    // Both read back exactly as written.
    m = blank<Marcas>();
    ASSERT_TRUE(marcas.set(0).ok());
    ASSERT_TRUE(marcas.next().ok());
    EXPECT_EQ(rt::clipped(m.MARCAS), brand);
    p = blank<Productos>();
    p.IDPRODUCTO = 1;
    ASSERT_TRUE(productos.fetch(0).ok());
    EXPECT_EQ(rt::clipped(p.MARCA), brand);
  }
  // In the files: code page 850 for the OEM table, the text as given for the other.
  auto storedBytes = [&](const char* file, int offset, int size) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(dir.file(file).c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, "SELECT data FROM records", -1, &st, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_step(st), SQLITE_ROW);
    std::string bytes(static_cast<const char*>(sqlite3_column_blob(st, 0)) + offset, size);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return bytes;
  };
  std::string padded = brand + std::string(22 - brand.size(), ' ');
  EXPECT_EQ(storedBytes("MARCAS.TPS", 0, 22), rt::cp1252ToCp850(padded));
  EXPECT_NE(storedBytes("MARCAS.TPS", 0, 22), padded);
  EXPECT_EQ(storedBytes("PRODUCTO.TPS", 75, 22), padded);
}

TEST(StoreFile, ReadingInKeyOrderFromAValueAndBothWays) {
  TempDir dir;
  Articulo a{};
  File f(articuloDef(), &a);
  ASSERT_TRUE(f.open().ok());
  for (std::uint16_t i = 1; i <= 9; ++i) addAll(f, a, {articulo(static_cast<std::uint16_t>(i * 10), "x")});
  struct Case {
    std::uint16_t from;
    bool forward;
    std::vector<int> expected;  // the first records read
  } cases[] = {
      {50, true, {50, 60, 70}},   // at the value
      {55, true, {60, 70, 80}},   // after a value that is missing
      {0, true, {10, 20, 30}},    // a blank value starts at the first record
      {91, true, {}},             // past the end
      {50, false, {40, 30, 20}},  // previous() reads what is before the value
      {5, false, {}},
  };
  for (const Case& c : cases) {
    Articulo from = articulo(c.from, "");
    ASSERT_TRUE(f.set(0, &from).ok());
    std::vector<int> got;
    while (got.size() < c.expected.size() + 1 && (c.forward ? f.next() : f.previous()).ok()) got.push_back(a.IDARTICULO);
    got.resize(std::min(got.size(), c.expected.size()));
    EXPECT_EQ(got, c.expected) << c.from << (c.forward ? " forward" : " backward");
  }
  // Changing direction reads the neighbours of the current record.
  ASSERT_TRUE(f.set(0).ok());
  ASSERT_TRUE(f.next().ok());
  ASSERT_TRUE(f.next().ok());
  ASSERT_TRUE(f.next().ok());
  EXPECT_EQ(a.IDARTICULO, 30);
  ASSERT_TRUE(f.previous().ok());
  EXPECT_EQ(a.IDARTICULO, 20);
  ASSERT_TRUE(f.previous().ok());
  EXPECT_EQ(a.IDARTICULO, 10);
  EXPECT_EQ(f.previous().code, RecordNotAvailable);
  ASSERT_TRUE(f.set(0).ok());
  EXPECT_EQ(f.previous().code, RecordNotAvailable);
  ASSERT_TRUE(f.setAfter(0).ok());
  EXPECT_EQ(f.next().code, RecordNotAvailable);
}

TEST(StoreFile, PositionsFindTheirRecordAgain) {
  TempDir dir;
  Articulo a{};
  File f(articuloDef(), &a);
  ASSERT_TRUE(f.open().ok());
  // Equal descriptions, so positions in the DUP order must tell the records apart.
  addAll(f, a, {articulo(1, "igual"), articulo(2, "igual"), articulo(3, "igual"), articulo(4, "otro")});
  EXPECT_EQ(f.position().size() <= 1024, true);
  std::vector<std::string> pos;
  ASSERT_TRUE(f.set(1).ok());
  while (f.next().ok()) pos.push_back(f.position());
  ASSERT_EQ(pos.size(), 4u);

  ASSERT_TRUE(f.reget(pos[1]).ok());
  EXPECT_EQ(a.IDARTICULO, 2);
  for (int key : {0, 1}) {
    ASSERT_TRUE(f.resetTo(key, pos[1]).ok());
    ASSERT_TRUE(f.next().ok());
    EXPECT_EQ(a.IDARTICULO, 2) << key;
    ASSERT_TRUE(f.resetTo(key, pos[1]).ok());
    ASSERT_TRUE(f.previous().ok());
    EXPECT_EQ(a.IDARTICULO, 1) << key;
  }
  // A deleted record's position still places the reading between its neighbours.
  ASSERT_TRUE(f.reget(pos[1]).ok());
  ASSERT_TRUE(f.erase().ok());
  EXPECT_EQ(f.reget(pos[1]).code, RecordNotFound);
  ASSERT_TRUE(f.resetTo(1, pos[1]).ok());
  ASSERT_TRUE(f.next().ok());
  EXPECT_EQ(a.IDARTICULO, 3);
  // A record that is not in an OPT key's order cannot be positioned in it.
  addAll(f, a, {articulo(9, "")});
  EXPECT_EQ(f.resetTo(1, f.position()).code, RecordNotFound);
  // A position of another table is refused.
  Items it{};
  File items(itemsDef(), &it);
  ASSERT_TRUE(items.open().ok());
  it.IDCABECERA = 1;
  ASSERT_TRUE(items.add().ok());
  EXPECT_EQ(f.resetTo(0, items.position()).code, InvalidKey);
}

TEST(StoreFile, PageReadsMatchRecordByRecordReads) {
  TempDir dir;
  Articulo a{};
  File f(articuloDef(), &a);
  ASSERT_TRUE(f.open().ok());
  for (int i = 1; i <= 50; ++i)
    addAll(f, a, {articulo(static_cast<std::uint16_t>(i), std::string(1, static_cast<char>('a' + i % 7)))});
  for (int key : {0, 1}) {
    for (bool forward : {true, false}) {
      std::vector<std::string> one_by_one;
      forward ? f.set(key) : f.setAfter(key);
      for (int i = 0; i < 20 && (forward ? f.next() : f.previous()).ok(); ++i)
        one_by_one.emplace_back(reinterpret_cast<const char*>(&a), sizeof a);
      std::vector<PageRow> page;
      forward ? f.set(key) : f.setAfter(key);
      ASSERT_TRUE(f.readPage(20, forward, page).ok());
      ASSERT_EQ(page.size(), one_by_one.size());
      for (size_t i = 0; i < page.size(); ++i) EXPECT_EQ(page[i].record, one_by_one[i]) << key << forward << i;
      // The next page goes on where the first ended, and the buffer holds the last row read.
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(&a), sizeof a), page.back().record);
      std::vector<PageRow> rest;
      ASSERT_TRUE(f.readPage(100, forward, rest).ok());
      EXPECT_EQ(rest.size(), 30u);
      ASSERT_TRUE(f.readPage(5, forward, rest).ok());
      EXPECT_TRUE(rest.empty());
      // A page read from a position starts at that record.
      ASSERT_TRUE(f.resetTo(key, page[7].position).ok());
      ASSERT_TRUE(f.readPage(3, true, rest).ok());
      ASSERT_EQ(rest.size(), 3u);
      EXPECT_EQ(rest[0].record, page[7].record);
    }
  }
}

TEST(StoreFile, PutMovesTheRecordInItsOrderAndKeepsKeysUnique) {
  TempDir dir;
  Articulo a{};
  File f(articuloDef(), &a);
  ASSERT_TRUE(f.open().ok());
  addAll(f, a, {articulo(1, "b"), articulo(2, "d"), articulo(3, "f")});
  ASSERT_TRUE(f.set(1).ok());
  ASSERT_TRUE(f.next().ok());  // "b"
  rt::setFixed(a.DESCRIPCION, "e");
  ASSERT_TRUE(f.put().ok());
  // Reading on continues from the record's new place.
  ASSERT_TRUE(f.next().ok());
  EXPECT_EQ(desc(a), "f");
  EXPECT_EQ(readOrder(f, a, 1, desc), (std::vector<std::string>{"d", "e", "f"}));
  // Changing the number to one that exists is refused and leaves the record as it was.
  a.IDARTICULO = 3;
  ASSERT_TRUE(f.fetch(0).ok());
  a.IDARTICULO = 2;
  Status s = f.put();
  EXPECT_EQ(s.code, DuplicateKey);
  EXPECT_NE(s.text.find("POR_IDARTICULO"), std::string::npos);
  EXPECT_EQ(readOrder(f, a, 0, [](const Articulo& r) { return int(r.IDARTICULO); }), (std::vector<int>{1, 2, 3}));
  // Decimals survive exactly.
  a = articulo(4, "precio", "-99999.99");
  ASSERT_TRUE(f.add().ok());
  a = articulo(4, "");
  ASSERT_TRUE(f.fetch(0).ok());
  EXPECT_EQ(a.IMPORTE.value().toString(), "-99999.99");
}

TEST(StoreFile, RecordChangedByAnotherStationIsRefused) {
  TempDir dir;
  Articulo seed{};
  {
    File f(articuloDef(), &seed);
    ASSERT_TRUE(f.open().ok());
    addAll(f, seed, {articulo(1, "uno")});
  }
  struct Case {
    const char* what;
    bool other_erases;  // else the other station changes the record
    bool we_erase;      // else we put
  } cases[] = {{"put after a change", false, false},
               {"put after a delete", true, false},
               {"erase after a change", false, true},
               {"erase after a delete", true, true}};
  for (const Case& c : cases) {
    Articulo mine{}, theirs{};
    File me(articuloDef(), &mine), other(articuloDef(), &theirs);
    ASSERT_TRUE(me.open().ok());
    ASSERT_TRUE(other.open().ok());
    if (me.records() == 0) addAll(me, mine, {articulo(1, "uno")});
    mine.IDARTICULO = 1;
    theirs.IDARTICULO = 1;
    ASSERT_TRUE(me.fetch(0).ok());
    ASSERT_TRUE(other.fetch(0).ok());
    ASSERT_TRUE((c.other_erases ? other.erase() : (rt::setFixed(theirs.DESCRIPCION, "de ellos"), other.put())).ok());
    rt::setFixed(mine.DESCRIPCION, "mio");
    Status s = c.we_erase ? me.erase() : me.put();
    EXPECT_EQ(s.code, RecordChanged) << c.what;
    EXPECT_EQ(s.text.rfind("Record changed by another station", 0), 0u) << s.text;
    // Their change stands; after reading it again ours goes through.
    mine.IDARTICULO = 1;
    if (c.other_erases) {
      EXPECT_EQ(me.fetch(0).code, RecordNotFound);
    } else {
      ASSERT_TRUE(me.fetch(0).ok());
      EXPECT_EQ(desc(mine), "de ellos") << c.what;
      rt::setFixed(mine.DESCRIPCION, "mio");
      EXPECT_TRUE(me.put().ok()) << c.what;
    }
  }
}

TEST(StoreFile, FilesThatAreNotThisTablesAreRefused) {
  TempDir dir;
  {
    Cabecera c{};
    File cab(cabeceraDef(), &c);
    ASSERT_TRUE(cab.open().ok());
    Articulo a{};
    File art(articuloDef(), &a);
    ASSERT_TRUE(art.open().ok());
    std::unique_ptr<Transaction> t;
    ASSERT_TRUE(Transaction::begin({&art}, std::chrono::seconds(5), t).ok());
    for (int i = 1; i <= 3000; ++i) addAll(art, a, {articulo(static_cast<std::uint16_t>(i), "relleno para ocupar paginas")});
    ASSERT_TRUE(t->commit().ok());
  }
  std::filesystem::copy_file(dir.file("ARTICULO.TPS"), dir.file("ORIGINAL.TPS"));
  auto replaceArticulo = [&](const std::function<void()>& make) {
    std::filesystem::remove(dir.file("ARTICULO.TPS"));
    make();
  };
  struct Case {
    const char* what;
    std::function<void()> make;
    int code;
    bool damaged = true;  // else sound in itself, only not this table's
  } cases[] = {
      {"a text file", [&] { std::ofstream(dir.file("ARTICULO.TPS")) << "IDARTICULO,DESCRIPCION\n1,hola\n"; }, InvalidDataFile},
      {"another table's file", [&] { std::filesystem::copy_file(dir.file("CABECERA.TPS"), dir.file("ARTICULO.TPS")); },
       InvalidDataFile, false},
      {"a truncated file",
       [&] {
         std::filesystem::copy_file(dir.file("ORIGINAL.TPS"), dir.file("ARTICULO.TPS"));
         std::filesystem::resize_file(dir.file("ARTICULO.TPS"), std::filesystem::file_size(dir.file("ORIGINAL.TPS")) / 2);
       },
       InvalidDataFile},
      {"a file cut inside its first page",
       [&] {
         std::filesystem::copy_file(dir.file("ORIGINAL.TPS"), dir.file("ARTICULO.TPS"));
         std::filesystem::resize_file(dir.file("ARTICULO.TPS"), 100);
       },
       InvalidDataFile},
      {"an SQLite database of something else",
       [&] {
         sqlite3* db = nullptr;
         sqlite3_open(dir.file("ARTICULO.TPS").c_str(), &db);
         sqlite3_exec(db, "CREATE TABLE t(x)", nullptr, nullptr, nullptr);
         sqlite3_close(db);
       },
       InvalidDataFile},
  };
  for (const Case& c : cases) {
    replaceArticulo(c.make);
    Articulo a{};
    File f(articuloDef(), &a);
    Status s = f.open();
    EXPECT_EQ(s.code, c.code) << c.what << ": " << s.text;
    EXPECT_FALSE(f.isOpen()) << c.what;
    CheckReport report;
    Status cs = checkFile(dir.file("ARTICULO.TPS"), report);
    if (c.damaged) {
      EXPECT_TRUE(!cs.ok() || !report.problems.empty()) << c.what;
    } else {
      EXPECT_EQ(report.def.label, "CABECERA");
    }
  }
  // The intact file opens, and a declaration that differs from the file's layout is refused.
  replaceArticulo([&] { std::filesystem::copy_file(dir.file("ORIGINAL.TPS"), dir.file("ARTICULO.TPS")); });
  struct Mismatch {
    const char* what;
    std::function<void(TableDef&)> change;
  } mismatches[] = {
      {"a longer description", [](TableDef& d) { d.fields[1].size = 31; d.fields[2].offset = 33; d.record_size = 37; }},
      {"another key attribute", [](TableDef& d) { d.keys[1].nocase = false; }},
      {"a key fewer", [](TableDef& d) { d.keys.pop_back(); }},
      {"OEM text", [](TableDef& d) { d.oem = true; }},
      {"another places", [](TableDef& d) { d.fields[2].places = 3; }},
  };
  for (const Mismatch& m : mismatches) {
    TableDef d = articuloDef();
    m.change(d);
    std::vector<unsigned char> buf(d.record_size);
    File f(d, buf.data());
    Status s = f.open();
    EXPECT_EQ(s.code, InvalidDeclaration) << m.what << ": " << s.text;
  }
  Articulo a{};
  File f(articuloDef(), &a);
  ASSERT_TRUE(f.open().ok());
  EXPECT_EQ(f.records(), 3000);
  f.close();
  CheckReport report;
  ASSERT_TRUE(checkFile(dir.file("ARTICULO.TPS"), report).ok());
  EXPECT_TRUE(report.problems.empty());
}

TEST(StoreFile, AnEmptyFileIsMadeATableFileOnlyWithCreate) {
  TempDir dir;
  std::ofstream(dir.file("ARTICULO.TPS")).flush();  // e.g. left by a creation that was cut short
  TableDef no_create = articuloDef();
  no_create.create = false;
  Articulo a{};
  File without(no_create, &a);
  EXPECT_EQ(without.open().code, InvalidDataFile);
  File with(articuloDef(), &a);
  ASSERT_TRUE(with.open().ok());
  EXPECT_EQ(with.records(), 0);
}

TEST(StoreFile, AFileSwitchedToAWriteAheadLogIsSwitchedBack) {
  TempDir dir;
  Articulo a{};
  {
    File f(articuloDef(), &a);
    ASSERT_TRUE(f.open().ok());
  }
  auto journalMode = [&] {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(dir.file("ARTICULO.TPS").c_str(), &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &st, nullptr);
    std::string mode = sqlite3_step(st) == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(st, 0)) : "";
    sqlite3_finalize(st);
    sqlite3_close(db);
    return mode;
  };
  EXPECT_EQ(journalMode(), "delete");
  {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir.file("ARTICULO.TPS").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
  EXPECT_EQ(journalMode(), "wal");
  File f(articuloDef(), &a);
  ASSERT_TRUE(f.open().ok());
  a = articulo(1, "uno");
  ASSERT_TRUE(f.add().ok());
  f.close();
  EXPECT_EQ(journalMode(), "delete");
}
