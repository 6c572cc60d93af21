// tpstool: looks into a table file of the keyed record store, without the program that owns it.
//
//   tpstool info FILE.TPS     the table's layout, keys and number of records
//   tpstool dump FILE.TPS     the records as CSV (UTF-8) on standard output, a header of field names first
//   tpstool import FILE.TPS   adds the records of a CSV with the same columns read from standard input:
//                             all of them or, when any is refused, none
//   tpstool check FILE.TPS    the file's integrity, and every key against the records
//
// Exit codes: 0 done (check: the file is sound); 1 the file is unsound (check) or the data was
// refused (import); 2 bad arguments; 3 the file cannot be used as a table file.
#include <chrono>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "store/check.h"
#include "store/file.h"
#include "store/layout.h"
#include "store/record_scan.h"
#include "tools/csv.h"
#include "tools/field_text.h"

namespace {

enum Exit { kOk = 0, kRefused = 1, kUsage = 2, kBadFile = 3 };

int usage(const std::string& problem) {
  std::cerr << "tpstool: " << problem << "\n"
            << "usage: tpstool info FILE.TPS\n"
            << "       tpstool dump FILE.TPS > FILE.csv\n"
            << "       tpstool import FILE.TPS < FILE.csv\n"
            << "       tpstool check FILE.TPS\n";
  return kUsage;
}

int badFile(const std::string& path, const store::Status& s) {
  std::cerr << "tpstool: " << path << ": " << s.text;
  if (!s.store_text.empty()) std::cerr << " (" << s.store_text << ")";
  std::cerr << "\n";
  return kBadFile;
}

std::string keyText(const store::TableDef& def, const store::KeyDef& k) {
  std::string s = k.name + " (";
  for (size_t i = 0; i < k.fields.size(); ++i) s += (i ? ", " : "") + def.fields[k.fields[i]].name;
  s += ")";
  if (k.primary) s += " PRIMARY";
  s += k.dup ? " DUP" : " UNIQUE";
  if (k.opt) s += " OPT";
  if (k.nocase) s += " NOCASE";
  return s;
}

int info(const std::string& path) {
  store::TableDef def;
  store::Status s = store::readLayout(path, def);
  if (!s.ok()) return badFile(path, s);
  std::vector<unsigned char> buffer(def.record_size);
  store::File f(def, buffer.data());
  f.setPath(path);
  if (!(s = f.open()).ok()) return badFile(path, s);
  std::cout << "table: " << def.label << "\n"
            << "prefix: " << def.prefix << "\n"
            << "record size: " << def.record_size << " bytes\n"
            << "text: " << (def.oem ? "OEM (code page 850)" : "Windows-1252") << "\n"
            << "fields:\n";
  for (const store::FieldDef& fd : def.fields) {
    std::cout << "  " << fd.name << " " << store::fieldTypeName(fd.type);
    if (fd.type == store::FieldType::String) std::cout << "(" << fd.size << ")";
    if (fd.type == store::FieldType::Decimal) std::cout << "(" << fd.size << "," << fd.places << ")";
    std::cout << " at " << fd.offset << "\n";
  }
  std::cout << "keys:\n";
  for (const store::KeyDef& k : def.keys) std::cout << "  " << keyText(def, k) << "\n";
  std::cout << "records: " << f.records() << "\n";
  return kOk;
}

int dump(const std::string& path) {
  store::TableDef def;
  std::vector<std::string> row;
  bool header = false;
  store::Status s = store::scanRecords(path, def, [&](const unsigned char* record) {
    if (!header) {
      row.clear();
      for (const store::FieldDef& fd : def.fields) row.push_back(fd.name);
      std::cout << tpstool::csvLine(row) << "\n";
      header = true;
    }
    row.clear();
    for (const store::FieldDef& fd : def.fields) row.push_back(tpstool::fieldToText(fd, record));
    std::cout << tpstool::csvLine(row) << "\n";
    return true;
  });
  if (!s.ok()) return badFile(path, s);
  if (!header) {  // an empty table still gets its header
    for (const store::FieldDef& fd : def.fields) row.push_back(fd.name);
    std::cout << tpstool::csvLine(row) << "\n";
  }
  return std::cout.good() ? kOk : kRefused;
}

int import(const std::string& path) {
  store::TableDef def;
  store::Status s = store::readLayout(path, def);
  if (!s.ok()) return badFile(path, s);
  std::vector<unsigned char> buffer(def.record_size);
  store::File f(def, buffer.data());
  f.setPath(path);
  if (!(s = f.open()).ok()) return badFile(path, s);

  std::vector<std::string> fields;
  int line = 0;
  tpstool::CsvRead r = tpstool::readCsvRecord(std::cin, fields, line);
  std::vector<std::string> names;
  for (const store::FieldDef& fd : def.fields) names.push_back(fd.name);
  if (r != tpstool::CsvRead::Record || fields != names) {
    std::cerr << "tpstool: the first line must name the fields: " << tpstool::csvLine(names) << "\n";
    return kRefused;
  }
  std::unique_ptr<store::Transaction> t;
  if (!(s = store::Transaction::begin({&f}, std::chrono::seconds(10), t)).ok()) return badFile(path, s);
  long long added = 0;
  while ((r = tpstool::readCsvRecord(std::cin, fields, line)) == tpstool::CsvRead::Record) {
    if (fields.size() == 1 && fields[0].empty()) continue;  // blank line
    if (fields.size() != names.size()) {
      std::cerr << "tpstool: line " << line << ": " << fields.size() << " fields instead of " << names.size()
                << "; nothing was imported\n";
      return kRefused;  // the transaction rolls back
    }
    std::fill(buffer.begin(), buffer.end(), 0);
    for (size_t i = 0; i < names.size(); ++i) {
      std::string error;
      if (!tpstool::textToField(def.fields[i], fields[i], buffer.data(), error)) {
        std::cerr << "tpstool: line " << line << ", " << names[i] << ": " << error << "; nothing was imported\n";
        return kRefused;
      }
    }
    if (!(s = f.add()).ok()) {
      std::cerr << "tpstool: line " << line << ": " << s.text << "; nothing was imported\n";
      return kRefused;
    }
    ++added;
  }
  if (r == tpstool::CsvRead::Malformed) {
    std::cerr << "tpstool: line " << line << ": malformed CSV (unbalanced quotes); nothing was imported\n";
    return kRefused;
  }
  if (!(s = t->commit()).ok()) {
    std::cerr << "tpstool: " << s.text << "; nothing was imported\n";
    return kRefused;
  }
  std::cout << "imported " << added << " records into " << path << "\n";
  return kOk;
}

int check(const std::string& path) {
  store::CheckReport report;
  store::Status s = store::checkFile(path, report);
  if (!s.ok()) return badFile(path, s);
  for (const std::string& p : report.problems) std::cout << path << ": " << p << "\n";
  if (!report.problems.empty()) {
    std::cout << path << ": NOT sound (" << report.problems.size() << " problems)\n";
    return kRefused;
  }
  std::cout << path << ": sound, " << report.records << " records\n";
  return kOk;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage("no command given");
  const std::string command = argv[1];
  if (command == "-h" || command == "--help" || command == "help") {
    usage("looks into table files of the keyed record store");
    return kOk;
  }
  if (command != "info" && command != "dump" && command != "import" && command != "check")
    return usage("unknown command '" + command + "'");
  if (argc != 3) return usage(command + " takes exactly one table file");
  const std::string path = argv[2];
  if (command == "info") return info(path);
  if (command == "dump") return dump(path);
  if (command == "import") return import(path);
  return check(path);
}
