#include "store/test_support.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <filesystem>

namespace store_test {

using store::FieldDef;
using store::FieldType;
using store::KeyDef;
using store::TableDef;

TempDir::TempDir() {
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd)) previous_ = cwd;
  std::string tmpl = (std::filesystem::temp_directory_path() / "store_test_XXXXXX").string();
  if (!mkdtemp(tmpl.data())) abort();
  path_ = tmpl;
  if (chdir(path_.c_str()) != 0) abort();
}

TempDir::~TempDir() {
  if (!previous_.empty() && chdir(previous_.c_str()) != 0) abort();
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

bool TempDir::exists(const std::string& name) const {
  struct stat sb;
  return stat(file(name).c_str(), &sb) == 0;
}

#define FIELD STORE_FIELD

const TableDef& articuloDef() {
  static const TableDef def = [] {
    TableDef d;
    d.label = "ARTICULO";
    d.prefix = "ART";
    d.record_size = sizeof(Articulo);
    d.fields = {FIELD(Articulo, IDARTICULO, FieldType::UShort, 0), FIELD(Articulo, DESCRIPCION, FieldType::String, 0),
                FIELD(Articulo, IMPORTE, FieldType::Decimal, 2)};
    d.keys = {KeyDef{"POR_IDARTICULO", {0}, true, false, true, true},
              KeyDef{"POR_DESCRIPCION", {1}, false, true, true, true}};
    return d;
  }();
  return def;
}

const TableDef& itemsDef() {
  static const TableDef def = [] {
    TableDef d;
    d.label = "ITEMS";
    d.prefix = "ITE";
    d.record_size = sizeof(Items);
    d.fields = {FIELD(Items, IDCABECERA, FieldType::UShort, 0), FIELD(Items, NORDEN, FieldType::UShort, 0),
                FIELD(Items, CANTIDAD, FieldType::Decimal, 2),  FIELD(Items, IDARTICULO, FieldType::UShort, 0),
                FIELD(Items, DESCRIPCION, FieldType::String, 0), FIELD(Items, UNITARIO, FieldType::Decimal, 2),
                FIELD(Items, TOTAL, FieldType::Decimal, 2)};
    d.keys = {KeyDef{"POR_IDCABECERAYNORDEN", {0, 1}, true, false, true, true}};
    return d;
  }();
  return def;
}

const TableDef& cabeceraDef() {
  static const TableDef def = [] {
    TableDef d;
    d.label = "CABECERA";
    d.prefix = "CAB";
    d.record_size = sizeof(Cabecera);
    d.fields = {FIELD(Cabecera, IDCABECERA, FieldType::UShort, 0), FIELD(Cabecera, FECHA, FieldType::Long, 0),
                FIELD(Cabecera, TOTAL, FieldType::Decimal, 2)};
    d.keys = {KeyDef{"POR_IDCABECERA", {0}, true, false, true, true},
              KeyDef{"POR_FECHA", {1}, false, true, true, true}};
    return d;
  }();
  return def;
}

const TableDef& marcasDef() {
  static const TableDef def = [] {
    TableDef d;
    d.label = "MARCAS";
    d.prefix = "MAR";
    d.record_size = sizeof(Marcas);
    d.oem = true;
    d.fields = {FIELD(Marcas, MARCAS, FieldType::String, 0)};
    d.keys = {KeyDef{"MarcaKey", {0}, true, false, true, true}};
    return d;
  }();
  return def;
}

const TableDef& productosDef() {
  static const TableDef def = [] {
    TableDef d;
    d.label = "PRODUCTOS";
    d.prefix = "PRO";
    d.record_size = sizeof(Productos);
    d.fields = {FIELD(Productos, IDPRODUCTO, FieldType::Long, 0),
                FIELD(Productos, ENAVASES, FieldType::String, 0),
                FIELD(Productos, DESCRPCION, FieldType::String, 0),
                FIELD(Productos, MARCA, FieldType::String, 0),
                FIELD(Productos, PECIO_UNITARIOS, FieldType::Decimal, 2),
                FIELD(Productos, EXISTENCIA, FieldType::Decimal, 0),
                FIELD(Productos, REODEN, FieldType::Long, 0)};
    d.keys = {KeyDef{"IdproKey", {0}, true, false, true, false},
              KeyDef{"descripKey", {2}, false, true, true, true}};
    return d;
  }();
  return def;
}

rt::Decimal dec(std::string_view text) { return *rt::Decimal::parse(text); }

}  // namespace store_test
