// The parts of the browse manager that reach the relation and file managers: a range by
// relation and the priming of new records.
#include "framework/browse_class.h"
#include "framework/file_manager.h"
#include "framework/relation_manager.h"

namespace fw {

const void* ParentFieldOf(const void* child_field, RelationManager& child, RelationManager& parent) {
  FileManager* cf = child.Me();
  FileManager* pf = parent.Me();
  if (!cf || !pf || !cf->Buffer || !pf->Buffer || !child_field) return nullptr;
  const auto child_offset = static_cast<const unsigned char*>(child_field) - cf->Buffer;
  for (const Relation& r : parent.Relations()) {
    if (r.related != &child) continue;
    for (const RelationLink& l : r.links)
      if (l.his_offset == child_offset) return pf->Buffer + l.my_offset;
  }
  return nullptr;
}

bool BrowseClass::AddRange(const void* field, RelationManager& child, RelationManager& parent) {
  const void* parent_field = ParentFieldOf(field, child, parent);
  return parent_field && AddRangeByField(field, parent_field);
}

std::function<int()> PrimeThrough(RelationManager& relation) {
  return [&relation] {
    FileManager* fm = relation.Me();
    return fm ? fm->PrimeRecord(true) : static_cast<int>(Level_Notify);
  };
}

}  // namespace fw
