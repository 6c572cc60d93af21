#include "store/table_def.h"

#include <set>

namespace store {

namespace {

const char* const kTypeNames[] = {"BYTE", "USHORT", "SHORT", "LONG", "ULONG", "STRING", "DECIMAL"};

int integerSize(FieldType t) {
  switch (t) {
    case FieldType::Byte: return 1;
    case FieldType::UShort:
    case FieldType::Short: return 2;
    case FieldType::Long:
    case FieldType::ULong: return 4;
    default: return 0;
  }
}

}  // namespace

const char* fieldTypeName(FieldType t) { return kTypeNames[static_cast<int>(t)]; }

bool fieldTypeFromName(const std::string& name, FieldType& out) {
  for (int i = 0; i < 7; ++i) {
    if (name == kTypeNames[i]) {
      out = static_cast<FieldType>(i);
      return true;
    }
  }
  return false;
}

std::string TableDef::fileName() const { return label.substr(0, 8) + ".TPS"; }

std::string TableDef::validate() const {
  if (label.empty()) return "the table has no label";
  for (char c : label) {
    bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!ok) return "the label '" + label + "' is not a plain name";
  }
  if (record_size <= 0) return "the record size must be positive";
  if (fields.empty()) return "the table has no fields";
  std::set<std::string> names;
  for (const FieldDef& f : fields) {
    if (f.name.empty()) return "a field has no name";
    if (!names.insert(f.name).second) return "the field " + f.name + " is declared twice";
    if (f.offset < 0 || f.size <= 0 || f.offset + f.size > record_size)
      return "the field " + f.name + " lies outside the record";
    int isz = integerSize(f.type);
    if (isz != 0 && f.size != isz) return "the field " + f.name + " has the wrong size for its type";
    if (f.type == FieldType::Decimal && (f.size > 16 || f.places < 0 || f.places > 2 * f.size - 1))
      return "the DECIMAL field " + f.name + " has an impossible size or number of places";
    if (f.type != FieldType::Decimal && f.places != 0)
      return "the field " + f.name + " has decimal places but is not DECIMAL";
  }
  std::set<std::string> key_names;
  int primaries = 0;
  for (const KeyDef& k : keys) {
    if (k.name.empty()) return "a key has no name";
    if (!key_names.insert(k.name).second) return "the key " + k.name + " is declared twice";
    if (k.fields.empty()) return "the key " + k.name + " has no components";
    for (int f : k.fields)
      if (f < 0 || f >= static_cast<int>(fields.size()))
        return "the key " + k.name + " names a field that does not exist";
    if (k.primary) {
      ++primaries;
      if (k.dup) return "the primary key " + k.name + " cannot allow duplicates";
    }
  }
  if (primaries > 1) return "the table has more than one primary key";
  return {};
}

std::string TableDef::layoutText() const {
  std::string s = "size=" + std::to_string(record_size) + ";oem=" + (oem ? "1" : "0") + ";fields=";
  for (const FieldDef& f : fields) {
    s += f.name + ":" + fieldTypeName(f.type) + ":" + std::to_string(f.offset) + ":" +
         std::to_string(f.size) + ":" + std::to_string(f.places) + ",";
  }
  s += ";keys=";
  for (const KeyDef& k : keys) {
    s += k.name + ":";
    for (size_t i = 0; i < k.fields.size(); ++i) s += (i ? "+" : "") + std::to_string(k.fields[i]);
    s += std::string(":") + (k.primary ? "P" : "-") + (k.dup ? "D" : "-") + (k.opt ? "O" : "-") +
         (k.nocase ? "N" : "-") + ",";
  }
  return s;
}

}  // namespace store
