#pragma once
// Quillet's data dictionary per thread: the six table managers of the calling thread, the
// references the windows use to reach them, and the procedures that build and remove them.
//
//   DctInit      makes the managers of CABECERA, ITEMS and ARTICULO (file manager, then relation
//                manager, in that order), sets the Relate_ references and runs FilesInit.
//   FilesInit    initialises the relation managers of CABECERA, ITEMS and ARTICULO (each first
//                initialises its file manager, which sets the table's Access_ reference).
//   DctKill      kills and frees the relation managers of CABECERA, ITEMS and ARTICULO (each
//                kills and frees its file manager); every reference and hidden pointer is null.
//   ReleaseThreadTables  releases the thread's instances of ARTICULO, ITEMS and CABECERA (after
//                DctKill; it runs DctKill itself when managers are still there).
//
// Nothing here opens or creates a file: keys and file settings are registered on a table's first
// use in the thread, relations on a relation manager's first need. Everything is per thread:
// each function works on the calling thread's objects only.

#include <memory>

#include "framework/error_class.h"
#include "framework/file_manager.h"
#include "framework/relation_manager.h"
#include "quillet/tables/articulo_managers.h"
#include "quillet/tables/cabecera_managers.h"
#include "quillet/tables/items_managers.h"

namespace quillet {

// The managers of the calling thread as the windows use them (null outside DctInit..DctKill).
extern thread_local fw::FileManager* Access_ARTICULO;
extern thread_local fw::FileManager* Access_ITEMS;
extern thread_local fw::FileManager* Access_CABECERA;
extern thread_local fw::RelationManager* Relate_ARTICULO;
extern thread_local fw::RelationManager* Relate_ITEMS;
extern thread_local fw::RelationManager* Relate_CABECERA;

// The owners of the calling thread's manager objects.
extern thread_local std::unique_ptr<Hide_Access_ARTICULO> _Hide_Access_ARTICULO;
extern thread_local std::unique_ptr<Hide_Relate_ARTICULO> _Hide_Relate_ARTICULO;
extern thread_local std::unique_ptr<Hide_Access_ITEMS> _Hide_Access_ITEMS;
extern thread_local std::unique_ptr<Hide_Relate_ITEMS> _Hide_Relate_ITEMS;
extern thread_local std::unique_ptr<Hide_Access_CABECERA> _Hide_Access_CABECERA;
extern thread_local std::unique_ptr<Hide_Relate_CABECERA> _Hide_Relate_CABECERA;

void DctInit();
void FilesInit();
void DctKill();
void ReleaseThreadTables();

// The error manager the table managers report to: the program's GlobalErrors, unless another was
// given (tests give one with a recording presenter). Set it before DctInit; process-wide.
fw::ErrorClass& TableErrors();
void SetTableErrors(fw::ErrorClass* errors);  // null: GlobalErrors again

}  // namespace quillet
