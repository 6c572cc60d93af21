#include "quillet/tables/articulo_managers.h"

#include "quillet/tables/articulo.h"
#include "quillet/tables/items.h"
#include "quillet/tables/dictionary.h"

namespace quillet {

void Hide_Access_ARTICULO::Init() {
  Initialized = false;
  Buffer = reinterpret_cast<unsigned char*>(&ART);
  RecordSize = sizeof(ARTICULO);
  FileNameValue = "Articulos";
  Errors = &TableErrors();
  File = &ARTICULO_File();
  fw::FileManager::Init();
  Access_ARTICULO = this;
}

void Hide_Access_ARTICULO::Kill() {
  fw::FileManager::Kill();
  Access_ARTICULO = nullptr;
}

int Hide_Access_ARTICULO::UseFile(int use_type) {
  if (use_type != fw::UseType_Initialize) UseFile(fw::UseType_Initialize);
  if (use_type == fw::UseType_Initialize && !Initialized) {
    InUseFile = true;
    fw::FileManager::Init(*File, *Errors);
    Create = true;
    LockRecover = 10;
    AddKey(ART_POR_IDARTICULO, "Por IDArticulo", 1);
    AddKey(ART_POR_DESCRIPCION, "Por Descripci\xF3n", 0);
  }
  return fw::FileManager::UseFile(use_type);
}

void Hide_Relate_ARTICULO::Init() {
  _Hide_Access_ARTICULO->Init();
  fw::RelationManager::Init(*_Hide_Access_ARTICULO, true);
}

void Hide_Relate_ARTICULO::DeferedAddRelations() {
  if (Relate_ITEMS) AddRelation(*Relate_ITEMS);
  fw::RelationManager::DeferedAddRelations();
}

void Hide_Relate_ARTICULO::Kill() {
  if (_Hide_Access_ARTICULO) _Hide_Access_ARTICULO->Kill();
  fw::RelationManager::Kill();
  Relate_ARTICULO = nullptr;
  _Hide_Access_ARTICULO.reset();
}

}  // namespace quillet
