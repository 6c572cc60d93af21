#pragma once
// The framework's default English messages, loaded by ErrorClass::Init. A program with its own
// language adds its own block over them (ErrorClass::AddErrors); the identifiers and severities
// are the same in every language.

#include <span>

#include "framework/error_catalogue.h"

namespace fw {

// The English messages as a block; built once, shared and read-only afterwards (any thread).
const ErrorBlock& englishDefaultErrors();

// The same messages as written in the source (UTF-8).
std::span<const ErrorText> englishErrorTexts();

}  // namespace fw
