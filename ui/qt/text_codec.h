#pragma once
// The model's Windows-1252 bytes as the QString that widgets show, and back, through the
// runtime's code-page conversions (every byte string survives the round trip; a character with
// no Windows-1252 form becomes '?'). Pure functions; any thread may call them.

#include <QString>
#include <string>

namespace uiqt {

QString fromCp1252(const std::string& bytes);
std::string toCp1252(const QString& text);

}  // namespace uiqt
