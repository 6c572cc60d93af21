#pragma once
// The managers of ITEMS: its file manager Hide_Access_ITEMS and its relation manager
// Hide_Relate_ITEMS. DctInit makes one of each per thread; the windows reach them through the
// thread's references Access_ITEMS and Relate_ITEMS (dictionary.h). Only the thread that made them
// may use them.

#include "framework/file_manager.h"
#include "framework/relation_manager.h"

namespace quillet {

// The file manager of ITEMS. Init sets it up without touching the file; the first use of the
// table in the thread (UseFile) binds the table, has a missing file created (Create), retries an
// open refused for access with lock recovery 10 and registers the keys.
class Hide_Access_ITEMS : public fw::FileManager {
 public:
  using fw::FileManager::Init;
  void Init() override;
  void Kill() override;  // the framework's Kill, then Access_ITEMS := null
  int UseFile(int use_type) override;
};

// The relation manager of ITEMS; it owns the table's file manager (initialises, kills and frees
// it). Relations, registered on first need: its header (CABECERA) as a lookup; its article (ARTICULO) through
// ART:POR_IDARTICULO, ITE:IDARTICULO = ART:IDARTICULO, changes and deletes carried to nothing.
class Hide_Relate_ITEMS : public fw::RelationManager {
 public:
  using fw::RelationManager::Init;
  void Init();  // the file manager's Init, then the framework's Init with UseLogout on
  void Kill() override;
  void DeferedAddRelations() override;
};

}  // namespace quillet
