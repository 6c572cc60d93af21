#include "tools/csv.h"

namespace tpstool {

std::string csvField(std::string_view value) {
  bool quote = !value.empty() && (value.front() == ' ' || value.back() == ' ');
  for (char c : value)
    if (c == ',' || c == '"' || c == '\n' || c == '\r') quote = true;
  if (!quote) return std::string(value);
  std::string out = "\"";
  for (char c : value) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string csvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i) line += ',';
    line += csvField(fields[i]);
  }
  return line;
}

CsvRead readCsvRecord(std::istream& in, std::vector<std::string>& fields, int& line) {
  fields.clear();
  std::string text;
  if (!std::getline(in, text)) return CsvRead::End;
  ++line;
  std::string field;
  bool quoted = false;     // inside quotes
  bool was_quoted = false; // the current field was quoted and its closing quote seen
  size_t i = 0;
  for (;;) {
    if (i == text.size() || (!quoted && text[i] == '\r' && i + 1 == text.size())) {
      if (quoted) {  // a line end inside quotes belongs to the field
        field += '\n';
        if (!std::getline(in, text)) return CsvRead::Malformed;
        ++line;
        i = 0;
        continue;
      }
      fields.push_back(field);
      return CsvRead::Record;
    }
    const char c = text[i++];
    if (quoted) {
      if (c == '"') {
        if (i < text.size() && text[i] == '"') {
          field += '"';
          ++i;
        } else {
          quoted = false;
          was_quoted = true;
        }
      } else {
        field += c;
      }
    } else if (c == ',') {
      fields.push_back(field);
      field.clear();
      was_quoted = false;
    } else if (c == '"' && field.empty() && !was_quoted) {
      quoted = true;
    } else if (was_quoted) {
      return CsvRead::Malformed;
    } else {
      field += c;
    }
  }
}

}  // namespace tpstool
