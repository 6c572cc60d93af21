#include "quillet/tables/cabecera.h"

#include <memory>

namespace quillet {

const store::TableDef& CABECERA_Def() {
  static const store::TableDef def = [] {
    store::TableDef d;
    d.label = "CABECERA";
    d.prefix = "CAB";
    d.record_size = sizeof(CABECERA);
    d.fields = {
        {"IDCABECERA", store::FieldType::UShort, offsetof(CABECERA, IDCABECERA), 2, 0},
        {"FECHA", store::FieldType::Long, offsetof(CABECERA, FECHA), 4, 0},
        {"TOTAL", store::FieldType::Decimal, offsetof(CABECERA, TOTAL), 4, 2},
    };
    d.keys = {
        store::KeyDef{"POR_IDCABECERA", {0}, /*primary*/ true, /*dup*/ false, /*opt*/ true, /*nocase*/ true},
        store::KeyDef{"POR_FECHA", {1}, false, true, true, true},
    };
    d.create = true;
    d.threaded = true;
    return d;
  }();
  return def;
}

thread_local CABECERA CAB{};

namespace {
thread_local std::unique_ptr<store::File> instance;
}

store::File& CABECERA_File() {
  if (!instance) instance = std::make_unique<store::File>(CABECERA_Def(), &CAB);
  return *instance;
}

void CABECERA_Release() { instance.reset(); }

}  // namespace quillet
