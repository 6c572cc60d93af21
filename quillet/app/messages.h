#pragma once
// Quillet's Spanish messages for the error manager: the block that start-up gives to
// GlobalErrors (AddErrors) over the framework's English defaults. Same identifiers and
// severities as the English ones.

#include <span>

#include "framework/error_catalogue.h"

namespace quillet {

// The Spanish message table as a block (Windows-1252 text); built once, read-only afterwards,
// safe from any thread.
const fw::ErrorBlock& DefaultErrors();

// The same messages as written in the source (UTF-8).
std::span<const fw::ErrorText> SpanishErrorTexts();

}  // namespace quillet
