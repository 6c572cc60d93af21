#pragma once
// Two small tables for the tests of the table managers (header only): PARENT, numbered by its
// key, with a unique name; CHILD, its lines, numbered within the parent.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "framework/error_class.h"
#include "framework/file_manager.h"
#include "framework/manager_test_support.h"
#include "runtime/fixed_string.h"
#include "store/file.h"

namespace fw_test {

#pragma pack(push, 1)
struct Parent {
  std::uint16_t ID;
  char NAME[10];
};
struct Child {
  std::uint16_t PARENTID;
  std::uint16_t LINE;
  char NOTE[10];
};
#pragma pack(pop)
static_assert(sizeof(Parent) == 12 && sizeof(Child) == 14);

enum { PAR_BY_ID = 0, PAR_BY_NAME = 1 };
enum { CHI_BY_PARENT_LINE = 0 };

inline const store::TableDef& parentDef() {
  static const store::TableDef def = [] {
    store::TableDef d;
    d.label = "PARENT";
    d.prefix = "PAR";
    d.record_size = sizeof(Parent);
    d.fields = {{"ID", store::FieldType::UShort, 0, 2, 0}, {"NAME", store::FieldType::String, 2, 10, 0}};
    d.keys = {store::KeyDef{"BY_ID", {0}, true, false, true, true},
              store::KeyDef{"BY_NAME", {1}, false, false, true, true}};
    return d;
  }();
  return def;
}

inline const store::TableDef& childDef() {
  static const store::TableDef def = [] {
    store::TableDef d;
    d.label = "CHILD";
    d.prefix = "CHI";
    d.record_size = sizeof(Child);
    d.fields = {{"PARENTID", store::FieldType::UShort, 0, 2, 0},
                {"LINE", store::FieldType::UShort, 2, 2, 0},
                {"NOTE", store::FieldType::String, 4, 10, 0}};
    d.keys = {store::KeyDef{"BY_PARENT_LINE", {0, 1}, true, false, true, true}};
    return d;
  }();
  return def;
}

// The error manager of a test, showing its messages through a recording presenter.
struct TestErrors {
  std::shared_ptr<RecordingPresenter> presenter = std::make_shared<RecordingPresenter>();
  fw::ErrorClass errors{presenter};
  fw::ErrorStatusClass status;
  TestErrors() { errors.Init(status); }
  ~TestErrors() { errors.Kill(); }
};

// A table with its buffer, its File and a file manager set up as a program sets one up.
template <class Rec>
struct TestTable {
  Rec rec{};
  store::File file;
  std::unique_ptr<fw::FileManager> fm;

  TestTable(const store::TableDef& def, fw::ErrorClass& errors, std::unique_ptr<fw::FileManager> manager)
      : file(def, &rec), fm(std::move(manager)) {
    fm->Buffer = reinterpret_cast<unsigned char*>(&rec);
    fm->RecordSize = sizeof(Rec);
    fm->Init();
    fm->Init(file, errors);
    fm->Create = true;
  }
  ~TestTable() { fm->Kill(); }
};

inline std::string text(const char* field, std::size_t n) { return std::string(rt::clipped(field, n)); }

}  // namespace fw_test
