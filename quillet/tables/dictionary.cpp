#include "quillet/tables/dictionary.h"

#include <atomic>

#include "quillet/app/globals.h"
#include "quillet/tables/articulo.h"
#include "quillet/tables/cabecera.h"
#include "quillet/tables/items.h"

namespace quillet {

thread_local fw::FileManager* Access_ARTICULO = nullptr;
thread_local fw::FileManager* Access_ITEMS = nullptr;
thread_local fw::FileManager* Access_CABECERA = nullptr;
thread_local fw::RelationManager* Relate_ARTICULO = nullptr;
thread_local fw::RelationManager* Relate_ITEMS = nullptr;
thread_local fw::RelationManager* Relate_CABECERA = nullptr;

thread_local std::unique_ptr<Hide_Access_ARTICULO> _Hide_Access_ARTICULO;
thread_local std::unique_ptr<Hide_Relate_ARTICULO> _Hide_Relate_ARTICULO;
thread_local std::unique_ptr<Hide_Access_ITEMS> _Hide_Access_ITEMS;
thread_local std::unique_ptr<Hide_Relate_ITEMS> _Hide_Relate_ITEMS;
thread_local std::unique_ptr<Hide_Access_CABECERA> _Hide_Access_CABECERA;
thread_local std::unique_ptr<Hide_Relate_CABECERA> _Hide_Relate_CABECERA;

namespace {
std::atomic<fw::ErrorClass*> table_errors{nullptr};
}

fw::ErrorClass& TableErrors() {
  fw::ErrorClass* e = table_errors.load();
  return e ? *e : GlobalErrors;
}

void SetTableErrors(fw::ErrorClass* errors) { table_errors.store(errors); }

void DctInit() {
  if (_Hide_Relate_CABECERA || _Hide_Relate_ITEMS || _Hide_Relate_ARTICULO) DctKill();
  _Hide_Access_CABECERA = std::make_unique<Hide_Access_CABECERA>();
  _Hide_Relate_CABECERA = std::make_unique<Hide_Relate_CABECERA>();
  _Hide_Access_ITEMS = std::make_unique<Hide_Access_ITEMS>();
  _Hide_Relate_ITEMS = std::make_unique<Hide_Relate_ITEMS>();
  _Hide_Access_ARTICULO = std::make_unique<Hide_Access_ARTICULO>();
  _Hide_Relate_ARTICULO = std::make_unique<Hide_Relate_ARTICULO>();
  Relate_CABECERA = _Hide_Relate_CABECERA.get();
  Relate_ITEMS = _Hide_Relate_ITEMS.get();
  Relate_ARTICULO = _Hide_Relate_ARTICULO.get();
  FilesInit();
}

void FilesInit() {
  _Hide_Relate_CABECERA->Init();
  _Hide_Relate_ITEMS->Init();
  _Hide_Relate_ARTICULO->Init();
}

namespace {

template <class Relate>
void killRelate(std::unique_ptr<Relate>& hidden) {
  if (!hidden) return;
  hidden->Kill();
  hidden.reset();
}

}  // namespace

void DctKill() {
  killRelate(_Hide_Relate_CABECERA);
  killRelate(_Hide_Relate_ITEMS);
  killRelate(_Hide_Relate_ARTICULO);
  // A manager whose relation manager was never made (or already gone) still goes.
  _Hide_Access_CABECERA.reset();
  _Hide_Access_ITEMS.reset();
  _Hide_Access_ARTICULO.reset();
  Access_CABECERA = Access_ITEMS = Access_ARTICULO = nullptr;
  Relate_CABECERA = Relate_ITEMS = Relate_ARTICULO = nullptr;
}

void ReleaseThreadTables() {
  if (_Hide_Relate_CABECERA || _Hide_Relate_ITEMS || _Hide_Relate_ARTICULO || _Hide_Access_CABECERA ||
      _Hide_Access_ITEMS || _Hide_Access_ARTICULO)
    DctKill();
  ARTICULO_Release();
  ITEMS_Release();
  CABECERA_Release();
}

}  // namespace quillet
