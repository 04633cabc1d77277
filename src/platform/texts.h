// Interface texts by language key. Every message the program shows comes
// from here with its built-in English default; the language object installs
// itself as the source once a language is selected. Texts with placeholders
// go through SafeFormat, never through printf.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "formats/safe_format.h"

namespace orvix {

// Answers the text of a key in the selected language, or nothing when the
// language has no such key (then the English default stands).
using TTextSource = std::function<std::optional<std::wstring>(const std::wstring& key)>;

// Installs the source of translated texts (an empty function: English only)
// and returns the previous one. Set on the UI thread before texts are asked for.
TTextSource SetTextSource(TTextSource source);

// The text of `key`, or `englishDefault` when no source knows the key.
std::wstring Text(const std::wstring& key, const std::wstring& englishDefault);

// The text of `key` with its %s and %d filled; a translation whose
// placeholders do not fit the arguments gives way to the English default.
std::wstring MessageText(const std::wstring& key, const std::wstring& englishDefault,
                         const std::vector<FormatArg>& args);

}  // namespace orvix
