#include "quillet/tables/cabecera_managers.h"

#include "quillet/tables/cabecera.h"
#include "quillet/tables/items.h"
#include "quillet/tables/dictionary.h"

namespace quillet {

void Hide_Access_CABECERA::Init() {
  Initialized = false;
  Buffer = reinterpret_cast<unsigned char*>(&CAB);
  RecordSize = sizeof(CABECERA);
  FileNameValue = "Cabecera";
  Errors = &TableErrors();
  File = &CABECERA_File();
  fw::FileManager::Init();
  Access_CABECERA = this;
}

void Hide_Access_CABECERA::Kill() {
  fw::FileManager::Kill();
  Access_CABECERA = nullptr;
}

int Hide_Access_CABECERA::UseFile(int use_type) {
  if (use_type != fw::UseType_Initialize) UseFile(fw::UseType_Initialize);
  if (use_type == fw::UseType_Initialize && !Initialized) {
    InUseFile = true;
    fw::FileManager::Init(*File, *Errors);
    Create = true;
    LockRecover = 10;
    AddKey(CAB_POR_IDCABECERA, "Por IDCabecera", 1);
    AddKey(CAB_POR_FECHA, "Por Fecha", 0);
  }
  return fw::FileManager::UseFile(use_type);
}

void Hide_Relate_CABECERA::Init() {
  _Hide_Access_CABECERA->Init();
  fw::RelationManager::Init(*_Hide_Access_CABECERA, true);
}

void Hide_Relate_CABECERA::DeferedAddRelations() {
  if (Relate_ITEMS) {
    AddRelation(*Relate_ITEMS, fw::RI_None, fw::RI_Cascade, ITE_POR_IDCABECERAYNORDEN);
    AddRelationLink(CAB.IDCABECERA, ITE.IDCABECERA);
  }
  fw::RelationManager::DeferedAddRelations();
}

void Hide_Relate_CABECERA::Kill() {
  if (_Hide_Access_CABECERA) _Hide_Access_CABECERA->Kill();
  fw::RelationManager::Kill();
  Relate_CABECERA = nullptr;
  _Hide_Access_CABECERA.reset();
}

}  // namespace quillet
