// Runs the built tpstool on table files that the store makes here.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "store/file.h"
#include "store/test_support.h"

using namespace store;
using namespace store_test;

namespace {

struct ToolRun {
  int exit_code = -1;
  std::string out, err;
};

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string shellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'') q += "'\\''";
    else q += c;
  }
  return q + "'";
}

// Runs tpstool with `args` in the current directory, `input` on its standard input.
ToolRun tpstool(const std::vector<std::string>& args, const std::string& input = "") {
  const std::string in = "tpstool.in", out = "tpstool.out", err = "tpstool.err";
  std::ofstream(in, std::ios::binary) << input;
  std::string cmd = shellQuote(TPSTOOL_PATH);
  for (const std::string& a : args) cmd += " " + shellQuote(a);
  cmd += " < " + in + " > " + out + " 2> " + err;
  ToolRun r;
  const int status = std::system(cmd.c_str());
  r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = slurp(out);
  r.err = slurp(err);
  return r;
}

void setText(char* field, size_t n, std::string_view v) { rt::setFixed(field, n, v); }

// PRODUCTO.TPS with three products whose text needs quoting, accents and signs.
void makeProducts(const std::string& dir_path) {
  Productos p{};
  File f(productosDef(), &p);
  f.setPath(dir_path + "/PRODUCTO.TPS");
  ASSERT_TRUE(f.open().ok());
  p = blank<Productos>();
  p.IDPRODUCTO = 1;
  setText(p.ENAVASES, sizeof p.ENAVASES, "Caja");
  setText(p.DESCRPCION, sizeof p.DESCRPCION, "Aceite de oliva, extra");
  setText(p.MARCA, sizeof p.MARCA, "Pe\xF1" "a");
  ASSERT_EQ(p.PECIO_UNITARIOS.assign(dec("12.5")), rt::DecimalStatus::Ok);
  ASSERT_EQ(p.EXISTENCIA.assign(dec("7")), rt::DecimalStatus::Ok);
  p.REODEN = 3;
  ASSERT_TRUE(f.add().ok());
  p = blank<Productos>();
  p.IDPRODUCTO = 2;
  setText(p.MARCA, sizeof p.MARCA, "Say \"hi\"");
  ASSERT_EQ(p.PECIO_UNITARIOS.assign(dec("-0.05")), rt::DecimalStatus::Ok);
  p.REODEN = -1;
  ASSERT_TRUE(f.add().ok());
  p = blank<Productos>();
  p.IDPRODUCTO = 100000;
  setText(p.DESCRPCION, sizeof p.DESCRPCION, "  leading");
  ASSERT_TRUE(f.add().ok());
}

const char* const kProductsCsv =
    "IDPRODUCTO,ENAVASES,DESCRPCION,MARCA,PECIO_UNITARIOS,EXISTENCIA,REODEN\n"
    "1,Caja,\"Aceite de oliva, extra\",Pe\xC3\xB1" "a,12.50,7,3\n"
    "2,,,\"Say \"\"hi\"\"\",-0.05,0,-1\n"
    "100000,,\"  leading\",,0.00,0,0\n";

}  // namespace

