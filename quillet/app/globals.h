#pragma once
// Quillet's program-wide and per-thread objects.
//
// Program-wide (one object each for the process, shared by every thread; each guards its own
// use): the error manager GlobalErrors with the Spanish messages, the INI manager INIMgr bound to
// "Quillet.INI", and the approximate-text matcher FuzzyMatcher. The start-up procedure initialises
// them and the shut-down sequence kills the INI manager and the matcher; a later run of the program
// in the same process initialises them again.
//
// Per thread (thread_local, zero or empty until the thread-start hook sets them up): the request
// passed to the next window procedure (GlobalRequest), the outcome of the last one
// (GlobalResponse), the row-navigation request of the thread's windows (VCRRequest), the thread's
// error state attached to GlobalErrors (GlobalErrorStatus) and the thread's Dictionary, which
// builds and removes its table managers.

#include <cstdint>
#include <optional>

#include "framework/error_class.h"
#include "framework/fuzzy_class.h"
#include "framework/ini_class.h"
#include "quillet/app/dictionary.h"

namespace quillet {

inline constexpr const char* kIniFileName = "Quillet.INI";

extern fw::ErrorClass GlobalErrors;
extern fw::INIClass INIMgr;
extern fw::FuzzyClass FuzzyMatcher;

extern thread_local std::uint8_t GlobalRequest;
extern thread_local std::uint8_t GlobalResponse;
extern thread_local std::int32_t VCRRequest;
extern thread_local std::optional<fw::ErrorStatusClass> GlobalErrorStatus;
extern thread_local std::optional<DictionaryClass> Dictionary;

}  // namespace quillet
