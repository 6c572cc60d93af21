#pragma once
// The managers of ARTICULO: its file manager Hide_Access_ARTICULO and its relation manager
// Hide_Relate_ARTICULO. DctInit makes one of each per thread; the windows reach them through the
// thread's references Access_ARTICULO and Relate_ARTICULO (dictionary.h). Only the thread that made them
// may use them.

#include "framework/file_manager.h"
#include "framework/relation_manager.h"

namespace quillet {

// The file manager of ARTICULO. Init sets it up without touching the file; the first use of the
// table in the thread (UseFile) binds the table, has a missing file created (Create), retries an
// open refused for access with lock recovery 10 and registers the keys.
class Hide_Access_ARTICULO : public fw::FileManager {
 public:
  using fw::FileManager::Init;
  void Init() override;
  void Kill() override;  // the framework's Kill, then Access_ARTICULO := null
  int UseFile(int use_type) override;
};

// The relation manager of ARTICULO; it owns the table's file manager (initialises, kills and frees
// it). Relations, registered on first need: the lines that use an article (ITEMS) as a lookup.
class Hide_Relate_ARTICULO : public fw::RelationManager {
 public:
  using fw::RelationManager::Init;
  void Init();  // the file manager's Init, then the framework's Init with UseLogout on
  void Kill() override;
  void DeferedAddRelations() override;
};

}  // namespace quillet
