// Helpers shared by the store's tests: a fresh working directory per test, and the tables of the
// two programs declared as packed record structs with their store declarations.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "runtime/decimal.h"
#include "runtime/fixed_string.h"
#include "store/file.h"
#include "store/table_def.h"

namespace store_test {

// Creates an empty temporary directory and makes it the working directory; on destruction goes
// back to the previous working directory and removes the temporary one with its files.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  bool exists(const std::string& name) const;

 private:
  std::string path_;
  std::string previous_;
};

#pragma pack(push, 1)
struct Articulo {
  std::uint16_t IDARTICULO;
  char DESCRIPCION[30];
  rt::PackedDecimal<4, 2> IMPORTE;
};
struct Items {
  std::uint16_t IDCABECERA;
  std::uint16_t NORDEN;
  rt::PackedDecimal<4, 2> CANTIDAD;
  std::uint16_t IDARTICULO;
  char DESCRIPCION[30];
  rt::PackedDecimal<4, 2> UNITARIO;
  rt::PackedDecimal<4, 2> TOTAL;
};
struct Cabecera {
  std::uint16_t IDCABECERA;
  std::int32_t FECHA;
  rt::PackedDecimal<4, 2> TOTAL;
};
struct Marcas {
  char MARCAS[22];
};
struct Productos {
  std::int32_t IDPRODUCTO;
  char ENAVASES[21];
  char DESCRPCION[50];
  char MARCA[25];
  rt::PackedDecimal<4, 2> PECIO_UNITARIOS;
  rt::PackedDecimal<4, 0> EXISTENCIA;
  std::int32_t REODEN;
};
#pragma pack(pop)

const store::TableDef& articuloDef();   // keys: 0 POR_IDARTICULO, 1 POR_DESCRIPCION
const store::TableDef& itemsDef();      // key 0 POR_IDCABECERAYNORDEN
const store::TableDef& cabeceraDef();   // keys: 0 POR_IDCABECERA, 1 POR_FECHA
const store::TableDef& marcasDef();     // key 0 MarcaKey (OEM table)
const store::TableDef& productosDef();  // keys: 0 IdproKey, 1 descripKey

// A cleared record of type T (every byte zero, which reads as blank text and zero numbers).
template <class T>
T blank() {
  T r;
  std::memset(&r, 0, sizeof r);
  return r;
}

rt::Decimal dec(std::string_view text);  // parses a decimal literal of a test

}  // namespace store_test
