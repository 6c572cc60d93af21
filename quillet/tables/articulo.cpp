#include "quillet/tables/articulo.h"

#include <memory>

namespace quillet {

const store::TableDef& ARTICULO_Def() {
  static const store::TableDef def = [] {
    store::TableDef d;
    d.label = "ARTICULO";
    d.prefix = "ART";
    d.record_size = sizeof(ARTICULO);
    d.fields = {
        {"IDARTICULO", store::FieldType::UShort, offsetof(ARTICULO, IDARTICULO), 2, 0},
        {"DESCRIPCION", store::FieldType::String, offsetof(ARTICULO, DESCRIPCION), 30, 0},
        {"IMPORTE", store::FieldType::Decimal, offsetof(ARTICULO, IMPORTE), 4, 2},
    };
    d.keys = {
        store::KeyDef{"POR_IDARTICULO", {0}, /*primary*/ true, /*dup*/ false, /*opt*/ true, /*nocase*/ true},
        store::KeyDef{"POR_DESCRIPCION", {1}, false, true, true, true},
    };
    d.create = true;
    d.threaded = true;
    return d;
  }();
  return def;
}

thread_local ARTICULO ART{};

namespace {
thread_local std::unique_ptr<store::File> instance;
}

store::File& ARTICULO_File() {
  if (!instance) instance = std::make_unique<store::File>(ARTICULO_Def(), &ART);
  return *instance;
}

void ARTICULO_Release() { instance.reset(); }

}  // namespace quillet
