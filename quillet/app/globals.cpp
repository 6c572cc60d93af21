#include "quillet/app/globals.h"

namespace quillet {

fw::ErrorClass GlobalErrors;
fw::INIClass INIMgr;
fw::FuzzyClass FuzzyMatcher;

thread_local std::uint8_t GlobalRequest = 0;
thread_local std::uint8_t GlobalResponse = 0;
thread_local std::int32_t VCRRequest = 0;
thread_local std::optional<fw::ErrorStatusClass> GlobalErrorStatus;
thread_local std::optional<DictionaryClass> Dictionary;

}  // namespace quillet