TEST(StoreTpstool, DumpWritesUtf8CsvWithAHeaderAndDecimalPlaces) {
  TempDir dir;
  makeProducts(dir.path());
  ToolRun r = tpstool({"dump", "PRODUCTO.TPS"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, kProductsCsv);
}

TEST(StoreTpstool, InfoShowsLayoutKeysAndCount) {
  TempDir dir;
  makeProducts(dir.path());
  ToolRun r = tpstool({"info", dir.file("PRODUCTO.TPS")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  for (const char* expected :
       {"table: PRODUCTOS\n", "record size: 112 bytes\n", "  IDPRODUCTO LONG at 0\n", "  DESCRPCION STRING(50) at 25\n",
        "  PECIO_UNITARIOS DECIMAL(4,2) at 100\n", "  IdproKey (IDPRODUCTO) PRIMARY UNIQUE OPT\n",
        "  descripKey (DESCRPCION) DUP OPT NOCASE\n", "records: 3\n"})
    EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\nin:\n" << r.out;
}

TEST(StoreTpstool, ImportAddsAllRowsOrNone) {
  TempDir dir;
  {
    Productos p{};
    File empty(productosDef(), &p);
    ASSERT_TRUE(empty.open().ok());
  }
  ToolRun r = tpstool({"import", "PRODUCTO.TPS"}, kProductsCsv);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(tpstool({"dump", "PRODUCTO.TPS"}).out, kProductsCsv);

  const std::string header = "IDPRODUCTO,ENAVASES,DESCRPCION,MARCA,PECIO_UNITARIOS,EXISTENCIA,REODEN\n";
  const std::string good_row = "200,Bolsa,Arroz,Marca,1.00,1,1\n";
  struct Case {
    const char* what;
    std::string csv;
    const char* message;  // part of the error
  } cases[] = {
      {"duplicate number", header + good_row + "1,,x,,0,0,0\n", "IdproKey"},
      {"not a number", header + good_row + "201,,x,,0,0,abc\n", "REODEN"},
      {"too many decimal places", header + good_row + "201,,x,,1.005,0,0\n", "decimal places"},
      {"price too large", header + good_row + "201,,x,,100000.00,0,0\n", "does not fit"},
      {"LONG out of range", header + good_row + "2147483648,,x,,0,0,0\n", "outside"},
      {"text too long", header + good_row + "201,1234567890123456789012,x,,0,0,0\n", "longer than 21"},
      {"missing field", header + good_row + "201,,x,,0,0\n", "6 fields instead of 7"},
      {"unclosed quote", header + good_row + "201,\"open,x,,0,0,0\n", "malformed"},
      {"wrong header", "ID,ENAVASES\n" + good_row, "first line must name the fields"},
      {"text outside Windows-1252", header + good_row + "201,,\xE2\x82\xAC\xE2\x9C\x93,,0,0,0\n", "Windows-1252"},
  };
  for (const Case& c : cases) {
    ToolRun bad = tpstool({"import", "PRODUCTO.TPS"}, c.csv);
    EXPECT_EQ(bad.exit_code, 1) << c.what;
    EXPECT_NE(bad.err.find(c.message), std::string::npos) << c.what << ": " << bad.err;
    EXPECT_EQ(tpstool({"dump", "PRODUCTO.TPS"}).out, kProductsCsv) << c.what << ": the file changed";
  }
}

TEST(StoreTpstool, OemTextIsShownAndImportedAsUnicode) {
  TempDir dir;
  {
    Marcas m{};
    File f(marcasDef(), &m);
    ASSERT_TRUE(f.open().ok());
    rt::setFixed(m.MARCAS, "\xD1" "AND\xDA");
    ASSERT_TRUE(f.add().ok());
  }
  EXPECT_EQ(tpstool({"dump", "MARCAS.TPS"}).out, "MARCAS\n\xC3\x91" "AND\xC3\x9A\n");
  // The case-insensitive unique key refuses the lower-case spelling, also through import.
  ToolRun r = tpstool({"import", "MARCAS.TPS"}, "MARCAS\n\xC3\xB1" "and\xC3\xBA\n");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("MarcaKey"), std::string::npos) << r.err;
  r = tpstool({"import", "MARCAS.TPS"}, "MARCAS\nCaf\xC3\xA9\n");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(tpstool({"check", "MARCAS.TPS"}).exit_code, 0);
}

TEST(StoreTpstool, CheckFindsKeysThatDisagreeWithRecords) {
  TempDir dir;
  makeProducts(dir.path());
  ToolRun r = tpstool({"check", "PRODUCTO.TPS"});
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("sound, 3 records"), std::string::npos) << r.out;

  struct Case {
    const char* what;
    const char* sql;
    const char* finding;
  } cases[] = {
      {"a key value that is not the record's", "UPDATE records SET k1 = x'00' WHERE id = 1", "descripKey"},
      {"a record left out of a key it belongs to", "UPDATE records SET k0 = NULL WHERE id = 2", "IdproKey"},
      {"a record of the wrong size", "UPDATE records SET data = x'0102' WHERE id = 3", "2 bytes instead of 112"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(dir.file("PRODUCTO.TPS"));
    makeProducts(dir.path());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir.file("PRODUCTO.TPS").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, c.sql, nullptr, nullptr, nullptr), SQLITE_OK) << c.what;
    sqlite3_close(db);
    ToolRun bad = tpstool({"check", "PRODUCTO.TPS"});
    EXPECT_EQ(bad.exit_code, 1) << c.what;
    EXPECT_NE(bad.out.find("NOT sound"), std::string::npos) << c.what << ": " << bad.out;
    EXPECT_NE(bad.out.find(c.finding), std::string::npos) << c.what << ": " << bad.out;
  }
}

TEST(StoreTpstool, BadArgumentsAndBadFilesHaveTheirOwnExitCodes) {
  TempDir dir;
  std::ofstream("NOTES.TPS") << "just some text\n";
  std::filesystem::create_directory("FOLDER.TPS");
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    const char* message;
  } cases[] = {
      {{}, 2, "no command"},
      {{"frobnicate", "X.TPS"}, 2, "unknown command"},
      {{"info"}, 2, "exactly one table file"},
      {{"dump", "A.TPS", "B.TPS"}, 2, "exactly one table file"},
      {{"info", "MISSING.TPS"}, 3, "File not found"},
      {{"check", "NOTES.TPS"}, 3, "not a table file"},
      {{"dump", "NOTES.TPS"}, 3, "not a table file"},
      {{"import", "FOLDER.TPS"}, 3, "not a file"},
  };
  for (const Case& c : cases) {
    ToolRun r = tpstool(c.args);
    std::string joined;
    for (const std::string& a : c.args) joined += a + " ";
    EXPECT_EQ(r.exit_code, c.exit_code) << joined;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << joined << ": " << r.err;
  }
  // A failed command leaves no file behind.
  EXPECT_FALSE(std::filesystem::exists("MISSING.TPS"));
}
