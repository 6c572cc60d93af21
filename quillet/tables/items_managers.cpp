#include "quillet/tables/items_managers.h"

#include "quillet/tables/articulo.h"
#include "quillet/tables/cabecera.h"
#include "quillet/tables/items.h"
#include "quillet/tables/dictionary.h"

namespace quillet {

void Hide_Access_ITEMS::Init() {
  Initialized = false;
  Buffer = reinterpret_cast<unsigned char*>(&ITE);
  RecordSize = sizeof(ITEMS);
  FileNameValue = "Items";
  Errors = &TableErrors();
  File = &ITEMS_File();
  fw::FileManager::Init();
  Access_ITEMS = this;
}

void Hide_Access_ITEMS::Kill() {
  fw::FileManager::Kill();
  Access_ITEMS = nullptr;
}

int Hide_Access_ITEMS::UseFile(int use_type) {
  if (use_type != fw::UseType_Initialize) UseFile(fw::UseType_Initialize);
  if (use_type == fw::UseType_Initialize && !Initialized) {
    InUseFile = true;
    fw::FileManager::Init(*File, *Errors);
    Create = true;
    LockRecover = 10;
    AddKey(ITE_POR_IDCABECERAYNORDEN, "Por IDCabecera y NOrden", 2);
  }
  return fw::FileManager::UseFile(use_type);
}

void Hide_Relate_ITEMS::Init() {
  _Hide_Access_ITEMS->Init();
  fw::RelationManager::Init(*_Hide_Access_ITEMS, true);
}

void Hide_Relate_ITEMS::DeferedAddRelations() {
  if (Relate_CABECERA) AddRelation(*Relate_CABECERA);
  if (Relate_ARTICULO) {
    AddRelation(*Relate_ARTICULO, fw::RI_None, fw::RI_None, ART_POR_IDARTICULO);
    AddRelationLink(ITE.IDARTICULO, ART.IDARTICULO);
  }
  fw::RelationManager::DeferedAddRelations();
}

void Hide_Relate_ITEMS::Kill() {
  if (_Hide_Access_ITEMS) _Hide_Access_ITEMS->Kill();
  fw::RelationManager::Kill();
  Relate_ITEMS = nullptr;
  _Hide_Access_ITEMS.reset();
}

}  // namespace quillet
