// Comma-separated values as tpstool writes and reads them: fields separated by commas, records
// by line ends; a field holding a comma, a quote, a line end or leading/trailing spaces is
// enclosed in double quotes, with quotes inside it doubled.
#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace tpstool {

// The field as written in a CSV line (quoted when needed).
std::string csvField(std::string_view value);

// Joins fields into one CSV line (without the line end).
std::string csvLine(const std::vector<std::string>& fields);

enum class CsvRead { Record, End, Malformed };

// Reads the next record (which may span lines inside quotes) into `fields`. `line` counts the
// lines read so far. Malformed when a quote is not closed or text follows a closing quote.
CsvRead readCsvRecord(std::istream& in, std::vector<std::string>& fields, int& line);

}  // namespace tpstool
