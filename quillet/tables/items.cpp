#include "quillet/tables/items.h"

#include <memory>

namespace quillet {

const store::TableDef& ITEMS_Def() {
  static const store::TableDef def = [] {
    store::TableDef d;
    d.label = "ITEMS";
    d.prefix = "ITE";
    d.record_size = sizeof(ITEMS);
    d.fields = {
        {"IDCABECERA", store::FieldType::UShort, offsetof(ITEMS, IDCABECERA), 2, 0},
        {"NORDEN", store::FieldType::UShort, offsetof(ITEMS, NORDEN), 2, 0},
        {"CANTIDAD", store::FieldType::Decimal, offsetof(ITEMS, CANTIDAD), 4, 2},
        {"IDARTICULO", store::FieldType::UShort, offsetof(ITEMS, IDARTICULO), 2, 0},
        {"DESCRIPCION", store::FieldType::String, offsetof(ITEMS, DESCRIPCION), 30, 0},
        {"UNITARIO", store::FieldType::Decimal, offsetof(ITEMS, UNITARIO), 4, 2},
        {"TOTAL", store::FieldType::Decimal, offsetof(ITEMS, TOTAL), 4, 2},
    };
    d.keys = {
        store::KeyDef{"POR_IDCABECERAYNORDEN", {0, 1}, /*primary*/ true, /*dup*/ false, /*opt*/ true, /*nocase*/ true},
    };
    d.create = true;
    d.threaded = true;
    return d;
  }();
  return def;
}

thread_local ITEMS ITE{};

namespace {
thread_local std::unique_ptr<store::File> instance;
}

store::File& ITEMS_File() {
  if (!instance) instance = std::make_unique<store::File>(ITEMS_Def(), &ITE);
  return *instance;
}

void ITEMS_Release() { instance.reset(); }

}  // namespace quillet
